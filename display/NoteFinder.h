// Note finding for the keyboard's note mode (KeyMode 1): from the bin
// magnitudes the analysis already has, which notes are sounding, so a key
// glows for its note and not for the harmonics or the window leakage of
// another.
//
// Method: iterative estimation and cancellation of harmonic series on a
// whitened spectrum. Each frame the magnitudes are flattened band by band
// (the spectral envelope of an instrument or a room no longer decides which
// note wins), every key from A0 to C8 is scored by the weighted sum of the
// strongest bins near its harmonics, the best key is taken, and its partials
// are removed from the spectrum with a smooth envelope (a partial shared with
// another note keeps what rises above that envelope), then the next. A low
// note's partials reach far past those its salience counts: where they lie
// is fitted from the ones found, with a stiff string's stretch, and they go
// out with it instead of lighting high keys. This
// was chosen over least squares against fixed note templates because it
// needs no per-instrument template shape, makes an octave or twelfth above a
// found note prove itself with energy of its own, and costs a few hundred
// microseconds at N = 8192. Because the best-first order can take a loud
// partial of a low note before the note itself, the notes found are weighed
// again, strongest first, each with all the others cancelled; a key at a
// harmonic of a kept note (or an octave below one) must then hold a share of
// that note's salience, a key an octave above one must raise most of that
// note's even partials above its odd ones (a strong second partial is not a
// note), and a key a twelfth or more above one must show several partials of
// its own. Where the key an octave below the best has a first partial nearly
// as loud as the best's own, the lower note is taken instead (the salience's
// weights favour the higher key). Lit keys carry over frames with two thresholds
// (a lit key needs less to stay lit than an unlit one to light) and a key
// must be found in two frames in a row to light, so notes do not flicker.
//
// Thread contract: a NoteFinder belongs to the draw thread (or the CLI's
// one frame); NoteFinderStart allocates, NoteFinderFrame never does.
#pragma once

#include <cstdint>
#include <memory>

#include "display/SpectrumKeys.h"

namespace vk {

inline constexpr int kNoteLowKey = 21;    // A0
inline constexpr int kNoteHighKey = 108;  // C8
inline constexpr int kNoteKeys = kNoteHighKey - kNoteLowKey + 1;
inline constexpr int kNoteMaxHarmonics = 20;
inline constexpr int kNoteMaxFound = 10;  // notes found per frame at most
inline constexpr int kNoteBands = 40;     // whitening bands

struct NoteHarmonic {
  std::int32_t lo, hi;  // bin range searched for the partial
  float weight;
};

struct NoteFinder {
  // Tables for the N and rate they were made for.
  int points = 0, rate = 0;
  int top_bin = 0;  // bins 1..top_bin are analysed
  int band_count = 0;
  std::unique_ptr<std::uint8_t[]> BinBand;  // kFftMaxBins: lower band of each bin
  std::unique_ptr<float[]> BinT;            // kFftMaxBins: weight of the upper band
  std::unique_ptr<float[]> Raw;             // kFftMaxBins: magnitudes, full scale 1
  std::unique_ptr<float[]> White;           // kFftMaxBins: whitened magnitudes
  std::unique_ptr<float[]> Resid;           // kFftMaxBins: what is left after cancelling
  NoteHarmonic Harm[kNoteKeys][kNoteMaxHarmonics] = {};
  int HarmCount[kNoteKeys] = {};
  // Sum of the weights: times the whitened mean, the salience of a flat spectrum.
  float WeightSum[kNoteKeys] = {};

  // Carried between frames.
  bool Lit[kNumKeys] = {};
  std::uint8_t Seen[kNumKeys] = {};  // frames in a row a not yet lit key was found
  bool fresh = true;                 // no frame yet since the start or a reset
  std::int32_t last_position = 0;

  // Results of the last frame: the salience of each lit key (0 = dark), 0..1
  // with 1 the strongest note of the frame.
  float Strength[kNumKeys] = {};
  int LitCount = 0;
};

// Allocates the buffers for the largest N. False when memory is short.
bool NoteFinderStart(NoteFinder& f);

// Forgets the lit keys (a seek, a new file): the next frame decides afresh.
void NoteFinderReset(NoteFinder& f);

// One frame: `mag` holds bins 0..points/2 of a Hann-windowed frame of 16-bit
// samples. `position` (sample frames) lets a jump reset the carried state.
void NoteFinderFrame(NoteFinder& f, const double* mag, int points, int rate, std::int32_t position);

// Key levels for drawing in note mode: a lit key gets a level between the
// thresholds by its strength (so its glow follows the salience), every other
// key kLevelNothing.
void NoteKeyLevels(const NoteFinder& f, int thres_dw, int thres_up, int* levels);

}  // namespace vk
