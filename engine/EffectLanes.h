// Vector lanes for the effects' integer arithmetic, done exactly in doubles:
// while every product and sum is an integer below 2^52 it is exact, and a
// truncating division by d is a multiply by 1/d rounded up and a rounding
// toward zero (QuotientUp and Truncate below).
//
// Macros rather than functions: a function taking or returning these 32-byte
// vectors changes its ABI between the AVX and the baseline copies.
#pragma once

#include <cstdint>

namespace vk::lanes {

using F64x4 = double __attribute__((vector_size(32)));
using I64x4 = std::int64_t __attribute__((vector_size(32)));
using I32x4 = std::int32_t __attribute__((vector_size(16)));
using I16x4 = std::int16_t __attribute__((vector_size(8)));

}  // namespace vk::lanes

// Four 16-bit samples to lanes and lanes holding 16-bit values back, through
// 32-bit integers: converted directly, each lane goes on its own.
#define VK_LANES_FROM16(v) \
  __builtin_convertvector(__builtin_convertvector((v), ::vk::lanes::I32x4), ::vk::lanes::F64x4)
#define VK_LANES_TO16(x) \
  __builtin_convertvector(__builtin_convertvector((x), ::vk::lanes::I32x4), ::vk::lanes::I16x4)

// Adding and taking away 1.5 × 2^52 rounds to the nearest integer.
#define VK_LANES_ROUND(x) \
  (((x) + 6755399441055744.0) - 6755399441055744.0)

namespace vk::lanes {
// sin x = x × Σ (−x²)^k / (2k + 1)! for |x| ≤ π/2, Horner's order from the
// x^22 term: the first term left out is below 10^−18.
inline constexpr int kSineTerms = 12;
inline constexpr double kSineSeries[kSineTerms] = {
    -1.0 / 25852016738884976640000.0, 1.0 / 51090942171709440000.0, -1.0 / 121645100408832000.0,
    1.0 / 355687428096000.0, -1.0 / 1307674368000.0, 1.0 / 6227020800.0, -1.0 / 39916800.0,
    1.0 / 362880.0, -1.0 / 5040.0, 1.0 / 120.0, -1.0 / 6.0, 1.0};
}  // namespace vk::lanes

// sin x of lanes with |x| ≤ π/2 into `out`, the series split into its even and
// odd powers of x⁴ so two chains of products are in flight instead of one.
#define VK_LANES_SINE(x, out)                                                             \
  do {                                                                                    \
    const ::vk::lanes::F64x4 z_ = (x) * (x);                                              \
    const ::vk::lanes::F64x4 z2_ = z_ * z_;                                               \
    ::vk::lanes::F64x4 even_ = ::vk::lanes::F64x4{} + ::vk::lanes::kSineSeries[0];        \
    ::vk::lanes::F64x4 odd_ = ::vk::lanes::F64x4{} + ::vk::lanes::kSineSeries[1];         \
    _Pragma("GCC unroll 8") for (int k_ = 2; k_ < ::vk::lanes::kSineTerms; k_ += 2) {     \
      even_ = even_ * z2_ + ::vk::lanes::kSineSeries[k_];                                 \
      odd_ = odd_ * z2_ + ::vk::lanes::kSineSeries[k_ + 1];                               \
    }                                                                                     \
    (out) = (x) * (even_ * z_ + odd_);                                                    \
  } while (false)

// The functions built on these lanes come in copies for AVX-512, AVX2 and the
// x86-64 baseline, chosen when the program starts. VK_LANES_BASELINE_ONLY
// builds the baseline alone, to test it on a machine that would choose another.
// The thread sanitizer gets the baseline alone too: the choosing runs while the
// program is still being loaded, before the sanitizer's runtime is there.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(VK_LANES_BASELINE_ONLY) && \
    !defined(__SANITIZE_THREAD__)
#define VK_LANES_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
// Where a copy needs an instruction the baseline lacks (rounding toward zero,
// fused multiply-add), the function is written out once per copy with these
// (GCC picks among same-named functions by their targets when the program
// starts), each calling a template whose flag says whether it may use them.
#define VK_LANES_MULTI 1
#define VK_LANES_FOR_V4 __attribute__((target("arch=x86-64-v4")))
#define VK_LANES_FOR_V3 __attribute__((target("arch=x86-64-v3")))
#define VK_LANES_FOR_BASE __attribute__((target("default")))
#include <immintrin.h>
#else
#define VK_LANES_CLONES
#define VK_LANES_MULTI 0
#define VK_LANES_FOR_BASE
#endif

namespace vk::lanes {

// Lanes holding values below 2^31 in size rounded toward zero: one rounding
// instruction in the AVX copies (`kRound`), a round trip through 32-bit
// integers in the baseline. Inlined only into functions of the right target.
// (The builtin's vector result would change a call's ABI; there is no call.)
template <bool kRound>
[[gnu::always_inline]] inline void Truncate(F64x4& x) {
#if VK_LANES_MULTI
  if constexpr (kRound) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
    x = __builtin_ia32_roundpd256(x, 3);
#pragma GCC diagnostic pop
    return;
  }
#endif
  x = __builtin_convertvector(__builtin_convertvector(x, I32x4), F64x4);
}

// a / d rounded up to the next double (a ≥ 0, d > 0), so that for whole numbers
// |n| < 2^36, trunc(n × q) is exactly trunc(n × a / d) with no sign to handle:
// n × q lies at or beyond n × a / d, on n's side of zero, by far less than the
// 1/d by which a quotient that is not whole falls short of the next whole number.
inline double QuotientUp(double a, double d) {
  double q = a / d;
  if (__builtin_fma(q, d, -a) < 0) q = __builtin_nextafter(q, 2 * q + 1);
  return q;
}

}  // namespace vk::lanes
