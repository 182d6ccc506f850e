// Writes a picture as an 8-bit RGB PNG file (libpng), top row first.
#pragma once

#include <string>

#include "display/PixelBuffer.h"

namespace vk {

// False when the buffer has no pixels or the file cannot be written.
bool WritePng(const PixelBuffer& buf, const std::string& path);

}  // namespace vk
