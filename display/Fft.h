// The FFT of the keyboard analysis: a real-input transform of N = 1024..65536
// points over FFTW, unscaled, negative-sign convention (X[k] = sum x[j]·e^(-2πijk/N)),
// so bins 0..N/2 carry the same values a full complex transform would.
//
// Thread contract: an Fft belongs to one thread (the draw thread). Plans are
// made only by FftReset, when N changes, never per frame; the buffers are
// allocated once for the largest N by FftAllocate.
#pragma once

#include <fftw3.h>

#include <cstdint>

namespace vk {

inline constexpr int kFftMinPoints = 1024;
inline constexpr int kFftMaxPoints = 65536;
inline constexpr int kFftMaxBins = kFftMaxPoints / 2 + 1;

// N for the option NowNumFFTSmplItem (0..6): 1024 << item. An item out of
// range selects the default (3, N = 8192).
int FftPointsForItem(std::int32_t item);

struct Fft {
  double* input = nullptr;         // kFftMaxPoints real samples; the caller fills 0..N-1
  fftw_complex* output = nullptr;  // kFftMaxBins bins; the transform writes 0..N/2
  fftw_plan plan = nullptr;        // for `points`; null before the first reset
  int points = 0;                  // N of the current plan, 0 = none

  Fft() = default;
  Fft(const Fft&) = delete;
  Fft& operator=(const Fft&) = delete;
  ~Fft();
};

// Allocates the buffers for the largest N. False when memory is short.
bool FftAllocate(Fft& fft);

// Makes the plan for `points` (a power of two, kFftMinPoints..kFftMaxPoints)
// and zeroes both buffers. False (and the old plan kept) for another size or
// when FFTW cannot plan.
bool FftReset(Fft& fft, int points);

// Transforms input[0..N-1] into output[0..N/2]. Needs a successful FftReset.
void FftTransform(Fft& fft);

// mag[k] = |output[k]| for k = 0..N/2.
void FftMagnitudes(const Fft& fft, double* mag);

}  // namespace vk
