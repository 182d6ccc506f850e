// The facts about the playing file that the picture shows (formats, path,
// caption, format line), handed from the thread that opens and closes files to
// the draw thread. The stream records change while a file is opened or closed;
// rather than read them at any moment, the draw thread copies this record, and
// only when its generation has moved.
//
// Thread contract: Publish and Clear run on the thread that starts and stops
// playback (the window, or the CLI), after the open has answered and before
// the close; the draw thread calls CopyNowPlaying at each frame. `lock` guards
// the fields; `generation` is bumped (release) after each change.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "common/Text.h"

namespace vk {

struct PlayEngine;

struct NowPlayingFacts {
  std::int32_t OutChannels = 0;  // delivered format; all 0 when nothing plays
  std::int32_t OutBits = 0;
  std::int32_t SrcChannels = 0;  // the file's own format
  std::int32_t SrcBits = 0;
  std::int32_t RateHz = 0;
  char Path[kTextFieldSize] = {};
  char Caption[kTextFieldSize] = {};
  char FormatLine[128] = {};
};

struct NowPlaying {
  std::mutex lock;
  std::atomic<std::uint32_t> generation{0};
  NowPlayingFacts facts;
};

// The facts of the file open in `engine` (its stream records).
void DescribePlayingFile(const PlayEngine& engine, NowPlayingFacts* facts);

void PublishNowPlaying(NowPlaying& now, const PlayEngine& engine);
void ClearNowPlaying(NowPlaying& now);

// Copies the facts when the generation differs from *seen; true when copied.
bool CopyNowPlaying(NowPlaying& now, std::uint32_t* seen, NowPlayingFacts* out);

// The caption: for MP3 the title, artist and album (each the ID3v2 text when
// not empty, else ID3v1), each present one followed by 8 spaces except the
// last; the file name when all are empty, and always for WAV. Cut to 259 bytes
// on a character boundary.
void BuildCaption(const PlayEngine& engine, char* out, std::size_t size);

// "44100Hz  16bits  Stereo  PCM" or, for MP3, version, layer, bit rates and CRC.
void BuildFormatLine(const PlayEngine& engine, char* out, std::size_t size);

}  // namespace vk
