// Small audio files made by the Debian ffmpeg and flac tools for the reader's
// tests, and whole-file decodes to compare them by.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/FfmpegReader.h"

namespace vktest {

// Runs `ffmpeg -v error -y ARGS`; true when it succeeded.
inline bool Ffmpeg(const std::string& args) {
  return std::system(("ffmpeg -nostdin -v error -y " + args + " >/dev/null 2>&1").c_str()) == 0;
}

// A noise-like stereo source (two detuned chirps), exactly `frames` frames.
inline std::string Source(int rate, int frames, const std::string& extra = "") {
  return "-f lavfi -i \"aevalsrc=sin(2*PI*(300+900*t)*t)*0.6|cos(2*PI*(520+700*t)*t)*0.5:s=" +
         std::to_string(rate) + ":d=" + std::to_string(static_cast<double>(frames) / rate) + "\" " + extra;
}

// Every delivered frame from the current position to the end, as 16-bit stereo samples.
inline std::vector<std::int16_t> DecodeRest(vk::FFSet& ff, int chunk = 4096) {
  std::vector<std::int16_t> out;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(chunk) * 4);
  int end = 0;
  while (!end) {
    if (vk::FfRead(ff, chunk, buf.data(), &end) != 0) break;
    const auto* s = reinterpret_cast<const std::int16_t*>(buf.data());
    out.insert(out.end(), s, s + 2 * ff.ReadSmpl);
    if (ff.ReadSmpl == 0) break;
  }
  return out;
}

}  // namespace vktest
