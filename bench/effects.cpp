// The effects at 44.1 kHz on one default block (400 ms, 17 640 frames): each
// alone, and the whole chain with every effect on and 20 reverb lines, as
// multiples of real time on one core. Then a one-minute export through the real
// play thread into a file, with the defaults, with every effect on, and in the
// case the speed goal is set for (75 % speed, both pitch voices, vocal-cancel
// tone, chorus, delay, 20 reverb lines).
//
// Figures on the 2-core build machine (AMD EPYC, AVX-512), RelWithDebInfo,
// while other builds ran. Three rounds of work for speed, every output sample
// the same (EffectHashTest):
//   round 1: lanes for the reverb, soft clip, tone and mixes;
//   round 2: the reverb's groups of four frames stepped without the clamps
//     unless a value leaves the lines' range; the crossfade's sines by their
//     series and its mixes in vector lanes;
//   round 3: every truncating division in the lanes (reverb, tone, mixes, soft
//     clip) a multiply by the divisor's reciprocal rounded up and one rounding
//     instruction, in copies written out for AVX-512 and AVX2 with FMA; the
//     reverb's next numerator started before the low-cut state is known, the
//     full-delay sums taken as the lines are loaded, each line stepped in its
//     own ring where the chunk does not wrap; volume, balance and the
//     resampler multiplying instead of dividing; 16-bit samples into lanes
//     through 32-bit integers (the compiler converted them one at a time); the
//     crossfade's samples read and written as vectors; the chorus's read
//     positions remembered per counter value, the delay's state in registers.
// Before, round 1: the least CPU time of five repetitions of 0.2 s. Round 2
// and now: the least of 15 repetitions of 0.05 s, the two binaries run in
// turn (round 2's as measured then, in brackets as measured alongside now).
//
//   per block                 before  round 1  round 2          now
//   BM_TimeStretch50Percent    162 us    89 us    43 us (43)     36 us
//   BM_PitchShiftTwoVoices     530 us   334 us   263 us (265)   184 us
//   BM_ToneControl             332 us   165 us   163 us (163)   106 us  (vocal cancel the same)
//   BM_Chorus                  434 us   285 us   286 us (285)   263 us
//   BM_Delay                   233 us   254 us   245 us (246)   213 us  (this signal's wet values
//                                                                        all hit the soft clip's memo)
//   BM_Reverb/8                931 us   538 us   475 us (479)   316 us
//   BM_Reverb/20              2209 us  1075 us   836 us (845)   568 us
//   BM_WholeChain20Lines      4017 us  2348 us  1898 us (1930) 1410 us
//                              100×     170×     210× (207×)    284× real time
//
// `velkaris-cli export` of one minute of noisy 44.1 kHz music (chords swelling
// past full scale with noise that differs between the channels) in the goal's
// case, as a whole process (CPU time is user + system, medians):
//   before:  CPU 0.82 s (74× real time by CPU time)
//   round 1: CPU 0.53 s (113×)
//   round 2: CPU 0.42 s (143×)
//   now:     CPU 0.358 s (168×), eleven runs in turn with round 2's binary,
//            which took 0.466 s (129×) alongside; now/round 2: 0.77 CPU,
//            0.77 user. The output file is the same to the byte.
//   The process alone (loading its 160 shared libraries, one of which
//   calibrates a timer at load) costs 0.04 s of CPU before any sound.
// Instructions executed by that export, counted by callgrind (which hides
// AVX-512, so the AVX2 copies ran): 8.20 G before, 4.70 G after round 1;
// round 2's binary 4.49 G, now 3.43 G.
// Where the time goes now (sampled over that export): reverb lanes 27 %
// (stepping 20 %, loading and summing 7 %), chorus 12 %, soft clip 11 %, the
// start of the process 8 %, delay line 7 %, tone 6 %, resampler 5.5 %,
// crossfade 4 %, equal-power mixes 3 %, volume, ring and channels 2.5 %.
//
// Round 4, two threads: the rest of the work is serial within each effect
// (each reverb line, the delay line, the chorus line and the tone's low-pass
// feed every frame's result into the next frame), but the back of the chain
// for one block and its front for the next touch separate states. When the
// output is a file, the back of the chain (the delay's mix, the reverb, the
// balance) runs on a second thread while the play thread takes the next block
// through the front (ring, volume, time base, pitch voices, tone, chorus, the
// delay's line); the position report to the owner and the writing of each
// finished block overlap the work on the next one too. The bytes are the same
// as one thread's (BlockFinisherTest).
//   BM_ExportMinuteEveryEffectAt75 (the goal's case, in process, wall time,
//   medians of 15 single runs, other work on the machine stopped):
//     round 3: 316 ms (190× real time)    now: 191 ms (314× real time)
//   `velkaris-cli export` as a whole process, median of five:
//     round 3: 0.38 s wall, 0.37 s CPU    now: 0.25 s wall, 0.37 s CPU
//   (The process start, 0.04 s, and making the high-quality stretchers at
//   open, about 0.025 s, are in the whole-process figures only.)
//   Play thread and finisher each take about 150 ms of the minute: the delay
//   is split between them (its line in the front, its mix in the back). With
//   the whole delay in the back the finisher took 166 ms and the play thread
//   waited for it; with it in the front the play thread took 205 ms.
// BM_ExportMinuteEveryEffectAt75HighQuality is the same case through the
// high-quality stretchers (bench_stretch_quality has their figures).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/ByteOrder.h"
#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/Effects.h"
#include "engine/MessageQueue.h"
#include "engine/PlayControl.h"
#include "engine/Player.h"
#include "engine/PlayEngine.h"

namespace {

constexpr std::uint32_t kRate = 44100;
constexpr int kF = 17640;
constexpr double kBlockSeconds = 0.4;

std::vector<std::int16_t> Music(int frames) {
  std::vector<std::int16_t> f(2 * static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kRate;
    f[2 * i] = static_cast<std::int16_t>(9000 * std::sin(2 * M_PI * 220 * t) +
                                         3000 * std::sin(2 * M_PI * 1760 * t));
    f[2 * i + 1] = static_cast<std::int16_t>(9000 * std::sin(2 * M_PI * 330 * t) +
                                             3000 * std::sin(2 * M_PI * 2640 * t));
  }
  return f;
}

void RealTime(benchmark::State& state, double seconds_per_iteration) {
  state.counters["x_realtime"] = benchmark::Counter(
      seconds_per_iteration * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Each iteration runs one fresh block through `run`; the copy back in is
// left out of the timing.
template <typename F>
void OneBlock(benchmark::State& state, F run) {
  const std::vector<std::int16_t> music = Music(kF);
  std::vector<std::int16_t> block = music;
  for (auto _ : state) {
    state.PauseTiming();
    block = music;
    state.ResumeTiming();
    run(block.data());
    benchmark::DoNotOptimize(block.data());
  }
  RealTime(state, kBlockSeconds);
}

void BM_TimeStretch50Percent(benchmark::State& state) {
  const std::vector<std::int16_t> in = Music(kF / 2);
  std::vector<std::int16_t> out(2 * kF);
  for (auto _ : state) {
    vk::TimeStretch(in.data(), kF / 2, out.data(), kF, 1323);
    benchmark::DoNotOptimize(out.data());
  }
  RealTime(state, kBlockSeconds);
}
BENCHMARK(BM_TimeStretch50Percent)->Unit(benchmark::kMicrosecond);

void BM_PitchShiftTwoVoices(benchmark::State& state) {
  std::vector<std::int16_t> a(4 * kF), b(4 * kF);
  vk::PitchHistory history;
  const vk::PitchShiftParams p{5, 30, -7, 30, 40};
  OneBlock(state, [&](std::int16_t* block) {
    vk::PitchShift(p, block, kF, a.data(), b.data(), history, kRate);
  });
}
BENCHMARK(BM_PitchShiftTwoVoices)->Unit(benchmark::kMicrosecond);

void BM_ToneControl(benchmark::State& state) {
  vk::ToneState st;
  OneBlock(state, [&](std::int16_t* block) { vk::ToneControl(vk::ToneParams{}, st, block, kF); });
}
BENCHMARK(BM_ToneControl)->Unit(benchmark::kMicrosecond);

void BM_ToneVocalCancel(benchmark::State& state) {
  vk::ToneState st;
  const vk::ToneParams vocal_cancel{99, 3, 0, -22, 30, 50, -18, 12};
  OneBlock(state, [&](std::int16_t* block) { vk::ToneControl(vocal_cancel, st, block, kF); });
}
BENCHMARK(BM_ToneVocalCancel)->Unit(benchmark::kMicrosecond);

void BM_Chorus(benchmark::State& state) {
  vk::ChorusState c;
  vk::AllocChorus(c, kF, kRate);
  vk::ResetChorus(c, vk::ChorusParams{}, kRate);
  OneBlock(state, [&](std::int16_t* block) { vk::RunChorus(c, vk::ChorusParams{}, block, kF); });
}
BENCHMARK(BM_Chorus)->Unit(benchmark::kMicrosecond);

void BM_Delay(benchmark::State& state) {
  vk::EchoLine line;
  vk::SoftClipMemo memo;
  vk::AllocEchoLine(line, kF, kRate / 2);
  vk::AllocSoftClipMemo(memo);
  vk::ResetDelay(line, vk::DelayParams{}, kRate);
  OneBlock(state, [&](std::int16_t* block) { vk::RunDelay(line, vk::DelayParams{}, block, kF, &memo); });
}
BENCHMARK(BM_Delay)->Unit(benchmark::kMicrosecond);

void BM_Reverb(benchmark::State& state) {
  vk::EchoLine lines[vk::kReverbLines];
  vk::SoftClipMemo memo;
  for (vk::EchoLine& l : lines) vk::AllocEchoLine(l, kF, kRate / 10);
  vk::AllocSoftClipMemo(memo);
  vk::ReverbParams p;
  p.DelayTap = static_cast<std::int32_t>(state.range(0));
  vk::ResetReverb(lines, p, kRate);
  OneBlock(state, [&](std::int16_t* block) { vk::RunReverb(lines, p, block, kF, &memo); });
}
BENCHMARK(BM_Reverb)->Arg(8)->Arg(20)->Unit(benchmark::kMicrosecond);

std::string WriteWav(const char* name, int seconds) {
  const std::string path = (std::filesystem::temp_directory_path() / name).string();
  const std::vector<std::int16_t> music = Music(seconds * static_cast<int>(kRate));
  std::FILE* f = std::fopen(path.c_str(), "wb");
  std::uint8_t h[44] = {};
  const std::uint32_t data = static_cast<std::uint32_t>(music.size() * 2);
  std::memcpy(h, "RIFF", 4);
  vk::StoreLE32(h + 4, 36 + data);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  vk::StoreLE32(h + 16, 16);
  vk::StoreLE16(h + 20, 1);
  vk::StoreLE16(h + 22, 2);
  vk::StoreLE32(h + 24, kRate);
  vk::StoreLE32(h + 28, kRate * 4);
  vk::StoreLE16(h + 32, 4);
  vk::StoreLE16(h + 34, 16);
  std::memcpy(h + 36, "data", 4);
  vk::StoreLE32(h + 40, data);
  std::fwrite(h, 1, sizeof h, f);
  std::fwrite(music.data(), 2, music.size(), f);
  std::fclose(f);
  return path;
}

void EveryEffectOn(int reverb_lines) {
  vk::gSettings.PsftOnOff = 1;
  vk::gSettings.ToneOnOff = 1;
  vk::gSettings.ChrsOnOff = 1;
  vk::gSettings.DlayOnOff = 1;
  vk::gSettings.RvrbOnOff = 1;
  vk::gSettings.RvrbDelayTap = reverb_lines;
}

// The chain as FillBlock runs it, from the ring on: volume, time base, every
// effect, balance. The refill pass's device bookkeeping is left out.
void BM_WholeChain20Lines(benchmark::State& state) {
  static const std::string wav = WriteWav("vk-bench-effects-20s.wav", 20);
  vk::ResetSettings(vk::gSettings);
  EveryEffectOn(20);
  vk::gSettings.PsftPitch1 = 5;
  vk::gSettings.PsftPitch2 = -7;
  vk::gSettings.Psft2Ratio = 40;
  vk::WaveOutChoice discard;
  vk::ParseWaveOutChoice("wav:/dev/null", &discard);
  const auto player = std::make_unique<vk::Player>();
  player->Output = discard;
  vk::PlayEngine& e = player->Engine;
  vk::PublishPlaySettings(*player);
  if (vk::EngineOpen(*player, wav.c_str()) != 0) {
    state.SkipWithError("cannot open the test file");
    return;
  }
  for (auto _ : state) {
    const vk::BlockResult b = vk::FillBlock(e, 0);
    if (b.exhausted || b.taken < b.requested) {
      state.PauseTiming();
      vk::EngineSeek(e, 0, vk::kSeekTo);
      state.ResumeTiming();
    }
  }
  RealTime(state, kBlockSeconds);
  vk::EngineClose(e);
}
BENCHMARK(BM_WholeChain20Lines)->Unit(benchmark::kMicrosecond);

// The case the speed goal is set for: 75 % speed, both pitch voices, the
// vocal-cancel tone, chorus, delay and 20 reverb lines, through the splice
// stretch and voices (quality 0; the high-quality case follows it).
void EveryEffectAtSeventyFivePercent(int quality = 0) {
  EveryEffectOn(20);
  vk::gSettings.TmstQuality = quality;
  vk::gSettings.PsftQuality = quality;
  vk::gSettings.Speed = 10;
  vk::gSettings.PsftPitch1 = 5;
  vk::gSettings.PsftPitch2 = -7;
  vk::gSettings.Psft2Ratio = 40;
  vk::gSettings.ToneLowWidth = 99;
  vk::gSettings.ToneLowDepth = 3;
  vk::gSettings.ToneLowStereo = 0;
  vk::gSettings.ToneMidDepth = -22;
  vk::gSettings.ToneMidStereo = 30;
  vk::gSettings.ToneHghWidth = 50;
  vk::gSettings.ToneHghDepth = -18;
  vk::gSettings.ToneHghStereo = 12;
}

enum class ExportCase { kDefaults, kEveryEffect, kEveryEffectAt75, kEveryEffectAt75Hq };

// One minute exported through the play thread as velkaris-cli export does.
void Export(benchmark::State& state, ExportCase which) {
  static const std::string wav = WriteWav("vk-bench-effects-60s.wav", 60);
  const std::string out = (std::filesystem::temp_directory_path() / "vk-bench-export.wav").string();
  vk::WaveOutChoice file;
  vk::ParseWaveOutChoice("wav:" + out, &file);
  const auto player = std::make_unique<vk::Player>();
  player->Output = file;
  for (auto _ : state) {
    vk::ResetSettings(vk::gSettings);
    if (which == ExportCase::kEveryEffect) EveryEffectOn(8);
    if (which == ExportCase::kEveryEffectAt75) EveryEffectAtSeventyFivePercent();
    if (which == ExportCase::kEveryEffectAt75Hq) EveryEffectAtSeventyFivePercent(1);
    vk::MessageQueue queue;
    if (vk::StartPlayback(*player, wav.c_str(), &queue) != 0) {
      state.SkipWithError("cannot start");
      return;
    }
    for (;;) {
      vk::QueuedMessage m;
      if (!queue.Take(&m, std::chrono::milliseconds(20))) continue;
      if (m.message == vk::kMsgPlayEnd || m.message == vk::kMsgPlayError) break;
      if (m.message == vk::kMsgPlayPosition) {
        vk::AcknowledgePosition(*player);
      } else {
        vk::AcknowledgeReport(player->Mailbox);
      }
    }
    vk::EndPlayback(*player);
  }
  RealTime(state, 60.0);
  std::filesystem::remove(out);
}

void BM_ExportMinuteDefaults(benchmark::State& state) { Export(state, ExportCase::kDefaults); }
BENCHMARK(BM_ExportMinuteDefaults)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_ExportMinuteEveryEffect(benchmark::State& state) { Export(state, ExportCase::kEveryEffect); }
BENCHMARK(BM_ExportMinuteEveryEffect)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_ExportMinuteEveryEffectAt75(benchmark::State& state) {
  Export(state, ExportCase::kEveryEffectAt75);
}
BENCHMARK(BM_ExportMinuteEveryEffectAt75)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2);

void BM_ExportMinuteEveryEffectAt75HighQuality(benchmark::State& state) {
  Export(state, ExportCase::kEveryEffectAt75Hq);
}
BENCHMARK(BM_ExportMinuteEveryEffectAt75HighQuality)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
