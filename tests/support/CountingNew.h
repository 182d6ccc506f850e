// Counts calls to the global operator new while `gCounting` is set, so a test
// can prove a loop allocates nothing. CountingNew.cpp replaces operator new for
// the whole executable: link it only into test executables that count, once.
#pragma once

#include <atomic>

namespace vktest {

extern std::atomic<bool> gCounting;
extern std::atomic<long> gNewCalls;

}  // namespace vktest
