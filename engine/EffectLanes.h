// Vector lanes for the effects' integer arithmetic, done exactly in doubles:
// while every product and sum is an integer below 2^52 it is exact, and a
// truncating division by d is the rounding of n/d − sign(n) × (1/2 − 1/(2d)),
// never within 1/(2d) of a half; n × (1/d) errs by far less than that for
// |n| < 2^36, so the rounding gives exactly the integer quotient.
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

// Adding and taking away 1.5 × 2^52 rounds to the nearest integer.
#define VK_LANES_ROUND(x) \
  (((x) + 6755399441055744.0) - 6755399441055744.0)

// trunc(n / d) of lanes holding whole numbers |n| < 2^36, for d = 100 or 1000
// (`reciprocal` 0.01 or 0.001, `bias` 0.495 or 0.4995).
#define VK_LANES_TRUNC_DIV(n, reciprocal, bias)                                                   \
  VK_LANES_ROUND((n) * (reciprocal) -                                                            \
                 (::vk::lanes::F64x4)(((::vk::lanes::I64x4)(n) &                                  \
                                       ::vk::lanes::I64x4{INT64_MIN, INT64_MIN, INT64_MIN,       \
                                                          INT64_MIN}) |                           \
                                      (::vk::lanes::I64x4)(::vk::lanes::F64x4{} + (bias))))

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
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(VK_LANES_BASELINE_ONLY)
#define VK_LANES_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define VK_LANES_CLONES
#endif
