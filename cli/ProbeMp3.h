// The MPEG audio record's facts after a full open, as Name=value lines.
#pragma once

#include "audio/StreamRecord.h"

namespace vk::cli {

void PrintMp3Facts(const MP3Set& mp3);

}  // namespace vk::cli
