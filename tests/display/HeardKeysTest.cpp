// The keys from the sound as heard: with the option on, the analysis reads the
// device stream after the effects, so a tone transposed an octave up lights
// the key an octave up; with it off, the file's own key.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>

#include "common/MessageSink.h"
#include "common/Settings.h"
#include "display/SpectrumKeys.h"
#include "engine/MessageQueue.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "engine/Player.h"
#include "support/WavFiles.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kRate = 44100;
constexpr int kA4 = 69;
constexpr int kA5 = 81;

// A stereo A4 of `seconds` at half scale.
std::string WriteA4(const vktest::TempDir& dir, double seconds) {
  const int frames = static_cast<int>(seconds * kRate);
  vktest::Bytes data;
  data.reserve(static_cast<std::size_t>(frames) * 4);
  for (int i = 0; i < frames; ++i) {
    const auto v = static_cast<std::int16_t>(std::lround(16000 * std::sin(2 * kPi * 440.0 * i / kRate)));
    for (int ch = 0; ch < 2; ++ch) {
      data.push_back(static_cast<std::uint8_t>(v & 0xFF));
      data.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
    }
  }
  const std::string path = dir.File("a4.wav");
  vktest::WriteFile(path, vktest::Pcm16Wav(2, kRate, data));
  return path;
}

struct KeyLevels {
  int a4 = -200;
  int a5 = -200;
};

// Plays `path` in real time with the pitch shift an octave up and analyses one
// frame about a second in, from the file's frames and from the heard sound.
void AnalyseShiftedPlayback(const std::string& path, KeyLevels* source, KeyLevels* heard) {
  vk::ResetSettings(vk::gSettings);
  vk::gSettings.NowPlayThreadSleepItem = 0;
  vk::gSettings.NowLenWaveBufItem = 0;
  vk::gSettings.NowNumWaveBufItem = 2;
  vk::gSettings.PsftOnOff = 1;
  vk::gSettings.PsftPitch1 = 12;
  vk::Player player;
  vk::ParseWaveOutChoice("null", &player.Output);
  vk::MessageQueue queue;
  ASSERT_EQ(vk::StartPlayback(player, path.c_str(), &queue), 0);

  vk::Analysis a;
  ASSERT_TRUE(vk::AnalysisStart(a));
  vk::AnalysisInput in;
  in.fft_item = 3;
  in.out_channels = 2;
  in.out_bits = 16;
  in.src_bits = 16;
  in.rate_hz = kRate;
  in.bmp_octave = 3;
  in.channel_select = 2;

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool done = false;
  while (!done && std::chrono::steady_clock::now() < deadline) {
    vk::QueuedMessage m;
    if (!queue.Take(&m, std::chrono::milliseconds(20))) continue;
    if (m.message == vk::kMsgSourceEnd) vk::AcknowledgeReport(player.Mailbox);
    if (m.message == vk::kMsgPlayPosition) {
      const std::int32_t now = player.Engine.NowPlaySmpl.load();
      if (now > kRate) {
        in.total_frames = player.Engine.TotalSmpl.load();
        in.position = now;
        in.heard = 0;
        vk::AnalyseFrame(a, in, &player.Engine);
        *source = KeyLevels{a.KeyLevel[kA4], a.KeyLevel[kA5]};
        in.heard = 1;
        vk::AnalyseFrame(a, in, &player.Engine);
        *heard = KeyLevels{a.KeyLevel[kA4], a.KeyLevel[kA5]};
        done = true;
      }
      vk::AcknowledgePosition(player);
    }
    if (m.message == vk::kMsgPlayEnd || m.message == vk::kMsgPlayError) break;
  }
  vk::StopPlayback(player);
  EXPECT_TRUE(done) << "playback never got a second in";
}

TEST(HeardKeysTest, APitchShiftedToneLightsTheShiftedKeyOnlyWhenTheHeardSoundIsAnalysed) {
  vktest::TempDir dir;
  KeyLevels source;
  KeyLevels heard;
  AnalyseShiftedPlayback(WriteA4(dir, 4.0), &source, &heard);
  // The file's frames: A4 sounds, A5 does not.
  EXPECT_GT(source.a4, source.a5 + 20) << source.a4 << " " << source.a5;
  // What is heard: the octave up.
  EXPECT_GT(heard.a5, heard.a4 + 10) << heard.a4 << " " << heard.a5;
  EXPECT_GT(heard.a5, -30);
}

TEST(HeardKeysTest, NothingOpenTapsSilence) {
  vk::PlayEngine engine;
  std::int16_t frames[2 * 64];
  for (std::int16_t& s : frames) s = 123;
  vk::HeardTap(engine, 64, frames);
  for (std::int16_t s : frames) EXPECT_EQ(s, 0);
}

}  // namespace
