// RIFF containers around MPEG audio: "WAVE" with format tag 85, and "RMP3".
#pragma once

#include <cstdint>

#include "audio/BufferedFile.h"

namespace vk {

// Both return 0 or an open code (5-11). A file that is not RIFF (too short, or
// not starting with "RIFF") passes with riff_header_size left at 0; otherwise
// riff_header_size becomes the offset of the last "data" chunk's contents.
int CheckRiffWave(BufferedFile& in, std::int32_t file_size, std::int32_t& riff_header_size);
int CheckRiffRmp3(BufferedFile& in, std::int32_t file_size, std::int32_t& riff_header_size);

}  // namespace vk
