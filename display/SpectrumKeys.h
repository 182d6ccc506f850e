// Spectrum to keys: once per drawn frame the draw thread taps N frames around
// the play position, weights them with a Hann window, transforms them and folds
// the bins onto the 144 keys (MIDI numbering, key 69 = A4 = 440 Hz). The same
// pass yields the spectrum graph's points, the level gauge's four peaks and the
// summary (KeyMax, KeyFloor) the automatic thresholds are driven by.
//
// Thread contract: an Analysis belongs to the draw thread; the view reads its
// results in the same frame step, inside DrawLock. The ring is read under
// RingLock (RingTap) for the copy only.
#pragma once

#include <cstdint>
#include <memory>

#include "display/Fft.h"

namespace vk {

struct PlayEngine;

inline constexpr int kNumKeys = 144;
inline constexpr int kLevelNothing = -200;  // dB: no bin fell in the key / silence
inline constexpr int kGraphTop = 41;        // picture row of 0 dB
inline constexpr int kGraphBottom = 141;    // picture row of -100 dB and below
inline constexpr int kGraphLeft = 24;       // first graph column
inline constexpr int kGraphMargin = 25;     // the graph ends at width - kGraphMargin
inline constexpr int kSummaryFirstKey = 60; // keys 60..83 feed KeyMax / KeyFloor
inline constexpr int kSummaryKeys = 24;

// The keyboard range of an octave setting (BmpOctave 0..3; others read as 0).
struct KeyRange {
  int octaves;      // 6, 8, 10, 12
  int lowest_key;   // 36, 24, 12, 0
  int highest_key;  // 107, 119, 131, 143
  int width_px;     // picture width: 426, 552, 678, 804
  int freq_factor;  // F of the graph's x: 1, 2, 4, 8
};
KeyRange KeyRangeForOctave(std::int32_t bmp_octave);

// Key names as the CLI prints them: "C-1", "C#4", "A4", "B10". `out` holds >= 8 bytes.
void KeyName(int key, char* out);

// edges[i] = 6.875 · 2^((i + 3 − 0.5)/12) Hz, i = 0..144: key i's band is
// [edges[i], edges[i+1]).
void ComputeKeyEdges(double* edges);

// One point of the spectrum graph per analysed bin, in picture pixels. Bin 0
// has x = -1. The view draws: bars (GrpType 1): for x >= 24 a vertical line
// from (x, y) to (x, 141); line (GrpType 0): from the previous point (bin 0:
// the point itself) to (x, y) when the previous point's x >= 24.
struct GraphPoint {
  std::int16_t x;
  std::int16_t y;
};

// What the frame step hands to the analysis: its settings snapshot.
struct AnalysisInput {
  std::int32_t fft_item = 3;       // NowNumFFTSmplItem
  std::int32_t out_channels = 0;   // delivered format; 0 when nothing plays
  std::int32_t out_bits = 0;
  std::int32_t src_bits = 0;       // the file's own bits per sample (8 adds 255 to the peaks)
  std::int32_t rate_hz = 0;
  std::int32_t total_frames = 0;   // TotalSmpl; a file is open while it is above 0
  std::int32_t position = 0;       // NowPlaySmpl, sample frames
  std::int32_t channel_select = 0; // ChannelSelect: 0 mixes L and R for the FFT
  std::int32_t bmp_octave = 0;
  // 1: analyse the sound as heard (the device stream, after every effect)
  // instead of the file's frames around `position`.
  std::int32_t heard = 0;
};

// The draw thread's analysis state and the results of the last frame.
struct Analysis {
  Fft fft;
  int fft_points = 0;                           // N the window and plan are made for
  std::unique_ptr<double[]> AnalysisWindow;     // kFftMaxPoints Hann weights of N
  std::unique_ptr<std::int16_t[]> AnalysisTap;  // kFftMaxPoints frames, L R interleaved
  std::unique_ptr<double[]> BinMagnitude;       // kFftMaxBins
  double KeyEdgeHz[kNumKeys + 1] = {};
  // Graph x of each bin depends only on N, the rate and the octave factor: kept
  // until one of them changes, so a frame takes one logarithm per bin, not two.
  std::unique_ptr<std::int16_t[]> BinX;         // kFftMaxBins
  int bin_x_points = 0, bin_x_rate = 0, bin_x_factor = 0;

  // Results of the last AnalyseFrame.
  int KeyLevel[kNumKeys] = {};                  // dB; only the current range is fresh
  std::unique_ptr<GraphPoint[]> Graph;          // kFftMaxBins points
  int GraphCount = 0;                           // points of this frame (0: no file)
  int PosL = 0, NegL = 0, PosR = 0, NegR = 0;   // level-gauge peaks (absolute sample values)
  int KeyMax = kLevelNothing;
  int KeyFloor = 0;
  bool file_open = false;                       // the frame analysed a playing file
};

// Allocates every buffer for the largest N and computes the key edges (draw-
// thread start). False when memory is short.
bool AnalysisStart(Analysis& a);

// Makes the plan and the Hann window for the N of `fft_item` and zeroes the FFT
// buffers; called when the item changes (AnalyseFrame does it by itself when N
// differs from the last frame's). False when the FFT cannot be planned.
bool AnalysisSetFftItem(Analysis& a, std::int32_t fft_item);

// One frame of analysis. `engine` is read only through RingTap; with a null
// engine the tap is silence. Never allocates.
void AnalyseFrame(Analysis& a, const AnalysisInput& in, PlayEngine* engine);

// The analysis of a frame from frames already in AnalysisTap (steps after the
// tap); AnalyseFrame calls it, and `keys` and tests feed it directly.
void AnalyseTap(Analysis& a, const AnalysisInput& in);

// The summary of keys 60..83 (`levels` points at key 60): KeyMax = the loudest
// (from -200), KeyFloor = the mean, truncated, of the four quietest (each
// search starting from 0).
void SummariseKeys(const int* levels, int* key_max, int* key_floor);

// Level of one bin magnitude: trunc(20·log10(mag / (N · 16384))), positive
// values as 0, a zero magnitude as -200.
int BinLevelDb(double magnitude, int points);

// Picture row of a threshold line (41 − threshold); it runs from x = 24 to
// width − 25, ThresDw first in GrpThresDw, then ThresUp in GrpThresUp.
constexpr int ThresholdLineY(int thres_db) { return kGraphTop - thres_db; }

// Lighting rule of a key at level L with the thresholds Dw and Up.
enum class KeyLight { kUnlit, kBlend, kFull };
KeyLight KeyLighting(int level_db, int thres_dw, int thres_up);

// One colour channel of a blended key: ((L − Dw)·lit + (Up − L)·unlit) / (Up − Dw).
// Only meaningful for KeyLight::kBlend; returns `lit` or `unlit` otherwise.
int KeyBlendChannel(int level_db, int thres_dw, int thres_up, int lit, int unlit);

// Glow strength 0..256 (0 = no glow): (L − Dw + 1)²·256 / (Up − Dw + 1)² in the
// blend zone, 256 at or above Up, 0 below Dw.
int GlowStrength(int level_db, int thres_dw, int thres_up);

// The report word's analysis bits (bits 16..23 = −KeyFloor, 24..31 = −KeyMax)
// and their reading back on the window's side.
std::uint32_t PackReportSummary(int key_max, int key_floor);
int ReportKeyMax(std::uint32_t wparam);
int ReportKeyFloor(std::uint32_t wparam);

}  // namespace vk
