#include "display/SpectrumKeys.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "engine/PlayEngine.h"

namespace vk {

namespace {

// The Hann window's 2π, written with ten decimals as the analysis always had it.
constexpr double kHannTwoPi = 6.2831853072;

// Frames of the level-gauge window, centred on the play position.
constexpr int kPeakFrames = 1024;

constexpr KeyRange kRanges[4] = {
    {6, 36, 107, 426, 1},
    {8, 24, 119, 552, 2},
    {10, 12, 131, 678, 4},
    {12, 0, 143, 804, 8},
};

void ResetRange(Analysis& a, const KeyRange& range) {
  for (int j = range.lowest_key; j <= range.highest_key; ++j) a.KeyLevel[j] = kLevelNothing;
}

// Steps 3–4: the peaks of the 1024 frames around the position, absolute values.
void FindPeaks(Analysis& a, const AnalysisInput& in, int points) {
  a.PosL = a.NegL = a.PosR = a.NegR = 0;
  if (in.out_bits != 16 || (in.out_channels != 1 && in.out_channels != 2)) return;
  const std::int16_t* tap = a.AnalysisTap.get() + 2 * (points / 2 - kPeakFrames / 2);
  int max_l = 0, min_l = 0, max_r = 0, min_r = 0;
  for (int i = 0; i < kPeakFrames; ++i) {
    const int l = tap[2 * i];
    // The ring always holds stereo frames; a mono output carries its one channel in both.
    const int r = in.out_channels == 2 ? tap[2 * i + 1] : l;
    max_l = std::max(max_l, l);
    min_l = std::min(min_l, l);
    max_r = std::max(max_r, r);
    min_r = std::min(min_r, r);
  }
  a.PosL = max_l;
  a.NegL = -min_l;
  a.PosR = max_r;
  a.NegR = -min_r;
  if (in.src_bits == 8) {  // a full-scale 8-bit source then reaches 32767
    a.PosL += 255;
    a.PosR += 255;
  }
}

// Steps 5–9: windowed samples through the FFT into bin magnitudes.
void TransformTap(Analysis& a, const AnalysisInput& in, int points) {
  double* input = a.fft.input;
  const std::int16_t* tap = a.AnalysisTap.get();
  const double* window = a.AnalysisWindow.get();
  if (in.out_bits == 16 && in.out_channels == 2) {
    if (in.channel_select == 0) {
      for (int k = 0; k < points; ++k) {
        input[k] = ((tap[2 * k] + tap[2 * k + 1]) >> 1) * window[k];
      }
    } else {  // the engine has already put the selected channel(s) in the ring
      for (int k = 0; k < points; ++k) input[k] = tap[2 * k] * window[k];
    }
  } else if (in.out_bits == 16 && in.out_channels == 1) {
    for (int k = 0; k < points; ++k) input[k] = tap[2 * k] * window[k];
  }
  // Other formats leave the input as it was.
  FftTransform(a.fft);
  FftMagnitudes(a.fft, a.BinMagnitude.get());
}

// Graph x of bin k: 63 pixels per octave, 55/F Hz at x = 11; bin 0 (and any
// f <= 0) has no place on the axis, x = -1.
int GraphX(double f, int freq_factor) {
  if (f <= 0) return -1;
  const int x = 11 - static_cast<int>(std::log10(f * freq_factor / 55.0) / std::log10(2.0) * -63.0);
  return std::clamp(x, -32768, 32767);
}

void PrepareBinX(Analysis& a, const AnalysisInput& in, const KeyRange& range, int points) {
  if (a.bin_x_points == points && a.bin_x_rate == in.rate_hz && a.bin_x_factor == range.freq_factor) {
    return;
  }
  const double rate = in.rate_hz;
  for (int k = 0; k <= points / 2; ++k) {
    a.BinX[k] = static_cast<std::int16_t>(GraphX(rate * k / points, range.freq_factor));
  }
  a.bin_x_points = points;
  a.bin_x_rate = in.rate_hz;
  a.bin_x_factor = range.freq_factor;
}

// Step 11: the bin scan, folding onto keys and the graph's points.
void FoldBins(Analysis& a, const AnalysisInput& in, const KeyRange& range, int points) {
  const double rate = in.rate_hz;
  const int half_rate = in.rate_hz / 2;
  const int x_stop = range.width_px - kGraphMargin;
  const double* mag = a.BinMagnitude.get();
  const double* edge = a.KeyEdgeHz;
  GraphPoint* graph = a.Graph.get();
  int key = range.lowest_key;  // bins rise in frequency, so the band search only moves up
  int count = 0;
  for (int k = 0; k < kFftMaxBins; ++k) {
    const double f = rate * k / points;
    if (f > half_rate) break;
    const int level = BinLevelDb(mag[k], points);

    while (key <= range.highest_key && f >= edge[key + 1]) ++key;
    if (key <= range.highest_key && edge[key] <= f) {
      a.KeyLevel[key] = std::max(a.KeyLevel[key], level);
    }

    // Bins past N/2 (only reached with a rate of 0) take x from the formula.
    const int x = k <= points / 2 ? a.BinX[k] : GraphX(f, range.freq_factor);
    const int y = std::clamp(kGraphTop - level, kGraphTop, kGraphBottom);
    graph[count++] = GraphPoint{static_cast<std::int16_t>(x), static_cast<std::int16_t>(y)};
    if (x >= x_stop || k + 1 >= points) break;
  }
  a.GraphCount = count;
}

}  // namespace

KeyRange KeyRangeForOctave(std::int32_t bmp_octave) {
  if (bmp_octave < 0 || bmp_octave > 3) bmp_octave = 0;
  return kRanges[bmp_octave];
}

void KeyName(int key, char* out) {
  static const char* const kNames[12] = {"C", "C#", "D", "D#", "E", "F",
                                         "F#", "G", "G#", "A", "A#", "B"};
  key = std::clamp(key, 0, kNumKeys - 1);
  // Octaves run from -1 to 10: at most "C#-1" or "A#10" and the NUL.
  const int octave = key / 12 - 1;
  char* p = out;
  for (const char* n = kNames[key % 12]; *n != '\0'; ++n) *p++ = *n;
  if (octave < 0) *p++ = '-';
  if (octave >= 10) *p++ = '1';
  *p++ = static_cast<char>('0' + (octave < 0 ? 1 : octave % 10));
  *p = '\0';
}

void ComputeKeyEdges(double* edges) {
  for (int i = 0; i <= kNumKeys; ++i) edges[i] = 6.875 * std::pow(2.0, (i + 3 - 0.5) / 12.0);
}

bool AnalysisStart(Analysis& a) {
  if (!FftAllocate(a.fft)) return false;
  if (!a.AnalysisWindow) {
    a.AnalysisWindow.reset(new (std::nothrow) double[kFftMaxPoints]());
    a.AnalysisTap.reset(new (std::nothrow) std::int16_t[2 * kFftMaxPoints]());
    a.BinMagnitude.reset(new (std::nothrow) double[kFftMaxBins]());
    a.Graph.reset(new (std::nothrow) GraphPoint[kFftMaxBins]());
    a.BinX.reset(new (std::nothrow) std::int16_t[kFftMaxBins]());
  }
  if (!a.AnalysisWindow || !a.AnalysisTap || !a.BinMagnitude || !a.Graph || !a.BinX) return false;
  a.bin_x_points = a.bin_x_rate = a.bin_x_factor = 0;
  ComputeKeyEdges(a.KeyEdgeHz);
  for (int& level : a.KeyLevel) level = kLevelNothing;
  a.fft_points = 0;
  a.GraphCount = 0;
  a.KeyMax = kLevelNothing;
  a.KeyFloor = 0;
  a.file_open = false;
  return true;
}

bool AnalysisSetFftItem(Analysis& a, std::int32_t fft_item) {
  const int points = FftPointsForItem(fft_item);
  if (!a.AnalysisWindow || !FftReset(a.fft, points)) return false;
  double* w = a.AnalysisWindow.get();
  for (int i = 0; i < points; ++i) w[i] = 0.5 - 0.5 * std::cos(kHannTwoPi * i / points);
  std::memset(a.BinMagnitude.get(), 0, sizeof(double) * kFftMaxBins);
  a.fft_points = points;
  return true;
}

void AnalyseFrame(Analysis& a, const AnalysisInput& in, PlayEngine* engine) {
  const int points = FftPointsForItem(in.fft_item);
  if (points != a.fft_points && !AnalysisSetFftItem(a, in.fft_item)) return;
  if (in.total_frames <= 0) {
    AnalyseTap(a, in);  // resets the range and the summary
    return;
  }
  const std::int32_t start = std::max<std::int32_t>(0, in.position - points / 2);
  if (engine != nullptr && in.heard != 0) {
    HeardTap(*engine, points, a.AnalysisTap.get());
  } else if (engine != nullptr) {
    RingTap(*engine, start, points, a.AnalysisTap.get());
  } else {
    std::memset(a.AnalysisTap.get(), 0, sizeof(std::int16_t) * 2 * points);
  }
  AnalyseTap(a, in);
}

void AnalyseTap(Analysis& a, const AnalysisInput& in) {
  const int points = a.fft_points;
  const KeyRange range = KeyRangeForOctave(in.bmp_octave);
  a.file_open = in.total_frames > 0 && points > 0;
  ResetRange(a, range);
  if (!a.file_open) {
    a.PosL = a.NegL = a.PosR = a.NegR = 0;
    a.GraphCount = 0;
    a.KeyMax = kLevelNothing;
    a.KeyFloor = 0;
    return;
  }
  FindPeaks(a, in, points);
  TransformTap(a, in, points);
  PrepareBinX(a, in, range, points);
  FoldBins(a, in, range, points);
  SummariseKeys(a.KeyLevel + kSummaryFirstKey, &a.KeyMax, &a.KeyFloor);
}

void SummariseKeys(const int* levels, int* key_max, int* key_floor) {
  int loudest = kLevelNothing;
  for (int i = 0; i < kSummaryKeys; ++i) loudest = std::max(loudest, levels[i]);
  // The four quietest keys, each search from 0 (so a minimum never exceeds 0),
  // the first key in rising order winning a tie.
  bool taken[kSummaryKeys] = {};
  int sum = 0;
  for (int round = 0; round < 4; ++round) {
    int lowest = 0;
    int at = -1;
    for (int i = 0; i < kSummaryKeys; ++i) {
      if (!taken[i] && levels[i] < lowest) {
        lowest = levels[i];
        at = i;
      }
    }
    if (at >= 0) taken[at] = true;
    sum += lowest;
  }
  *key_max = loudest;
  *key_floor = sum / 4;
}

int BinLevelDb(double magnitude, int points) {
  if (!(magnitude > 0)) return kLevelNothing;
  const int level = static_cast<int>(std::log10(magnitude / (points * 32768.0 * 0.5)) * 20.0);
  return std::min(level, 0);
}

KeyLight KeyLighting(int level_db, int thres_dw, int thres_up) {
  if (level_db < thres_dw) return KeyLight::kUnlit;
  if (level_db >= thres_up) return KeyLight::kFull;
  return KeyLight::kBlend;
}

int KeyBlendChannel(int level_db, int thres_dw, int thres_up, int lit, int unlit) {
  switch (KeyLighting(level_db, thres_dw, thres_up)) {
    case KeyLight::kUnlit: return unlit;
    case KeyLight::kFull: return lit;
    case KeyLight::kBlend: break;
  }
  return ((level_db - thres_dw) * lit + (thres_up - level_db) * unlit) / (thres_up - thres_dw);
}

int GlowStrength(int level_db, int thres_dw, int thres_up) {
  switch (KeyLighting(level_db, thres_dw, thres_up)) {
    case KeyLight::kUnlit: return 0;
    case KeyLight::kFull: return 256;
    case KeyLight::kBlend: break;
  }
  const int above = level_db - thres_dw + 1;
  const int span = thres_up - thres_dw + 1;
  return std::max(0, above * above * 256 / (span * span));
}

std::uint32_t PackReportSummary(int key_max, int key_floor) {
  // Each negation has one byte; a floor below -200 (far side lobes of a pure
  // tone) would spill into KeyMax's byte, so both are held to 0..200.
  const auto neg = [](int v) { return static_cast<std::uint32_t>(std::clamp(-v, 0, 200)); };
  return (neg(key_floor) << 16) | (neg(key_max) << 24);
}

int ReportKeyMax(std::uint32_t wparam) { return -static_cast<int>((wparam >> 24) & 0xFF); }
int ReportKeyFloor(std::uint32_t wparam) { return -static_cast<int>((wparam >> 16) & 0xFF); }

}  // namespace vk
