// The decoder layer the MPEG reader converts frames through: format
// suggestion, stream open, header prepare, convert one frame, unprepare and
// close, each answering 0 for success. Backed by libmpg123 in feed mode with
// nothing trimmed or skipped: the Xing/Info frame is decoded like any frame
// and the decoder's start-up delay stays in the output.
#pragma once

#include <cstdint>

#include "audio/StreamRecord.h"

namespace vk {

// One conversion: a whole frame in, the PCM it yields out.
struct CodecStreamHeader {
  const std::uint8_t* pbSrc = nullptr;
  std::uint32_t cbSrcLength = 0;
  std::uint8_t* pbDst = nullptr;
  std::uint32_t cbDstLength = 0;
  std::uint32_t cbDstLengthUsed = 0;  // set by convert; never above cbDstLength
  bool prepared = false;
};

// Completes `pcm` (tag, channels and rate kept) as the 16-bit PCM the decoder
// yields for `mpeg`; nonzero when the decoder cannot produce it.
int CodecFormatSuggest(const MpegLayer3WaveFormat& mpeg, WaveFormatEx& pcm);

// Opens a decoder stream from `mpeg` to `pcm` into `stream`; nonzero on failure
// (and `stream` stays empty).
int CodecStreamOpen(CodecStreamHandle& stream, const MpegLayer3WaveFormat& mpeg, const WaveFormatEx& pcm);

int CodecStreamPrepareHeader(CodecStream& stream, CodecStreamHeader& header);

// Feeds the header's source bytes and collects what the decoder yields into
// the destination, at most cbDstLength bytes; the rest waits for the next call.
int CodecStreamConvert(CodecStream& stream, CodecStreamHeader& header);

void CodecStreamUnprepareHeader(CodecStream& stream, CodecStreamHeader& header);

// Empties the stream as if it had just been opened (no input held, no
// bit reservoir, no output pending) without allocating; nonzero on failure.
int CodecStreamReset(CodecStream& stream);

void CodecStreamClose(CodecStreamHandle& stream);

}  // namespace vk
