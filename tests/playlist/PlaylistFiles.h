// Small audio files for the playlist tests.
#pragma once

#include <cstdint>
#include <string>

#include "playlist/PlaylistAdd.h"
#include "support/TestFiles.h"

namespace vktest {

// An 8-bit mono PCM WAV of `frames` samples at `rate` Hz.
void WritePcmWav(const std::string& path, std::uint32_t rate, std::uint32_t frames);

// A copy of the tagged 2-second MPEG fixture ("Sine Title", "Sine Artist").
void CopyTaggedMp3(const std::string& path);

// Text that no reader accepts.
void WriteBroken(const std::string& path);

// A list with its adding state and no progress dialog.
struct AddFixture {
  vk::PlaylistModel list;
  vk::AddingState state;
  vk::AddContext ctx{list, state};
};

}  // namespace vktest
