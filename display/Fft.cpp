#include "display/Fft.h"

#include <cmath>
#include <cstring>
#include <mutex>

namespace vk {

namespace {

// FFTW's planner is not thread-safe; executing a plan is. Tests and a second
// analysis may plan at the same time as the draw thread. Constant-initialised,
// so an Fft destroyed at program exit still finds it.
constinit std::mutex gPlannerLock;

std::mutex& PlannerLock() { return gPlannerLock; }

bool IsOfferedSize(int points) {
  return points >= kFftMinPoints && points <= kFftMaxPoints && (points & (points - 1)) == 0;
}

void ZeroBuffers(Fft& fft) {
  std::memset(fft.input, 0, sizeof(double) * kFftMaxPoints);
  std::memset(fft.output, 0, sizeof(fftw_complex) * kFftMaxBins);
}

}  // namespace

int FftPointsForItem(std::int32_t item) {
  if (item < 0 || item > 6) item = 3;
  return kFftMinPoints << item;
}

Fft::~Fft() {
  std::lock_guard<std::mutex> guard(PlannerLock());
  if (plan != nullptr) fftw_destroy_plan(plan);
  fftw_free(input);
  fftw_free(output);
}

bool FftAllocate(Fft& fft) {
  if (fft.input != nullptr) return true;
  fft.input = static_cast<double*>(fftw_malloc(sizeof(double) * kFftMaxPoints));
  fft.output = static_cast<fftw_complex*>(fftw_malloc(sizeof(fftw_complex) * kFftMaxBins));
  if (fft.input == nullptr || fft.output == nullptr) {
    fftw_free(fft.input);
    fftw_free(fft.output);
    fft.input = nullptr;
    fft.output = nullptr;
    return false;
  }
  ZeroBuffers(fft);
  return true;
}

bool FftReset(Fft& fft, int points) {
  if (!IsOfferedSize(points) || fft.input == nullptr) return false;
  {
    // FFTW_ESTIMATE plans without trial runs: a size change costs microseconds
    // and the same input always gives the same bits, so levels are repeatable.
    std::lock_guard<std::mutex> guard(PlannerLock());
    fftw_plan plan = fftw_plan_dft_r2c_1d(points, fft.input, fft.output, FFTW_ESTIMATE);
    if (plan == nullptr) return false;
    if (fft.plan != nullptr) fftw_destroy_plan(fft.plan);
    fft.plan = plan;
  }
  fft.points = points;
  ZeroBuffers(fft);
  return true;
}

void FftTransform(Fft& fft) {
  if (fft.plan != nullptr) fftw_execute(fft.plan);
}

void FftMagnitudes(const Fft& fft, double* mag) {
  if (fft.points == 0) return;
  const int bins = fft.points / 2 + 1;
  for (int k = 0; k < bins; ++k) {
    mag[k] = std::sqrt(fft.output[k][0] * fft.output[k][0] + fft.output[k][1] * fft.output[k][1]);
  }
}

}  // namespace vk
