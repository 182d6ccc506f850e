// The MPEG audio record's facts after a full open, as Name=value lines.
#pragma once

#include "audio/StreamRecord.h"

namespace vk::cli {

// A format record as prefix + field name lines (prefix such as "wfxSrc.").
void PrintWaveFormat(const char* prefix, const WaveFormatEx& format);

void PrintMp3Facts(const MP3Set& mp3);

}  // namespace vk::cli
