// Lyrics for an audio file: the lyrics file beside it when one opens (a .kra
// or .lrc still wins), else the lyrics stored in the audio file itself
// (Vorbis LYRICS / UNSYNCEDLYRICS, MP4 ©lyr, ID3v2 USLT), read through
// FFmpeg's metadata. Timed text keeps its timing; plain text is one block.
#pragma once

#include <string>

#include "display/Lyrics.h"

namespace vk {

// The embedded lyrics text of `audio_path` (UTF-8), empty when it has none.
std::string EmbeddedLyricsText(const std::string& audio_path);

// LoadLyrics, then the embedded lyrics when no lyrics file stands beside the
// audio file; Lyrics.Path is then the audio file's own path.
int LoadLyricsOrEmbedded(Lyrics& lyrics, const std::string& audio_path);

}  // namespace vk
