// The replacements below pair malloc with free; GCC cannot see that the
// operator new it inlines into callers is ours.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include "support/CountingNew.h"

#include <cstdlib>
#include <new>

namespace vktest {

std::atomic<bool> gCounting{false};
std::atomic<long> gNewCalls{0};

}  // namespace vktest

void* operator new(std::size_t n) {
  if (vktest::gCounting.load(std::memory_order_relaxed)) vktest::gNewCalls.fetch_add(1);
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t n) { return operator new(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  if (vktest::gCounting.load(std::memory_order_relaxed)) vktest::gNewCalls.fetch_add(1);
  return std::malloc(n == 0 ? 1 : n);
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
