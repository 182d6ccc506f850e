#include "engine/EngineTestSupport.h"

#include <cstring>

#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "engine/WaveOut.h"
#include "support/TestFiles.h"
#include "support/WavFiles.h"

namespace vktest {

void WriteWav(const std::string& path, std::uint32_t rate_hz, const Samples& samples, int channels,
              std::uint32_t claim_extra) {
  Bytes data;
  for (std::int16_t s : samples) PutU16(data, static_cast<std::uint16_t>(s));
  WriteFile(path, Pcm16Wav(static_cast<std::uint16_t>(channels), rate_hz, data, claim_extra));
}

Samples Ramp(std::int32_t frames) {
  Samples s(2 * static_cast<std::size_t>(frames));
  for (std::int32_t i = 0; i < frames; ++i) {
    s[2 * i] = static_cast<std::int16_t>(i);
    s[2 * i + 1] = static_cast<std::int16_t>(-i);
  }
  return s;
}

Samples ReadWavData(const std::string& path) {
  const Bytes b = ReadFile(path);
  if (b.size() < 44) return {};
  Samples s((b.size() - 44) / 2);
  std::memcpy(s.data(), b.data() + 44, s.size() * 2);
  return s;
}

void UnitySettings() {
  vk::ResetSettings(vk::gSettings);
  vk::gSettings.Volume = 15;
  vk::gSettings.NowPlayThreadSleepItem = 0;  // 1 ms
  vk::gSettings.NowLenWaveBufItem = 0;       // 100 ms
  vk::gSettings.NowNumWaveBufItem = 2;       // 4 buffers
}

vk::Player& TestPlayer() {
  static vk::Player player;
  return player;
}

PlayRun PlayToEnd(const std::string& path, const std::string& audio, const ReportHook& hook,
                  std::chrono::milliseconds limit) {
  return PlayToEnd(TestPlayer(), path, audio, hook, limit);
}

PlayRun PlayToEnd(vk::Player& player, const std::string& path, const std::string& audio,
                  const ReportHook& hook, std::chrono::milliseconds limit) {
  PlayRun run;
  vk::WaveOutChoice choice;
  vk::ParseWaveOutChoice(audio, &choice);
  player.Output = choice;
  vk::MessageQueue queue;
  run.reports.reserve(4096);
  run.start_code = vk::StartPlayback(player, path.c_str(), &queue);
  if (run.start_code != 0) return run;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (std::chrono::steady_clock::now() > deadline) {
      run.timed_out = true;
      vk::StopPlayback(player);
      return run;
    }
    vk::QueuedMessage m;
    if (!queue.Take(&m, std::chrono::milliseconds(20))) continue;
    const Report r{m.message, m.wparam, m.lparam};
    if (run.reports.size() < run.reports.capacity()) run.reports.push_back(r);
    const bool go_on = hook ? hook(r) : true;
    if (m.message == vk::kMsgPlayEnd || m.message == vk::kMsgPlayError) {
      vk::EndPlayback(player);
      return run;
    }
    if (m.message == vk::kMsgSourceEnd) vk::AcknowledgeReport(player.Mailbox);
    if (m.message == vk::kMsgPlayPosition) vk::AcknowledgePosition(player);
    if (!go_on) {
      vk::StopPlayback(player);
      return run;
    }
  }
}

int Count(const PlayRun& run, std::uint32_t message) {
  int n = 0;
  for (const Report& r : run.reports) n += r.message == message ? 1 : 0;
  return n;
}

}  // namespace vktest
