#include "audio/Codec.h"

#include <mpg123.h>

#include <mutex>
#include <new>

namespace vk {

struct CodecStream {
  mpg123_handle* mh = nullptr;
  ~CodecStream() {
    if (mh != nullptr) mpg123_delete(mh);
  }
};

void CodecStreamDeleter::operator()(CodecStream* stream) const noexcept { delete stream; }

namespace {

bool LibraryReady() {
  static std::once_flag once;
  static bool ok = false;
  std::call_once(once, [] { ok = mpg123_init() == MPG123_OK; });
  return ok;
}

int Mpg123Channels(std::uint16_t channels) { return channels == 1 ? MPG123_MONO : MPG123_STEREO; }

// Rate and channel count must come out as the file has them: the reader
// counts samples by the file's own rate and duplicates mono itself.
bool SetOutputFormat(mpg123_handle* mh, const WaveFormatEx& pcm) {
  return mpg123_format_none(mh) == MPG123_OK &&
         mpg123_format(mh, static_cast<long>(pcm.nSamplesPerSec), Mpg123Channels(pcm.nChannels),
                       MPG123_ENC_SIGNED_16) == MPG123_OK;
}

}  // namespace

int CodecFormatSuggest(const MpegLayer3WaveFormat& mpeg, WaveFormatEx& pcm) {
  if (!LibraryReady()) return 1;
  const std::uint16_t channels = mpeg.wfx.nChannels;
  const std::uint32_t rate = mpeg.wfx.nSamplesPerSec;
  if (channels < 1 || channels > 2) return 1;
  mpg123_handle* mh = mpg123_new(nullptr, nullptr);
  if (mh == nullptr) return 1;
  const int support = mpg123_format_support(mh, static_cast<long>(rate), MPG123_ENC_SIGNED_16);
  mpg123_delete(mh);
  if ((support & Mpg123Channels(channels)) == 0) return 1;
  pcm.nChannels = channels;
  pcm.nSamplesPerSec = rate;
  pcm.wBitsPerSample = 16;
  pcm.nBlockAlign = static_cast<std::uint16_t>(channels * 2);
  pcm.nAvgBytesPerSec = pcm.nBlockAlign * rate;
  pcm.cbSize = 0;
  return 0;
}

int CodecStreamOpen(CodecStreamHandle& stream, const MpegLayer3WaveFormat& mpeg, const WaveFormatEx& pcm) {
  stream.reset();
  if (!LibraryReady() || mpeg.wfx.nChannels != pcm.nChannels) return 1;
  CodecStreamHandle s(new (std::nothrow) CodecStream);
  if (!s) return 1;
  s->mh = mpg123_new(nullptr, nullptr);
  if (s->mh == nullptr) return 1;
  // Whole frames are fed one at a time, so the decoder need not wait for the
  // next header before it yields a frame; gapless trimming and the info-frame
  // skip would hide samples the frame table counts.
  const long add = MPG123_QUIET | MPG123_IGNORE_INFOFRAME | MPG123_NO_READAHEAD |
                   MPG123_IGNORE_STREAMLENGTH | MPG123_SKIP_ID3V2;
  const long remove = MPG123_GAPLESS | MPG123_AUTO_RESAMPLE;
  if (mpg123_param(s->mh, MPG123_ADD_FLAGS, add, 0) != MPG123_OK ||
      mpg123_param(s->mh, MPG123_REMOVE_FLAGS, remove, 0) != MPG123_OK ||
      !SetOutputFormat(s->mh, pcm) || mpg123_open_feed(s->mh) != MPG123_OK) {
    return 1;
  }
  stream = std::move(s);
  return 0;
}

int CodecStreamPrepareHeader(CodecStream& stream, CodecStreamHeader& header) {
  if (stream.mh == nullptr || header.pbSrc == nullptr || header.pbDst == nullptr) return 1;
  header.prepared = true;
  header.cbDstLengthUsed = 0;
  return 0;
}

int CodecStreamConvert(CodecStream& stream, CodecStreamHeader& header) {
  if (!header.prepared) return 1;
  header.cbDstLengthUsed = 0;
  if (mpg123_feed(stream.mh, header.pbSrc, header.cbSrcLength) != MPG123_OK) return 1;
  std::size_t used = 0;
  for (;;) {
    std::size_t done = 0;
    const int r = mpg123_read(stream.mh, header.pbDst + used, header.cbDstLength - used, &done);
    used += done;
    if (r == MPG123_NEW_FORMAT) continue;
    if (r == MPG123_NEED_MORE || r == MPG123_DONE) break;
    if (r != MPG123_OK) return 1;
    if (used >= header.cbDstLength || done == 0) break;
  }
  header.cbDstLengthUsed = static_cast<std::uint32_t>(used);
  return 0;
}

void CodecStreamUnprepareHeader(CodecStream&, CodecStreamHeader& header) { header.prepared = false; }

int CodecStreamReset(CodecStream& stream) {
  // Re-opening the feed closes the old stream on the same handle: the frame
  // decoder's state is cleared and its buffers are kept.
  if (stream.mh == nullptr) return 1;
  return mpg123_open_feed(stream.mh) == MPG123_OK ? 0 : 1;
}

void CodecStreamClose(CodecStreamHandle& stream) { stream.reset(); }

}  // namespace vk
