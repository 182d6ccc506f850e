// Helpers for the engine tests: synthetic WAV files, a playback driven to its
// end the way the window drives it, and the frames a wav-backend run wrote.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/MessageQueue.h"
#include "engine/Player.h"

namespace vktest {

using Samples = std::vector<std::int16_t>;  // interleaved left, right

// A 16-bit stereo (or, with channels = 1, mono) PCM WAV file. `claim_extra`
// adds bytes to the data chunk's size that the file does not hold.
void WriteWav(const std::string& path, std::uint32_t rate_hz, const Samples& samples,
              int channels = 2, std::uint32_t claim_extra = 0);

// Frames left = i, right = -i (wrapping), distinct enough to catch any slip.
Samples Ramp(std::int32_t frames);

// The data of a 16-bit stereo WAV file written by the wav backend.
Samples ReadWavData(const std::string& path);

struct Report {
  std::uint32_t message;
  std::intptr_t wparam;
  std::intptr_t lparam;
};

// Called with each report before it is acknowledged; return false to stop
// playback there.
using ReportHook = std::function<bool(const Report&)>;

struct PlayRun {
  int start_code = 0;
  std::vector<Report> reports;
  bool timed_out = false;
};

// Resets the settings to their defaults with unity gain (Volume 15), the
// shortest sleep and small buffers; tests change what they need afterwards.
void UnitySettings();

// The player the engine tests share (each test runs alone in its process's
// main thread); tests that need two make their own.
vk::Player& TestPlayer();

// Plays `path` to the wav backend (or "null") through `player`'s play thread,
// until 0x8005, 0x8006, the hook says stop or `limit` passes.
PlayRun PlayToEnd(vk::Player& player, const std::string& path, const std::string& audio,
                  const ReportHook& hook = nullptr,
                  std::chrono::milliseconds limit = std::chrono::milliseconds(20000));
// The same on TestPlayer().
PlayRun PlayToEnd(const std::string& path, const std::string& audio,
                  const ReportHook& hook = nullptr,
                  std::chrono::milliseconds limit = std::chrono::milliseconds(20000));

int Count(const PlayRun& run, std::uint32_t message);

}  // namespace vktest
