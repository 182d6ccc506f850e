// Fingerprints of what the effects make of a few seconds of loud, noisy music:
// the whole chain as an export runs it (every effect, 20 reverb lines, at 75 %
// and 100 % speed) and each effect over a grid of its parameters. The effects
// are rewritten for speed from time to time; every rewrite must give the same
// samples, and a changed fingerprint says which effect stopped doing so.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "engine/EffectTestSupport.h"
#include "engine/EffectChain.h"
#include "engine/Effects.h"

namespace vk {
namespace {

using vktest::Frames;

// FNV-1a over the samples' bytes.
std::uint64_t Fingerprint(const Frames& f) {
  std::uint64_t h = 14695981039346656037ull;
  for (const std::int16_t s : f) {
    const auto u = static_cast<std::uint16_t>(s);
    for (const std::uint8_t byte : {static_cast<std::uint8_t>(u & 0xFF), static_cast<std::uint8_t>(u >> 8)}) {
      h = (h ^ byte) * 1099511628211ull;
    }
  }
  return h;
}

// Chords that swell to full scale and beyond (clipped), with noise that
// differs between the channels, so every saturation and sign path is taken.
Frames Music(std::int32_t n, std::uint32_t rate) {
  Frames f(2 * static_cast<std::size_t>(n));
  std::uint32_t noise = 12345;
  const double hz[] = {110, 220, 330, 523, 659, 1760};
  for (std::int32_t i = 0; i < n; ++i) {
    const double t = static_cast<double>(i) / rate;
    const double swell = 0.6 + 0.6 * std::sin(2 * M_PI * 0.3 * t);
    double l = 0, r = 0;
    for (int k = 0; k < 6; ++k) {
      const double v = std::sin(2 * M_PI * hz[k] * t);
      l += v * (k % 2 ? 2500 : 4000);
      r += v * (k % 2 ? 4000 : 2500);
    }
    noise = noise * 1664525u + 1013904223u;
    const double z = (static_cast<double>(noise >> 8) / (1 << 24) - 0.5) * 6000;
    f[2 * i] = static_cast<std::int16_t>(std::clamp(l * swell + z, -32768.0, 32767.0));
    f[2 * i + 1] = static_cast<std::int16_t>(std::clamp(r * swell - z, -32768.0, 32767.0));
  }
  return f;
}

struct ChainSetup {
  std::uint32_t rate;
  std::int32_t speed_percent;  // 100 skips the time base
  PitchShiftParams pitch;
  ToneParams tone;
  ChorusParams chorus;
  DelayParams delay;
  ReverbParams reverb;
};

// The chain after the ring, block after block as FillBlock runs it with the
// time stretch as time base: blocks of 400 ms, states carried over.
Frames RunChain(const ChainSetup& c, const Frames& in) {
  const std::int32_t f = static_cast<std::int32_t>(c.rate * 4 / 10);
  const std::int32_t taken = f * c.speed_percent / 100;
  ToneState tone;
  ChorusState chorus;
  EchoLine delay;
  EchoLine reverb[kReverbLines];
  SoftClipMemo delay_clip, reverb_clip;
  EXPECT_TRUE(AllocChorus(chorus, f, c.rate));
  EXPECT_TRUE(AllocEchoLine(delay, f, static_cast<std::int32_t>(c.rate / 2)));
  for (EchoLine& l : reverb) EXPECT_TRUE(AllocEchoLine(l, f, static_cast<std::int32_t>(c.rate / 10)));
  EXPECT_TRUE(AllocSoftClipMemo(delay_clip) && AllocSoftClipMemo(reverb_clip));
  ResetChorus(chorus, c.chorus, c.rate);
  ResetDelay(delay, c.delay, c.rate);
  ResetReverb(reverb, c.reverb, c.rate);
  Frames out, block(2 * static_cast<std::size_t>(f)), a(4 * static_cast<std::size_t>(f)),
      b(4 * static_cast<std::size_t>(f));
  PitchHistory history;
  const std::int32_t n = static_cast<std::int32_t>(in.size() / 2);
  for (std::int32_t at = 0; at + taken <= n; at += taken) {
    const std::int32_t w = static_cast<std::int32_t>(30 * c.rate / 1000);
    TimeStretch(in.data() + 2 * at, taken, block.data(), f, w);
    PitchShift(c.pitch, block.data(), f, a.data(), b.data(), history, c.rate);
    ToneControl(c.tone, tone, block.data(), f);
    RunChorus(chorus, c.chorus, block.data(), f);
    RunDelay(delay, c.delay, block.data(), f, &delay_clip);
    RunReverb(reverb, c.reverb, block.data(), f, &reverb_clip);
    out.insert(out.end(), block.begin(), block.end());
  }
  return out;
}

const ToneParams kVocalCancel{99, 3, 0, -22, 30, 50, -18, 12};

TEST(EffectHashTest, EveryEffectChainGivesTheSameSamples) {
  ReverbParams twenty;
  twenty.DelayTap = 20;
  const ChainSetup export_case{44100, 75, {5, 30, -7, 30, 40}, kVocalCancel, {}, {}, twenty};
  const Frames music = Music(44100 * 6, 44100);
  EXPECT_EQ(Fingerprint(RunChain(export_case, music)), 5757692102215929015ull);
  ChainSetup full_speed = export_case;
  full_speed.speed_percent = 100;
  EXPECT_EQ(Fingerprint(RunChain(full_speed, music)), 18178510354901794137ull);
  // Far corners at a low rate: octave voices, negative widths, the deepest
  // chorus, full feedback everywhere, an odd number of reverb lines.
  const ChainSetup corners{8000,
                           135,
                           {12, 5, -12, 50, 70},
                           {49, -30, -30, 30, -12, 0, 30, -30},
                           {50, 100, 10, 180, 9, 909, 100},
                           {500, 100, 9, 909, 0, -60, 100},
                           {13, 50, 100, 99, 909, 100, -20, 100}};
  EXPECT_EQ(Fingerprint(RunChain(corners, Music(8000 * 12, 8000))), 3002906029309064368ull);
}

// Each effect alone over the music in uneven blocks, for a grid of settings;
// one fingerprint per effect over its whole grid.
template <typename Run>
std::uint64_t OverUnevenBlocks(const Frames& music, std::int32_t max_block, Run run) {
  Frames f = music;
  const std::int32_t n = static_cast<std::int32_t>(f.size() / 2);
  for (std::int32_t at = 0, k = 0; at < n; at += k) {
    k = std::min(max_block - 37 * (at % 11), n - at);
    run(f.data() + 2 * at, k);
  }
  return Fingerprint(f);
}

TEST(EffectHashTest, EachEffectOverAGridOfSettings) {
  constexpr std::uint32_t kRate = 22050;
  constexpr std::int32_t kBlock = 4000;
  const Frames music = Music(kRate * 2, kRate);
  std::vector<std::uint64_t> reverb, delay, chorus, tone;
  for (int taps : {1, 2, 7, 20}) {
    for (int feedback : {96, 100}) {
      for (int lpf : {9, 99}) {
        for (int hpf : {909, 999}) {
          for (int panning : {0, 37, 100}) {
            const ReverbParams p{taps, 10 + 5 * taps % 41, feedback, lpf, hpf, panning, -3 * taps, 100};
            EchoLine lines[kReverbLines];
            SoftClipMemo memo;
            for (EchoLine& l : lines) ASSERT_TRUE(AllocEchoLine(l, kBlock, kRate / 10));
            ASSERT_TRUE(AllocSoftClipMemo(memo));
            ResetReverb(lines, p, kRate);
            reverb.push_back(OverUnevenBlocks(music, kBlock, [&](std::int16_t* b, std::int32_t k) {
              RunReverb(lines, p, b, k, &memo);
            }));
          }
        }
      }
    }
  }
  for (int feedback : {0, 60, 100}) {
    for (int panning : {0, 50, 100}) {
      for (int gain : {0, -60}) {
        const DelayParams p{100 + 200 * (panning / 50), feedback, 60, 909, panning, gain, 70};
        EchoLine line;
        ASSERT_TRUE(AllocEchoLine(line, kBlock, kRate / 2));
        ResetDelay(line, p, kRate);
        delay.push_back(OverUnevenBlocks(music, kBlock, [&](std::int16_t* b, std::int32_t k) {
          RunDelay(line, p, b, k);
        }));
      }
    }
  }
  for (int delay_ms : {1, 17, 50}) {
    for (int depth : {0, 10, 100}) {
      for (int lfo : {10, 100}) {
        for (int phase : {0, 90, 180}) {
          const ChorusParams p{delay_ms, depth, lfo, phase, 9 + depth % 91, 909 + lfo - 10, 25 + 3 * delay_ms / 2};
          ChorusState c;
          ASSERT_TRUE(AllocChorus(c, kBlock, kRate));
          ResetChorus(c, p, kRate);
          chorus.push_back(OverUnevenBlocks(music, kBlock, [&](std::int16_t* b, std::int32_t k) {
            RunChorus(c, p, b, k);
          }));
        }
      }
    }
  }
  for (const ToneParams& p : {ToneParams{}, kVocalCancel, ToneParams{49, 30, 30, 30, 30, 0, 30, 30},
                              ToneParams{70, -30, -30, -30, -30, 25, -30, -30},
                              ToneParams{99, 0, -1, 7, 1, 50, -7, -13}}) {
    ToneState st;
    tone.push_back(OverUnevenBlocks(music, kBlock, [&](std::int16_t* b, std::int32_t k) {
      ToneControl(p, st, b, k);
    }));
  }
  // The resampler both ways, with blocks whose length fits 16 bits and longer.
  std::vector<std::uint64_t> resample;
  for (const std::int32_t n_out : {4000, 17640, 40000}) {
    for (const int percent : {25, 75, 99, 101, 135, 200}) {
      const std::int32_t n_in = n_out * percent / 100;
      std::int16_t history[2] = {0, 0};
      Frames out;
      Frames block(2 * static_cast<std::size_t>(n_out));
      for (std::int32_t at = 0; at + n_in <= static_cast<std::int32_t>(music.size() / 2); at += n_in) {
        SpeedResample(music.data() + 2 * at, n_in, block.data(), n_out, DeliveredFormat(44100), history);
        out.insert(out.end(), block.begin(), block.end());
      }
      resample.push_back(Fingerprint(out));
    }
  }
  const auto fold = [](const std::vector<std::uint64_t>& v) {
    std::uint64_t h = 0;
    for (const std::uint64_t x : v) h = h * 31 + x;
    return h;
  };
  EXPECT_EQ(fold(reverb), 10058032879899873358ull);
  EXPECT_EQ(fold(delay), 11858860528301728190ull);
  EXPECT_EQ(fold(chorus), 14834391812189412561ull);
  EXPECT_EQ(fold(tone), 16415284030935824318ull);
  EXPECT_EQ(fold(resample), 7188663138200045374ull);
}

}  // namespace
}  // namespace vk
