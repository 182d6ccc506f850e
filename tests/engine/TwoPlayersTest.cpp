// Two players in one process share nothing on the play path: each plays its own
// file into its own WAV output at the same time, and each file comes out as it
// does when its player runs alone.
#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "common/Settings.h"
#include "engine/EngineTestSupport.h"
#include "engine/Player.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

vktest::Samples Tone(std::int32_t frames, int period) {
  vktest::Samples s(2 * static_cast<std::size_t>(frames));
  for (std::int32_t i = 0; i < frames; ++i) {
    s[2 * i] = static_cast<std::int16_t>((i % period) * 600 - 9000);
    s[2 * i + 1] = static_cast<std::int16_t>(((i * 7) % period) * 300 - 4000);
  }
  return s;
}

TEST(TwoPlayersTest, PlayingAtOnceWritesWhatEachWritesAlone) {
  vktest::UnitySettings();
  // Effects with state between blocks: a shared state would mix the files.
  gSettings.Speed = 10;  // 75 %
  gSettings.ChrsOnOff = 1;
  gSettings.DlayOnOff = 1;
  gSettings.RvrbOnOff = 1;
  gSettings.ToneOnOff = 1;
  vktest::TempDir dir;
  vktest::WriteWav(dir.File("a.wav"), 8000, Tone(12000, 31));
  vktest::WriteWav(dir.File("b.wav"), 11025, Tone(15000, 57));
  const auto a = std::make_unique<Player>();
  const auto b = std::make_unique<Player>();

  const auto alone_a = vktest::PlayToEnd(*a, dir.File("a.wav"), "wav:" + dir.File("a1.wav"));
  const auto alone_b = vktest::PlayToEnd(*b, dir.File("b.wav"), "wav:" + dir.File("b1.wav"));
  ASSERT_EQ(alone_a.start_code, 0);
  ASSERT_EQ(alone_b.start_code, 0);

  vktest::PlayRun together_b;
  std::thread other([&] {
    together_b = vktest::PlayToEnd(*b, dir.File("b.wav"), "wav:" + dir.File("b2.wav"));
  });
  const auto together_a = vktest::PlayToEnd(*a, dir.File("a.wav"), "wav:" + dir.File("a2.wav"));
  other.join();
  ASSERT_EQ(together_a.start_code, 0);
  ASSERT_EQ(together_b.start_code, 0);
  EXPECT_FALSE(together_a.timed_out);
  EXPECT_FALSE(together_b.timed_out);
  EXPECT_FALSE(a->OutStatus.WavOutputFailed);
  EXPECT_FALSE(b->OutStatus.WavOutputFailed);

  const vktest::Bytes a1 = vktest::ReadFile(dir.File("a1.wav"));
  const vktest::Bytes b1 = vktest::ReadFile(dir.File("b1.wav"));
  ASSERT_GT(a1.size(), 44u + 4 * 12000);
  ASSERT_NE(a1, b1);
  EXPECT_EQ(vktest::ReadFile(dir.File("a2.wav")), a1);
  EXPECT_EQ(vktest::ReadFile(dir.File("b2.wav")), b1);
}

}  // namespace
}  // namespace vk
