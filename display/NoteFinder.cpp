#include "display/NoteFinder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace vk {
namespace {

// Weight of harmonic m of a note at f0 Hz in its salience, (f0 + a)/(m·f0 + b):
// low partials count most, and a high note is not outvoted by the many
// partials a low one has.
constexpr float kWeightA = 27.0f;
constexpr float kWeightB = 320.0f;
// Whitening: each band keeps sigma^kWhiten of its level (0 = flat, 1 = as is).
constexpr float kWhiten = 0.33f;
// A partial is searched up to half a semitone either side, and further sharp
// for the stretched partials of strings (B = 0.0004).
constexpr double kHalfSemitone = 1.0293022366434921;  // 2^(1/24)
constexpr double kStretch = 0.0004;
// Highest frequency the partials are looked for at (C8's second partial is
// past it; C8 is found by its first).
constexpr double kTopHz = 8000.0;
// Nothing is found in a frame whose strongest partial is below -80 dBFS.
constexpr float kSilence = 1e-4f;
// Whitening lifts the faint top partials of a loud low note to the level of
// real notes; before whitening a note's own first partials must come within
// 30 dB of the frame's strongest partial. (A low note's upper partials go
// out with it by the comb; a quiet accompaniment under a loud melody, 20 to
// 30 dB down, is still notes.)
constexpr float kLoudShare = 0.03f;
constexpr int kLoudPartials = 3;

// A key lights when its salience, over that of a flat (whitened noise)
// spectrum, reaches kLightOn, and stays lit down to kStayOn; every note must
// reach a share of the frame's strongest.
constexpr float kLightOn = 3.0f;
constexpr float kStayOn = 2.4f;
// With the other notes taken out a note has less left: the recheck's thresholds.
constexpr float kRecheckOn = 2.0f;
constexpr float kRecheckStay = 1.6f;
constexpr float kShareOn = 0.15f;
constexpr float kShareStay = 0.11f;
// Partials looked at, and how many must stand, for a key above a kept note.
constexpr int kSupportLook = 4;
constexpr int kSupportPartials = 2;
// A key at a harmonic of a found note shares all its partials with it and
// must hold this share of that note's salience from what the cancelling
// left: the fifth (whose every second partial is the note's third), the
// octave, twelfth and double octave, and anything from the fifth harmonic up
// (where the stretched partials of a low string sit a semitone or more sharp
// of the harmonic's key, so every key there counts).
constexpr float kFifthShare = 0.2f;
constexpr float kOctaveShare = 0.15f;
constexpr float kTwelfthShare = 0.5f;
constexpr float kDoubleOctaveShare = 0.35f;
constexpr float kHighShare = 0.35f;
constexpr int kHighSteps = 28;
// An octave, twelfth or double octave below a found note every partial of
// that note is one of the key's: it must show partials of its own.
constexpr float kBelowShare = 0.2f;
// A key an octave below the best is taken instead when its first partial
// reaches this share of the best's, unless the key an octave below that has
// a first partial of kDeeperFirstShare of it or more.
constexpr float kBelowFirstShare = 0.8f;
constexpr float kDeeperFirstShare = 0.5f;
// A key an octave above a kept note needs kOctaveStanding of that note's
// first kOctaveLook even partials to rise kOctaveRise times above the odd
// ones beside them.
constexpr int kOctaveLook = 4;
constexpr int kOctaveStanding = 3;
constexpr float kOctaveRise = 1.5f;
// Frames in a row a key must be found before it lights.
constexpr int kConfirmFrames = 2;
// The carried state is dropped when the position jumps more than this (seconds / 4).
constexpr int kJumpDivisor = 4;
constexpr int kMaxRounds = 16;
// Partials below this share of a note's strongest do not steer the fit of
// where its partials lie; the stretch fitted is bounded by that of the
// stiffest bass strings.
constexpr float kCombFloor = 0.1f;
constexpr int kCombFirst = 8;
constexpr double kMaxStretch = 0.002;
// Partials cancelled at most: A0's reach 8 kHz.
constexpr int kCancelPartials = 320;
// A partial past the counted ones keeps only what rises above this many
// times the larger of its neighbours.
constexpr float kTailClear = 4.0f;

double KeyHz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

double BandCentre(int b) { return 229.0 * (std::pow(10.0, (b + 1) / 21.4) - 1.0); }

void Prepare(NoteFinder& f, int points, int rate) {
  f.points = points;
  f.rate = rate;
  const double df = static_cast<double>(rate) / points;
  const double top_hz = std::min(kTopHz, 0.45 * rate);
  f.top_bin = std::clamp(static_cast<int>(top_hz / df), 1, points / 2);

  double centre[kNoteBands];
  int bands = 0;
  while (bands < kNoteBands) {
    centre[bands] = BandCentre(bands);
    ++bands;
    if (centre[bands - 1] > top_hz) break;
  }
  f.band_count = bands;
  int b = 0;
  for (int k = 0; k <= f.top_bin; ++k) {
    const double hz = k * df;
    while (b + 2 < bands && hz >= centre[b + 1]) ++b;
    const double t = (hz - centre[b]) / (centre[b + 1] - centre[b]);
    f.BinBand[k] = static_cast<std::uint8_t>(b);
    f.BinT[k] = static_cast<float>(std::clamp(t, 0.0, 1.0));
  }

  for (int c = 0; c < kNoteKeys; ++c) {
    const double f0 = KeyHz(kNoteLowKey + c);
    int n = 0;
    for (int m = 1; m <= kNoteMaxHarmonics; ++m) {
      const double centre_hz = m * f0;
      const double lo_hz = centre_hz / kHalfSemitone;
      const double hi_hz = centre_hz * kHalfSemitone * std::sqrt(1.0 + kStretch * m * m);
      const int lo = std::max(1, static_cast<int>(std::lround(lo_hz / df)));
      const int hi = std::max(lo, static_cast<int>(std::lround(hi_hz / df)));
      if (hi > f.top_bin) break;
      const float w = static_cast<float>((f0 + kWeightA) / (m * f0 + kWeightB));
      f.Harm[c][n++] = NoteHarmonic{lo, hi, w};
    }
    f.HarmCount[c] = n;
    f.WeightSum[c] = 0;
    for (int h = 0; h < n; ++h) f.WeightSum[c] += f.Harm[c][h].weight;
  }
}

// Band-wise compression of the magnitudes (amplitudes of full scale 1) into White.
float Whiten(NoteFinder& f, const double* mag, int points) {
  const float scale = static_cast<float>(4.0 / (points * 32768.0));
  double energy[kNoteBands] = {};
  double weight[kNoteBands] = {};
  float peak = 0;
  for (int k = 1; k <= f.top_bin; ++k) {
    const float x = static_cast<float>(mag[k]) * scale;
    f.White[k] = x;
    f.Raw[k] = x;
    peak = std::max(peak, x);
    const int b = f.BinBand[k];
    const double t = f.BinT[k];
    energy[b] += (1.0 - t) * x * x;
    weight[b] += 1.0 - t;
    energy[b + 1] += t * x * x;
    weight[b + 1] += t;
  }
  float gain[kNoteBands];
  for (int b = 0; b < f.band_count; ++b) {
    const double sigma = weight[b] > 0 ? std::sqrt(energy[b] / weight[b]) : 0.0;
    gain[b] = static_cast<float>(std::pow(sigma + 1e-7, kWhiten - 1.0));
  }
  f.White[0] = 0;
  for (int k = 1; k <= f.top_bin; ++k) {
    const int b = f.BinBand[k];
    const float t = f.BinT[k];
    f.White[k] *= (1.0f - t) * gain[b] + t * gain[b + 1];
  }
  return peak;
}

// The strongest bin of harmonic h's window of note c before whitening.
float RawPartial(const NoteFinder& f, int c, int h) {
  float level = 0;
  for (int k = f.Harm[c][h].lo; k <= f.Harm[c][h].hi; ++k) level = std::max(level, f.Raw[k]);
  return level;
}

// The strongest of the first partials of note c before whitening.
float RawLevel(const NoteFinder& f, int c) {
  float level = 0;
  for (int h = 0; h < std::min(kLoudPartials, f.HarmCount[c]); ++h) {
    level = std::max(level, RawPartial(f, c, h));
  }
  return level;
}

// How many of the first partials of note c stand in Resid at a quarter of
// the strongest of them or more (all of them when the note has too few).
int Support(const NoteFinder& f, int c) {
  const int n = std::min(kSupportLook, f.HarmCount[c]);
  if (n < kSupportLook) return kSupportLook;
  float amp[kSupportLook];
  float top = 0;
  for (int h = 0; h < n; ++h) {
    amp[h] = 0;
    for (int k = f.Harm[c][h].lo; k <= f.Harm[c][h].hi; ++k) amp[h] = std::max(amp[h], f.Resid[k]);
    top = std::max(top, amp[h]);
  }
  int count = 0;
  for (int h = 0; h < n; ++h) count += amp[h] >= 0.25f * top && top > 0 ? 1 : 0;
  return count;
}

float Salience(const NoteFinder& f, int c) {
  float s = 0;
  const float* r = f.Resid.get();
  for (int h = 0; h < f.HarmCount[c]; ++h) {
    const NoteHarmonic& p = f.Harm[c][h];
    float best = 0;
    for (int k = p.lo; k <= p.hi; ++k) best = std::max(best, r[k]);
    s += p.weight * best;
  }
  return s;
}

// A note's partials as found in a frame: partial m at bin
// m·step·sqrt(1 + stretch·m²), the way a stiff string spreads them.
struct Comb {
  double step = 0;
  double stretch = 0;
};

double CombBin(const Comb& comb, int m) {
  return m * comb.step * std::sqrt(1.0 + comb.stretch * m * m);
}

// Fits a comb to partials as they are found: (bin/m)² = step² (1 + stretch·m²)
// is a straight line in m², fitted by weighted least squares whose sums grow
// one partial at a time.
struct CombFit {
  double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
  int used = 0;

  void Add(int m, double bin, double weight) {
    const double x = static_cast<double>(m) * m;
    const double y = (bin / m) * (bin / m);
    sw += weight, sx += weight * x, sy += weight * y, sxx += weight * x * x, sxy += weight * x * y;
    ++used;
  }
  // False until three partials are in or when they make no comb.
  bool Solve(Comb& comb) const {
    if (used < 3) return false;
    const double det = sw * sxx - sx * sx;
    double base = sy / sw, slope = 0;
    if (det > 1e-9 * sw * sxx) {
      slope = (sw * sxy - sx * sy) / det;
      base = (sy - slope * sx) / sw;
    }
    if (!(base > 0)) return false;
    const double stretch = std::clamp(slope / base, 0.0, kMaxStretch);
    // With the stretch bounded, the step that fits best for it.
    const double step = std::sqrt(sy / (sx * stretch + sw));
    if (!(step > 1.0)) return false;
    comb.step = step;
    comb.stretch = stretch;
    return true;
  }
};

// The peak of the whitened spectrum in lo..hi, between bins (from the
// parabola through the three around it); its level in `level`.
double WhitePeak(const NoteFinder& f, int lo, int hi, float& level) {
  const float* w = f.White.get();
  level = 0;
  if (f.top_bin < 3) return lo;
  lo = std::clamp(lo, 2, f.top_bin - 1);
  hi = std::clamp(hi, lo, f.top_bin - 1);
  int at = lo;
  for (int k = lo; k <= hi; ++k) {
    if (w[k] > w[at]) at = k;
  }
  level = w[at];
  const double a = w[at - 1], b = w[at], c = w[at + 1];
  const double curve = a - 2 * b + c;
  return at + (curve < 0 ? std::clamp(0.5 * (a - c) / curve, -0.5, 0.5) : 0.0);
}

// Removes the partials of note c from Resid: each partial is scaled down by
// the share a smooth envelope over its neighbours explains, so a partial that
// another note shares keeps its excess. A low note's partials go on past
// those its salience counts (a piano's bass reaches kilohertz), or they would
// light high keys: they are followed up the whitened spectrum, each looked for
// where a comb fitted to those below it (with a stiff string's stretch) puts
// it, and taken out unless it stands well clear of its neighbours.
void Cancel(NoteFinder& f, int c) {
  float* r = f.Resid.get();
  const int counted = f.HarmCount[c];
  float amp[kCancelPartials] = {};
  int at[kCancelPartials] = {};
  for (int h = 0; h < counted; ++h) {
    const NoteHarmonic& p = f.Harm[c][h];
    at[h] = p.lo;
    for (int k = p.lo; k <= p.hi; ++k) {
      if (r[k] > r[at[h]]) at[h] = k;
    }
    amp[h] = r[at[h]];
  }
  int n = counted;
  // The first partials, in their harmonics' windows, start the comb; up high
  // a window also holds the partials either side, so from there on each is
  // looked for close to where the comb so far puts it.
  CombFit fit;
  Comb comb;
  float first[kCombFirst];
  double place[kCombFirst];
  float top = 0;
  const int start = std::min(counted, kCombFirst);
  for (int h = 0; h < start; ++h) {
    place[h] = WhitePeak(f, f.Harm[c][h].lo, f.Harm[c][h].hi, first[h]);
    top = std::max(top, first[h]);
  }
  for (int h = 0; h < start; ++h) {
    if (first[h] >= kCombFloor * top) fit.Add(h + 1, place[h], first[h]);
  }
  if (counted >= 3 && fit.Solve(comb)) {
    for (int m = start + 1; m <= kCancelPartials; ++m) {
      const double centre = CombBin(comb, m);
      const double reach = std::max(1.5, 0.2 * comb.step);
      const int lo = static_cast<int>(std::floor(centre - reach));
      const int hi = static_cast<int>(std::ceil(centre + reach));
      if (hi + 3 > f.top_bin) break;
      float level = 0;
      const double peak = WhitePeak(f, lo, hi, level);
      if (level >= kCombFloor * top) {
        fit.Add(m, peak, level);
        fit.Solve(comb);
      }
      if (m <= counted) continue;
      const int k = static_cast<int>(std::lround(peak));
      at[n] = k;
      for (int j = k - 1; j <= k + 1; ++j) {
        if (r[j] > r[at[n]]) at[n] = j;
      }
      amp[n] = r[at[n]];
      ++n;
    }
  }
  for (int h = 0; h < n; ++h) {
    if (!(amp[h] > 0)) continue;
    // The envelope is the strongest of the two partials either side: a
    // neighbour an earlier note already took (near zero) must not make this
    // partial look shared. Past the counted partials only the next ones
    // count, as they stand in the whitened spectrum (a higher note taken
    // first may have had them), and a partial must stand well above them to
    // keep anything: an octave above keeps every second one, a stray peak of
    // the string's own does not.
    const bool tail = h >= counted;
    const int span = tail ? 1 : 2;
    float envelope = 0;
    for (int j = std::max(0, h - span); j <= std::min(n - 1, h + span); ++j) {
      if (j != h) envelope = std::max(envelope, tail ? f.White[at[j]] : amp[j]);
    }
    if (n == 1) envelope = amp[h];
    if (tail) envelope *= kTailClear;
    const float keep = 1.0f - std::min(amp[h], envelope) / amp[h];
    const int lo = std::max(1, at[h] - 2);
    const int hi = std::min(f.top_bin, at[h] + 2);
    for (int k = lo; k <= hi; ++k) r[k] *= keep;
  }
}

// The share of `found`'s salience a key at a harmonic of it must hold (0: none).
float AboveShare(int key, int found) {
  const int steps = key - found;
  if (steps >= kHighSteps) return kHighShare;
  switch (steps) {
    case 7: return kFifthShare;
    case 12: return kOctaveShare;
    case 19: return kTwelfthShare;
    case 24: return kDoubleOctaveShare;
    case -12:
    case -19:
    case -24: return kBelowShare;
    default: return 0.0f;
  }
}

// A piano's middle and low notes sound their second partial about as loud as
// their first, and the salience's weights favour the higher key, so the key
// an octave above a note often outscores it. When the key an octave below
// the best has a first partial of its own nearly as loud as the best's, that
// lower note is taken (and weighed) instead; a note alone has next to
// nothing an octave below it, unless a note sounds two octaves below it.
// `salience` is updated with the choice.
int PreferOctaveBelow(const NoteFinder& f, int best, const bool* found, const bool* rejected,
                      float& salience) {
  const int below = best - 12;
  if (below < 0 || rejected[below] || found[kNoteLowKey + below] || f.HarmCount[below] == 0) {
    return best;
  }
  if (RawPartial(f, below, 0) < kBelowFirstShare * RawPartial(f, best, 0)) return best;
  // A note two octaves below the best (a bass) puts its second partial there.
  if (below >= 12 && RawPartial(f, below - 12, 0) >= kDeeperFirstShare * RawPartial(f, below, 0)) {
    return best;
  }
  salience = Salience(f, below);
  return below;
}

// Whether a note sounds an octave above note `low`: its partials are every
// second one of `low`'s, so most of `low`'s even partials must stand above
// the mean of the odd ones either side. A single strong second partial (a
// piano's middle and low notes have one) is not enough. Partials past those
// `low` counts are taken as standing.
bool OctaveSounds(const NoteFinder& f, int low) {
  int standing = 0;
  for (int k = 1; k <= kOctaveLook; ++k) {
    const int even = 2 * k - 1;  // harmonic 2k
    if (even + 1 >= f.HarmCount[low]) {
      ++standing;
      continue;
    }
    const float odd = 0.5f * (RawPartial(f, low, even - 1) + RawPartial(f, low, even + 1));
    if (RawPartial(f, low, even) >= kOctaveRise * odd) ++standing;
  }
  return standing >= kOctaveStanding;
}

// The pick order favours a single strong partial of a low note over the low
// note itself; so each found note is weighed again on the spectrum with every
// other found note cancelled, and dropped when what is left is too little for
// a note of its own, or too little beside a lower note it is a harmonic of.
void Recheck(NoteFinder& f, bool* found, float* salience, int* keys, int& count, float mean) {
  float again[kNoteMaxFound];
  int support[kNoteMaxFound];
  for (int i = 0; i < count; ++i) {
    std::memcpy(f.Resid.get(), f.White.get(), sizeof(float) * (f.top_bin + 1));
    for (int j = 0; j < count; ++j) {
      if (j != i) Cancel(f, keys[j] - kNoteLowKey);
    }
    again[i] = Salience(f, keys[i] - kNoteLowKey);
    support[i] = Support(f, keys[i] - kNoteLowKey);
  }
  // Decided strongest first, each against the notes already kept, so of two
  // notes that explain each other the stronger stays.
  int order[kNoteMaxFound];
  for (int i = 0; i < count; ++i) order[i] = i;
  std::sort(order, order + count, [&](int x, int y) { return again[x] > again[y]; });
  const float strongest = count > 0 ? again[order[0]] : 0.0f;
  int kept_keys[kNoteMaxFound];
  float kept_again[kNoteMaxFound];
  int kept = 0;
  for (int n = 0; n < count; ++n) {
    const int i = order[n];
    const int key = keys[i];
    const int c = key - kNoteLowKey;
    const float flat = f.WeightSum[c] * mean;
    const bool lit = f.Lit[key];
    bool ok = again[i] >= (lit ? kRecheckStay : kRecheckOn) * flat &&
              again[i] >= (lit ? kShareStay : kShareOn) * strongest;
    for (int j = 0; ok && j < kept; ++j) {
      if (again[i] < AboveShare(key, kept_keys[j]) * kept_again[j]) ok = false;
      // One strong partial of a lower note is not a note: above its octave a key
      // needs several partials of its own left.
      if (key - kept_keys[j] > 12 && support[i] < kSupportPartials) ok = false;
      // An octave above a kept note: a strong second partial of that note
      // alone is no note.
      if (key - kept_keys[j] == 12 && !OctaveSounds(f, kept_keys[j] - kNoteLowKey)) ok = false;
    }
    if (!ok) {
      found[key] = false;
      continue;
    }
    salience[key] = again[i];
    kept_keys[kept] = key;
    kept_again[kept] = again[i];
    ++kept;
  }
  std::memcpy(keys, kept_keys, sizeof(int) * kept);
  count = kept;
}

}  // namespace

bool NoteFinderStart(NoteFinder& f) {
  if (!f.White) {
    f.BinBand.reset(new (std::nothrow) std::uint8_t[kFftMaxBins]());
    f.BinT.reset(new (std::nothrow) float[kFftMaxBins]());
    f.Raw.reset(new (std::nothrow) float[kFftMaxBins]());
    f.White.reset(new (std::nothrow) float[kFftMaxBins]());
    f.Resid.reset(new (std::nothrow) float[kFftMaxBins]());
  }
  if (!f.BinBand || !f.BinT || !f.Raw || !f.White || !f.Resid) return false;
  f.points = f.rate = 0;
  NoteFinderReset(f);
  return true;
}

void NoteFinderReset(NoteFinder& f) {
  std::memset(f.Lit, 0, sizeof f.Lit);
  std::memset(f.Seen, 0, sizeof f.Seen);
  std::memset(f.Strength, 0, sizeof f.Strength);
  f.LitCount = 0;
  f.fresh = true;
}

void NoteFinderFrame(NoteFinder& f, const double* mag, int points, int rate, std::int32_t position) {
  if (!f.White || points <= 0 || rate <= 0) {
    NoteFinderReset(f);
    return;
  }
  if (points != f.points || rate != f.rate) {
    Prepare(f, points, rate);
    NoteFinderReset(f);
  }
  const std::int32_t jump = position - f.last_position;
  if (jump < 0 || jump > rate / kJumpDivisor) NoteFinderReset(f);
  f.last_position = position;
  const bool first = f.fresh;
  f.fresh = false;

  bool found[kNumKeys] = {};
  float found_salience[kNumKeys] = {};
  int found_keys[kNoteMaxFound];
  int found_count = 0;
  const float peak = Whiten(f, mag, points);
  std::memcpy(f.Resid.get(), f.White.get(), sizeof(float) * (f.top_bin + 1));

  // The salience a flat spectrum at the whitened mean would give each key.
  double mean = 0;
  for (int k = 1; k <= f.top_bin; ++k) mean += f.White[k];
  mean /= f.top_bin;

  if (peak >= kSilence && mean > 0) {
    bool rejected[kNoteKeys] = {};
    float strongest = 0;
    for (int round = 0; round < kMaxRounds && found_count < kNoteMaxFound; ++round) {
      int best = -1;
      float best_s = 0;
      for (int c = 0; c < kNoteKeys; ++c) {
        if (rejected[c] || found[kNoteLowKey + c] || f.HarmCount[c] == 0) continue;
        const float s = Salience(f, c);
        if (s > best_s) best_s = s, best = c;
      }
      if (best < 0) break;
      best = PreferOctaveBelow(f, best, found, rejected, best_s);
      const int key = kNoteLowKey + best;
      const float flat = f.WeightSum[best] * static_cast<float>(mean);
      const bool lit = f.Lit[key];
      bool ok = best_s >= (lit ? kStayOn : kLightOn) * flat &&
                best_s >= (lit ? kShareStay : kShareOn) * strongest &&
                RawLevel(f, best) >= kLoudShare * peak;
      for (int i = 0; ok && i < found_count; ++i) {
        if (best_s < AboveShare(key, found_keys[i]) * found_salience[found_keys[i]]) {
          ok = false;
        }
      }
      if (!ok) {
        rejected[best] = true;
        continue;
      }
      strongest = std::max(strongest, best_s);
      found[key] = true;
      found_salience[key] = best_s;
      found_keys[found_count++] = key;
      Cancel(f, best);
    }
  }

  Recheck(f, found, found_salience, found_keys, found_count, static_cast<float>(mean));

  f.LitCount = 0;
  float strongest = 0;
  for (int i = 0; i < found_count; ++i) strongest = std::max(strongest, found_salience[found_keys[i]]);
  for (int key = 0; key < kNumKeys; ++key) {
    if (found[key]) {
      f.Seen[key] = static_cast<std::uint8_t>(std::min(f.Seen[key] + 1, 255));
      if (first || f.Seen[key] >= kConfirmFrames) f.Lit[key] = true;
    } else {
      f.Seen[key] = 0;
      f.Lit[key] = false;
    }
    f.Strength[key] = f.Lit[key] && strongest > 0 ? found_salience[key] / strongest : 0.0f;
    if (f.Lit[key]) ++f.LitCount;
  }
}

void NoteKeyLevels(const NoteFinder& f, int thres_dw, int thres_up, int* levels) {
  const int span = std::max(0, thres_up - thres_dw);
  for (int key = 0; key < kNumKeys; ++key) {
    if (!f.Lit[key]) {
      levels[key] = kLevelNothing;
      continue;
    }
    // Even the weakest lit note glows visibly: a third of the way up at least.
    const float share = 0.35f + 0.65f * std::clamp(f.Strength[key], 0.0f, 1.0f);
    levels[key] = thres_dw + static_cast<int>(std::ceil(span * share));
  }
}

}  // namespace vk
