// Note mode: synthetic harmonic tones (decaying partials, string stretch)
// light their own keys and no others; chords are named from the lit keys.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "display/ChordName.h"
#include "display/NoteMode.h"
#include "support/CountingNew.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;

double KeyHz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

struct Partial {
  int number;
  double amp;
};

struct Notes {
  vk::Analysis a;
  vk::AnalysisInput in;
  vk::NoteMode mode;
  std::vector<double> mix;

  Notes() {
    EXPECT_TRUE(vk::AnalysisStart(a));
    EXPECT_TRUE(vk::AnalysisSetFftItem(a, 3));
    EXPECT_TRUE(vk::NoteModeStart(mode));
    in.fft_item = 3;
    in.out_channels = 2;
    in.out_bits = 16;
    in.src_bits = 16;
    in.rate_hz = kRate;
    in.total_frames = 60 * kRate;
    in.position = 5 * kRate;
    in.bmp_octave = 3;
    mix.assign(a.fft_points, 0.0);
  }
  // A string-like note: partial m at m·f0·sqrt(1 + B m²), amplitude 1/m unless given.
  void Add(int key, double amp, std::initializer_list<Partial> partials = {}) {
    Add(key, amp, std::vector<Partial>(partials));
  }
  void Add(int key, double amp, const std::vector<Partial>& partials) {
    const double f0 = KeyHz(key);
    const double b = 0.0001;
    for (int m = 1; m <= 16; ++m) {
      double a_m = 1.0 / m;
      for (const Partial& p : partials) {
        if (p.number == m) a_m = p.amp;
      }
      const double hz = m * f0 * std::sqrt(1.0 + b * m * m);
      if (hz > 0.45 * kRate) break;
      for (std::size_t i = 0; i < mix.size(); ++i) {
        mix[i] += amp * a_m * std::sin(2 * kPi * hz * i / kRate + m);
      }
    }
  }
  // A low string: `count` partials stretched by `b`, tuned `cents` sharp,
  // falling slowly (m^-0.7) so they reach kilohertz, as sampled bass strings do.
  void AddLowString(int key, double b, double cents, int count) {
    const double f0 = KeyHz(key) * std::pow(2.0, cents / 1200.0);
    for (int m = 1; m <= count; ++m) {
      const double hz = m * f0 * std::sqrt(1.0 + b * m * m);
      if (hz > 0.45 * kRate) break;
      for (std::size_t i = 0; i < mix.size(); ++i) {
        mix[i] += std::pow(m, -0.7) * std::sin(2 * kPi * hz * i / kRate + 0.7 * m);
      }
    }
  }
  // Runs `frames` frames over the same sound, a 60th of a second apart.
  void Run(int frames = 3) {
    double peak = 0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    const double scale = peak > 0 ? 20000.0 / peak : 0.0;
    std::uint32_t noise = 7;
    for (std::size_t i = 0; i < mix.size(); ++i) {
      noise = noise * 1664525u + 1013904223u;
      const double dither = static_cast<double>(noise >> 30) - 1.5;  // a few LSBs of noise
      const auto v = static_cast<std::int16_t>(std::lround(mix[i] * scale + dither));
      a.AnalysisTap[2 * i] = a.AnalysisTap[2 * i + 1] = v;
    }
    for (int f = 0; f < frames; ++f) {
      in.position += kRate / 60;
      vk::AnalyseTap(a, in);
      vk::NoteModeFrame(mode, a, in, -45, -40);
    }
  }
  std::vector<int> Lit() const {
    std::vector<int> keys;
    for (int k = 0; k < vk::kNumKeys; ++k) {
      if (mode.finder.Lit[k]) keys.push_back(k);
    }
    return keys;
  }
};

using Keys = std::vector<int>;

TEST(NoteModeTest, SingleNotesFromC1ToC8LightOnlyTheirKey) {
  for (int key = 24; key <= 108; key += 5) {
    Notes n;
    n.Add(key, 1.0);
    n.Run();
    EXPECT_EQ(n.Lit(), Keys{key}) << "key " << key;
    EXPECT_STREQ(n.mode.Chord, "");
    EXPECT_GE(n.mode.Level[key], -45);
  }
  Notes top;
  top.Add(108, 1.0);
  top.Run();
  EXPECT_EQ(top.Lit(), Keys{108});
}

TEST(NoteModeTest, LowStringPartialsPastTheCountedOnesGoOutWithIt) {
  // Sixty partials of G1 reach 3 kHz, far past those its salience counts;
  // stretched and a little sharp, they must be taken out with the note
  // instead of lighting high keys.
  for (double b : {0.00005, 0.0001}) {
    for (double cents : {0.0, 4.0, 8.0}) {
      Notes n;
      n.AddLowString(31, b, cents, 60);
      n.Run();
      EXPECT_EQ(n.Lit(), Keys{31}) << "stretch " << b << " cents " << cents;
    }
  }
}

TEST(NoteModeTest, StrongSecondPartialLightsTheNoteNotItsOctave) {
  // Middle and low piano notes: the second partial louder than the first,
  // the third and up faint, so the key an octave up has nearly as much to show.
  for (int key : {40, 43, 45, 48, 52, 55, 57}) {
    for (double first : {0.4, 0.6, 0.8}) {
      std::vector<Partial> partials{{1, first}, {2, 1.0}, {3, 0.05}};
      for (int m = 4; m <= 16; ++m) partials.push_back({m, 0.02});
      Notes n;
      n.Add(key, 1.0, partials);
      n.Run();
      EXPECT_EQ(n.Lit(), Keys{key}) << "key " << key << " first " << first;
      // The same note doubled an octave up lights both.
      Notes both;
      both.Add(key, 1.0, partials);
      both.Add(key + 12, 1.0, partials);
      both.Run();
      EXPECT_EQ(both.Lit(), (Keys{key, key + 12})) << "key " << key << " first " << first;
    }
  }
}

TEST(NoteModeTest, ChordToneTwoOctavesOverABassLightsItsOwnKey) {
  // A bass whose second partial is louder than its first puts that partial an
  // octave below a chord tone two octaves up: the chord tone stays.
  for (int bass : {31, 34, 36, 38}) {
    for (double first : {0.6, 0.9}) {
      Notes n;
      n.Add(bass, 1.0, {{1, first}, {2, 1.0}, {3, 0.4}, {4, 0.3}, {5, 0.15}, {6, 0.1}});
      n.Add(bass + 24, 0.7, {{1, 1.0}, {2, 0.5}, {3, 0.3}, {4, 0.2}});
      n.Run();
      EXPECT_EQ(n.Lit(), (Keys{bass, bass + 24})) << "bass " << bass << " first " << first;
    }
  }
}

TEST(NoteModeTest, OctaveDyadLightsBothKeys) {
  for (int low : {36, 48, 60, 72}) {
    Notes n;
    n.Add(low, 1.0);
    n.Add(low + 12, 1.0);
    n.Run();
    EXPECT_EQ(n.Lit(), (Keys{low, low + 12})) << "low key " << low;
  }
}

TEST(NoteModeTest, StrongThirdHarmonicDoesNotLightTheTwelfth) {
  for (int key : {48, 60}) {
    Notes n;
    n.Add(key, 1.0, {{1, 0.6}, {2, 0.4}, {3, 1.0}, {4, 0.2}, {6, 0.15}});
    n.Run();
    EXPECT_EQ(n.Lit(), Keys{key}) << "key " << key;
  }
}

TEST(NoteModeTest, TriadsAreFoundAndNamed) {
  Notes c;
  for (int key : {60, 64, 67}) c.Add(key, 1.0);
  c.Run();
  EXPECT_EQ(c.Lit(), (Keys{60, 64, 67}));
  EXPECT_STREQ(c.mode.Chord, "C");

  Notes am;
  for (int key : {57, 60, 64}) am.Add(key, 1.0);
  am.Run();
  EXPECT_EQ(am.Lit(), (Keys{57, 60, 64}));
  EXPECT_STREQ(am.mode.Chord, "Am");
}

TEST(NoteModeTest, QuietNoteUnderALoudMelodyLights) {
  // An accompaniment 20 to 30 dB under the melody is still notes.
  for (int key : {43, 48, 50, 53}) {
    for (double level : {0.08, 0.05}) {
      Notes n;
      n.Add(81, 1.0, {{1, 1.0}, {2, 0.5}, {3, 0.3}});
      n.Add(key, level);
      n.Run();
      EXPECT_EQ(n.Lit(), (Keys{key, 81})) << "key " << key << " level " << level;
    }
  }
}

TEST(NoteModeTest, ChordNameHoldsWhileAToneFadesAndDropsOnAJump) {
  Notes n;
  for (int key : {57, 60, 64}) n.Add(key, 1.0);
  n.Run();
  ASSERT_STREQ(n.mode.Chord, "Am");
  // The fifth fades out of reach: A and C alone name nothing, the chord holds.
  n.mix.assign(n.mix.size(), 0.0);
  for (int key : {57, 60}) n.Add(key, 1.0);
  n.Run();
  ASSERT_EQ(n.Lit(), (Keys{57, 60}));
  EXPECT_STREQ(n.mode.Chord, "Am");
  // A tone outside the held chord ends the hold.
  n.Add(62, 1.0);
  n.Run();
  EXPECT_STRNE(n.mode.Chord, "Am");
  // After a seek the same two tones name nothing: nothing is held across it.
  Notes jump;
  for (int key : {57, 60, 64}) jump.Add(key, 1.0);
  jump.Run();
  jump.mix.assign(jump.mix.size(), 0.0);
  for (int key : {57, 60}) jump.Add(key, 1.0);
  jump.in.position += 10 * kRate;
  jump.Run();
  EXPECT_STREQ(jump.mode.Chord, "");
}

TEST(NoteModeTest, SilenceAndNoFileLightNothing) {
  Notes n;
  n.Run();
  EXPECT_TRUE(n.Lit().empty());
  for (int level : n.mode.Level) EXPECT_EQ(level, vk::kLevelNothing);
  EXPECT_STREQ(n.mode.Chord, "");

  Notes closed;
  closed.Add(60, 1.0);
  closed.in.total_frames = 0;
  closed.Run();
  EXPECT_TRUE(closed.Lit().empty());
}

TEST(NoteModeTest, AFrameAllocatesNothing) {
  Notes n;
  for (int key : {48, 60, 64, 67}) n.Add(key, 1.0);
  n.Run(1);
  vktest::gNewCalls = 0;
  vktest::gCounting = true;
  n.Run(5);
  vktest::gCounting = false;
  EXPECT_EQ(vktest::gNewCalls.load(), 0);
}

TEST(NoteModeTest, ANewNoteLightsOnTheSecondFrameAndAJumpStartsAfresh) {
  Notes n;
  n.Add(60, 1.0);
  n.Run(2);
  n.Add(67, 1.0);
  n.Run(1);
  EXPECT_EQ(n.Lit(), Keys{60});  // G4 seen once: not yet lit
  n.Run(1);
  EXPECT_EQ(n.Lit(), (Keys{60, 67}));
  n.in.position -= kRate;  // a seek back: the first frame decides by itself
  n.Run(1);
  EXPECT_EQ(n.Lit(), (Keys{60, 67}));
}

std::string Name(std::initializer_list<int> keys) {
  bool lit[vk::kNumKeys] = {};
  for (int k : keys) lit[k] = true;
  char out[vk::kChordNameSize];
  vk::NameChord(lit, out);
  return out;
}

TEST(ChordNameTest, ShapesRootsAndBass) {
  EXPECT_EQ(Name({48, 52, 55}), "C");
  EXPECT_EQ(Name({57, 60, 64}), "Am");
  EXPECT_EQ(Name({43, 59, 62, 65}), "G7");
  EXPECT_EQ(Name({53, 57, 60, 64}), "Fmaj7");
  EXPECT_EQ(Name({59, 62, 65}), "Bdim");
  EXPECT_EQ(Name({52, 57, 59}), "Esus4");
  EXPECT_EQ(Name({54, 57, 62}), "D/F#");
  EXPECT_EQ(Name({45, 60, 64, 67}), "Am7");
  EXPECT_EQ(Name({48, 57, 64, 67}), "Am7/C");
  EXPECT_EQ(Name({48, 52, 55, 74}), "C");  // a melody note on top is left out
}

TEST(ChordNameTest, NoNameWithoutAClearChord) {
  EXPECT_EQ(Name({}), "");
  EXPECT_EQ(Name({60}), "");
  EXPECT_EQ(Name({48, 60}), "");                  // octave
  EXPECT_EQ(Name({60, 67}), "");                  // fifth alone
  EXPECT_EQ(Name({60, 61, 62, 63}), "");          // cluster
  EXPECT_EQ(Name({48, 52, 55, 61, 62}), "");      // two strangers
}

}  // namespace
