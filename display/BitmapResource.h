// Bitmap resources: the pictures the program draws with but does not compute
// (digits, status glyphs, side panels, scale labels), stored as 24-bit BMP files
// named after their resources ("Vk_BMP_NUM" -> Vk_BMP_NUM.bmp) in the resource
// folder beside the program.
#pragma once

#include <string>

#include "display/PixelBuffer.h"

namespace vk {

// LoadBitmapResource results.
inline constexpr int kBmpOk = 0;
inline constexpr int kBmpIncomplete = 1;  // the buffer has no pixels
inline constexpr int kBmpZeroSize = 2;
inline constexpr int kBmpNotFound = 5;
inline constexpr int kBmpBadFile = 7;     // not a 24-bit uncompressed BMP of the buffer's size
inline constexpr int kBmpReadFailed = 8;

// Reads `dir`/`name`.bmp into `buf`, already created at the bitmap's size.
int LoadBitmapResource(PixelBuffer& buf, const std::string& dir, const char* name);

// Creates `buf` at width x height and loads the resource into it; on failure
// the buffer is freed, so drawing with it is refused.
int CreateAndLoadBitmap(PixelBuffer& buf, const std::string& dir, const char* name, int width,
                        int height);

}  // namespace vk
