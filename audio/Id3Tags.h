// ID3v1 and ID3v2 tags of an MPEG audio file: the five texts the playlist
// shows, and the length of everything in front of the first frame.
#pragma once

#include <cstddef>
#include <cstdint>

#include "audio/BufferedFile.h"
#include "audio/StreamRecord.h"

namespace vk {

// The ID3v1 tag in the last 128 bytes. Returns 0 (tag or no tag) or an open
// code (5, 6).
int ReadId3v1(BufferedFile& in, std::int32_t file_size, Id3v1Tag& tag);

// Scans the stream data from `stream_start` for ID3v2 tags and the first frame
// header; tag.Size becomes the bytes in front of that header. Returns 0 or an
// open code (4, 5, 6).
int ScanId3v2(BufferedFile& in, std::int32_t stream_start, std::int32_t file_size, Id3v2Tag& tag);

// Reads the text frames of one tag body held in memory (`size` bytes after the
// 10-byte tag header). The body is changed in place by unsynchronisation.
// Damaged frames only end the walk.
void ReadId3v2Frames(std::uint8_t* body, std::size_t size, std::uint8_t major,
                     std::uint8_t revision, std::uint8_t flags, Id3v2Tag& tag);

}  // namespace vk
