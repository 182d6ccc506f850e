#include "audio/FfmpegReader.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <numeric>
#include <new>

#include "common/Text.h"

namespace vk {
namespace {

// One owner per FFmpeg object, each freed by its own call.
struct FormatFree {
  void operator()(AVFormatContext* p) const noexcept { avformat_close_input(&p); }
};
struct CodecFree {
  void operator()(AVCodecContext* p) const noexcept { avcodec_free_context(&p); }
};
struct SwrFree {
  void operator()(SwrContext* p) const noexcept { swr_free(&p); }
};
struct PacketFree {
  void operator()(AVPacket* p) const noexcept { av_packet_free(&p); }
};
struct FrameFree {
  void operator()(AVFrame* p) const noexcept { av_frame_free(&p); }
};
struct IoFree {
  void operator()(AVIOContext* p) const noexcept {
    if (p != nullptr) av_freep(&p->buffer);
    avio_context_free(&p);
  }
};

// Bytes in memory read through an I/O context (the fuzz target's input).
struct MemorySource {
  const std::uint8_t* data = nullptr;
  std::int64_t size = 0;
  std::int64_t pos = 0;
};

int MemoryRead(void* opaque, std::uint8_t* buf, int size) {
  auto* m = static_cast<MemorySource*>(opaque);
  const std::int64_t n = std::min<std::int64_t>(size, m->size - m->pos);
  if (n <= 0) return AVERROR_EOF;
  std::memcpy(buf, m->data + m->pos, static_cast<std::size_t>(n));
  m->pos += n;
  return static_cast<int>(n);
}

std::int64_t MemorySeek(void* opaque, std::int64_t offset, int whence) {
  auto* m = static_cast<MemorySource*>(opaque);
  if (whence & AVSEEK_SIZE) return m->size;
  std::int64_t to = offset;
  switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET: break;
    case SEEK_CUR: to += m->pos; break;
    case SEEK_END: to += m->size; break;
    default: return AVERROR(EINVAL);
  }
  if (to < 0 || to > m->size) return AVERROR(EINVAL);
  m->pos = to;
  return to;
}

constexpr int kIoBufferBytes = 32768;
constexpr int kPendFrames = 16384;            // converted frames held between reads
constexpr std::uint32_t kHighestRate = 48000;  // faster sources are resampled to it
constexpr std::uint32_t kLowestRate = 8000;    // slower sources are resampled up to it
// Source frames decoded ahead of a seek target in a lossy stream. Opus's band
// energies are predicted from the frame before and settle only gradually:
// after its declared 80 ms a frame still differs by up to 6 steps, after half
// a second by none.
constexpr std::int64_t kLossyPreroll = 24000;
constexpr std::int64_t kResamplerFilter = 64;  // source frames the resampler's filter reaches back
constexpr std::int64_t kLongestPhase = 4096;   // longer resampler cycles are not realigned

}  // namespace

struct FfmpegStream {
  MemorySource memory;
  std::unique_ptr<AVIOContext, IoFree> io;  // only for bytes in memory
  std::unique_ptr<AVFormatContext, FormatFree> fmt;
  std::unique_ptr<AVCodecContext, CodecFree> dec;
  std::unique_ptr<SwrContext, SwrFree> swr;
  std::unique_ptr<AVPacket, PacketFree> pkt;
  std::unique_ptr<AVFrame, FrameFree> frame;
  std::unique_ptr<std::int16_t[]> pend;  // converted frames, pend_ch samples each
  std::unique_ptr<const std::uint8_t*[]> planes;  // the held frame's planes from held_off
  int channels = 0;                               // the decoder's, as the converter expects them
  int sample_format = 0;
  bool held = false;  // frame holds decoded samples not yet converted
  int held_off = 0;
  int index = -1;
  int pend_ch = 2;
  std::uint32_t src_rate = 0, dst_rate = 0;
  std::int64_t origin = 0;  // the stream's first timestamp
  bool lossless = false;
  std::int32_t pend_len = 0, pend_off = 0;
  bool sent_flush = false, decoder_done = false, swr_flushed = false;
  // After a seek: the position of the next converted frame, known once the
  // first frame's timestamp is seen, and the frames before drop_until dropped.
  bool base_known = true;
  std::int64_t conv_pos = 0, drop_until = 0;
};

void FfmpegStreamDeleter::operator()(FfmpegStream* s) const noexcept { delete s; }

namespace {

// FFmpeg's last complaint on this thread: kept for the refusal message
// instead of being printed over the program's own output.
thread_local char tLastLog[192];

void KeepLastLog(void* avcl, int level, const char* fmt, va_list vl) {
  if (level > AV_LOG_WARNING) return;
  int prefix = 0;
  av_log_format_line2(avcl, level, fmt, vl, tLastLog, sizeof tLastLog, &prefix);
  const std::size_t n = std::strlen(tLastLog);
  for (std::size_t i = 0; i < n; ++i) {
    if (tLastLog[i] == '\n') tLastLog[i] = i + 1 == n ? '\0' : ' ';
  }
}

void QuietLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_callback(KeepLastLog); });
  tLastLog[0] = '\0';
}

void SetError(FFSet& ff, const char* what, int av_code) {
  char reason[AV_ERROR_MAX_STRING_SIZE] = {};
  if (av_code != 0) av_strerror(av_code, reason, sizeof reason);
  std::snprintf(ff.Error, sizeof ff.Error, "%s%s%s%s%s%s", what, av_code != 0 ? ": " : "", reason,
                tLastLog[0] != '\0' ? " (" : "", tLastLog, tLastLog[0] != '\0' ? ")" : "");
}

int Fail(FFSet& ff, int code) {
  char keep[sizeof ff.Error];
  std::memcpy(keep, ff.Error, sizeof keep);
  FfClose(ff);
  std::memcpy(ff.Error, keep, sizeof keep);
  return code;
}

// The first of the container's and the stream's values for `key` (case ignored).
std::string Tag(const AVFormatContext* fmt, const AVStream* st, const char* key, int flags = 0) {
  const AVDictionaryEntry* e = av_dict_get(fmt->metadata, key, nullptr, flags);
  if (e == nullptr) e = av_dict_get(st->metadata, key, nullptr, flags);
  return e != nullptr && e->value != nullptr ? std::string(e->value) : std::string();
}

void ReadTags(FFSet& ff, const AVFormatContext* fmt, const AVStream* st) {
  ff.Title = Tag(fmt, st, "title");
  ff.Artist = Tag(fmt, st, "artist");
  ff.Album = Tag(fmt, st, "album");
  ff.Composer = Tag(fmt, st, "composer");
  ff.Lyricist = Tag(fmt, st, "lyricist");
  // "lyrics" (MP4, Vorbis), "lyrics-eng" (ID3 USLT with its language), "UNSYNCEDLYRICS".
  ff.Lyrics = Tag(fmt, st, "lyrics", AV_DICT_IGNORE_SUFFIX);
  if (ff.Lyrics.empty()) ff.Lyrics = Tag(fmt, st, "unsyncedlyrics");
}

std::uint32_t DeliveredRate(std::uint32_t src) {
  return std::clamp(src, kLowestRate, kHighestRate);
}

std::int64_t Rescale(std::int64_t v, AVRational from, std::int64_t to_rate) {
  return av_rescale_q(v, from, AVRational{1, static_cast<int>(to_rate)});
}

// Frames after the delay and padding the file declares, at the source rate.
std::int64_t SourceLength(const AVFormatContext* fmt, const AVStream* st, std::uint32_t rate) {
  std::int64_t n = 0;
  if (st->duration != AV_NOPTS_VALUE && st->duration > 0) {
    n = Rescale(st->duration, st->time_base, rate);
  } else if (fmt->duration != AV_NOPTS_VALUE && fmt->duration > 0) {
    n = Rescale(fmt->duration, AV_TIME_BASE_Q, rate);
  }
  // Ogg counts Opus's pre-skip in its granule positions; the decoder drops it.
  if (st->codecpar->codec_id == AV_CODEC_ID_OPUS && st->codecpar->initial_padding > 0) {
    n -= Rescale(st->codecpar->initial_padding, AVRational{1, 48000}, rate);
  }
  return std::max<std::int64_t>(n, 0);
}

void FillFormats(FFSet& ff, const AVFormatContext* fmt, const AVStream* st) {
  const AVCodecParameters* par = st->codecpar;
  WaveFormatEx& w = ff.wfxSrc;
  // Inside a WAV file the "fmt " tag (6 A-law, 7 µ-law, 2 ADPCM, ...); other containers have none.
  if (std::strcmp(fmt->iformat->name, "wav") == 0) {
    w.wFormatTag = static_cast<std::uint16_t>(av_codec_get_tag(
        std::array<const AVCodecTag*, 1>{avformat_get_riff_audio_tags()}.data(), par->codec_id));
  }
  w.nChannels = static_cast<std::uint16_t>(par->ch_layout.nb_channels);
  w.nSamplesPerSec = static_cast<std::uint32_t>(par->sample_rate);
  w.wBitsPerSample = static_cast<std::uint16_t>(par->bits_per_raw_sample > 0 ? par->bits_per_raw_sample
                                                                              : par->bits_per_coded_sample);
  w.nBlockAlign = static_cast<std::uint16_t>(std::max(par->block_align, 0));
  std::int64_t bit_rate = par->bit_rate > 0 ? par->bit_rate : fmt->bit_rate;
  const std::int64_t frames = SourceLength(fmt, st, static_cast<std::uint32_t>(std::max(par->sample_rate, 1)));
  if (bit_rate <= 0 && fmt->pb != nullptr && frames > 0) {
    // Opus and other codecs without a nominal rate: the file's average.
    bit_rate = av_rescale(std::max<std::int64_t>(avio_size(fmt->pb), 0), 8LL * par->sample_rate, frames);
  }
  w.nAvgBytesPerSec = static_cast<std::uint32_t>(std::clamp<std::int64_t>(bit_rate / 8, 0, INT32_MAX));
  ff.BitRate = static_cast<std::int32_t>(std::clamp<std::int64_t>((bit_rate + 500) / 1000, 0, INT32_MAX));
  ff.wfxDst = DeliveredFormat(DeliveredRate(w.nSamplesPerSec));
  const char* name = avcodec_get_name(par->codec_id);
  std::size_t i = 0;
  for (; name[i] != '\0' && i + 1 < sizeof ff.Codec; ++i) {
    ff.Codec[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
  }
  ff.Codec[i] = '\0';
}

// A decoder in the state it has at the start of the stream; 0 or FFmpeg's error.
int StartDecoder(FfmpegStream& s, const AVCodec* codec, const AVStream* st) {
  s.dec.reset(avcodec_alloc_context3(codec));
  if (!s.dec) return AVERROR(ENOMEM);
  int r = avcodec_parameters_to_context(s.dec.get(), st->codecpar);
  if (r >= 0) {
    s.dec->pkt_timebase = st->time_base;
    r = avcodec_open2(s.dec.get(), codec, nullptr);
  }
  return r;
}

int OpenDecoder(FFSet& ff, FfmpegStream& s, const AVStream* st) {
  const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
  if (codec == nullptr) {
    SetError(ff, "no decoder for this codec", 0);
    return kFfNoDecoder;
  }
  const int r = StartDecoder(s, codec, st);
  if (r == AVERROR(ENOMEM)) return kFfNoMemory;
  if (r < 0) {
    SetError(ff, "cannot open the decoder", r);
    return kFfNoDecoder;
  }
  const AVCodecDescriptor* d = avcodec_descriptor_get(st->codecpar->codec_id);
  s.lossless = d != nullptr && (d->props & AV_CODEC_PROP_LOSSLESS) != 0;
  return 0;
}

// The converter from the decoder's output to 16-bit mono or stereo at the
// delivered rate; more channels take libswresample's standard downmix. Mono
// stays mono here and is duplicated when copied out, at full level.
int OpenConverter(FFSet& ff, FfmpegStream& s, const AVChannelLayout& layout, int sample_format) {
  AVChannelLayout in{};
  if (layout.order == AV_CHANNEL_ORDER_UNSPEC || layout.nb_channels <= 0) {
    av_channel_layout_default(&in, std::max<int>(layout.nb_channels, ff.wfxSrc.nChannels));
  } else if (av_channel_layout_copy(&in, &layout) < 0) {
    return kFfNoMemory;
  }
  s.pend_ch = in.nb_channels == 1 ? 1 : 2;
  s.channels = in.nb_channels;
  s.sample_format = sample_format;
  s.planes.reset(new (std::nothrow) const std::uint8_t*[static_cast<std::size_t>(std::max(in.nb_channels, 8))]);
  if (!s.planes) {
    av_channel_layout_uninit(&in);
    return kFfNoMemory;
  }
  AVChannelLayout out{};
  av_channel_layout_default(&out, s.pend_ch);
  SwrContext* raw = nullptr;
  int r = swr_alloc_set_opts2(&raw, &out, AV_SAMPLE_FMT_S16, static_cast<int>(s.dst_rate), &in,
                              static_cast<AVSampleFormat>(sample_format), static_cast<int>(s.src_rate), 0, nullptr);
  av_channel_layout_uninit(&in);
  av_channel_layout_uninit(&out);
  s.swr.reset(raw);
  if (r >= 0) r = swr_init(s.swr.get());
  if (r < 0) {
    SetError(ff, "cannot convert this sample layout", r);
    return kFfBadFormat;
  }
  return 0;
}

int OpenWith(FFSet& ff, FfmpegStream* owned, const char* path, FfOpenMode mode) {
  ff.Stream.reset(owned);
  FfmpegStream& s = *owned;
  AVFormatContext* raw = avformat_alloc_context();
  if (raw == nullptr) return Fail(ff, kFfNoMemory);
  if (s.io) raw->pb = s.io.get();
  int r = avformat_open_input(&raw, s.io ? nullptr : path, nullptr, nullptr);  // frees raw on failure
  if (r < 0) {
    SetError(ff, "FFmpeg cannot open the file", r);
    return Fail(ff, kFfCannotOpen);
  }
  s.fmt.reset(raw);
  s.index = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  const AVCodecParameters* par = s.index >= 0 ? raw->streams[s.index]->codecpar : nullptr;
  // The container's headers usually tell everything; probing decodes packets,
  // so it runs only when they do not (or the header left the rate out).
  if (par == nullptr || par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0 ||
      (raw->streams[s.index]->duration == AV_NOPTS_VALUE && raw->duration == AV_NOPTS_VALUE)) {
    r = avformat_find_stream_info(raw, nullptr);
    if (r < 0) {
      SetError(ff, "FFmpeg cannot read the stream", r);
      return Fail(ff, kFfCannotOpen);
    }
    s.index = av_find_best_stream(raw, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  }
  if (s.index < 0) {
    SetError(ff, "no audio stream", 0);
    return Fail(ff, kFfNoAudio);
  }
  AVStream* st = raw->streams[s.index];
  for (unsigned i = 0; i < raw->nb_streams; ++i) {
    if (static_cast<int>(i) != s.index) raw->streams[i]->discard = AVDISCARD_ALL;
  }
  FillFormats(ff, raw, st);
  if (ff.wfxSrc.nSamplesPerSec == 0 || ff.wfxSrc.nChannels == 0) {
    SetError(ff, "no sample rate or channel count", 0);
    return Fail(ff, kFfBadFormat);
  }
  s.src_rate = ff.wfxSrc.nSamplesPerSec;
  s.dst_rate = ff.wfxDst.nSamplesPerSec;
  s.origin = st->start_time != AV_NOPTS_VALUE ? st->start_time : 0;
  const std::int64_t length = Rescale(SourceLength(raw, st, s.src_rate), AVRational{1, static_cast<int>(s.src_rate)},
                                      s.dst_rate);
  if (length <= 0) {
    SetError(ff, "the length is unknown", 0);
    return Fail(ff, kFfBadFormat);
  }
  ff.NumSmpl = static_cast<std::int32_t>(std::min<std::int64_t>(length, INT32_MAX));
  ReadTags(ff, raw, st);
  if (mode == FfOpenMode::kTagsOnly) return 0;

  if (const int c = OpenDecoder(ff, s, st); c != 0) return Fail(ff, c);
  if (const int c = OpenConverter(ff, s, s.dec->ch_layout, s.dec->sample_fmt); c != 0) return Fail(ff, c);
  s.pkt.reset(av_packet_alloc());
  s.frame.reset(av_frame_alloc());
  s.pend.reset(new (std::nothrow) std::int16_t[2 * kPendFrames]);
  if (!s.pkt || !s.frame || !s.pend) return Fail(ff, kFfNoMemory);
  return 0;
}

// The timestamp of the decoded frame as a position at `rate`; `unknown` without one.
std::int64_t FrameAt(const FfmpegStream& s, const AVFrame* f, std::uint32_t rate, std::int64_t unknown) {
  const std::int64_t pts = f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : f->pts;
  if (pts == AV_NOPTS_VALUE) return unknown;
  return Rescale(pts - s.origin, s.fmt->streams[s.index]->time_base, rate);
}

// The timestamp of the decoded frame as a delivered-rate position.
std::int64_t FramePosition(const FfmpegStream& s, const AVFrame* f) {
  return FrameAt(s, f, s.dst_rate, s.drop_until);
}

// Places freshly converted frames, dropping those before a seek target.
void TakeConverted(FfmpegStream& s, int got) {
  s.pend_len = std::max(got, 0);
  s.pend_off = 0;
  const std::int64_t start = s.conv_pos;
  s.conv_pos += s.pend_len;
  if (start < s.drop_until) {
    s.pend_off = static_cast<std::int32_t>(std::min<std::int64_t>(s.drop_until - start, s.pend_len));
  }
}

// Converts the next piece of the held frame, small enough that its output fits
// the pending buffer whole, so the converter never keeps output of its own.
void ConvertHeldPiece(FFSet& ff, FfmpegStream& s) {
  AVFrame* f = s.frame.get();
  // Some decoders settle their output layout only with the first frame.
  if (f->ch_layout.nb_channels != s.channels || f->format != s.sample_format) {
    if (f->ch_layout.nb_channels > 8 || OpenConverter(ff, s, f->ch_layout, f->format) != 0) {
      av_frame_unref(f);
      s.held = false;
      return;
    }
  }
  const int channels = f->ch_layout.nb_channels;
  const int bytes = av_get_bytes_per_sample(static_cast<AVSampleFormat>(f->format));
  const bool planar = av_sample_fmt_is_planar(static_cast<AVSampleFormat>(f->format)) != 0;
  const int max_in = static_cast<int>(av_rescale(kPendFrames - 256, s.src_rate, s.dst_rate));
  const int n = std::min(f->nb_samples - s.held_off, max_in);
  const int planes = planar ? channels : 1;
  for (int c = 0; c < planes; ++c) {
    s.planes[c] = f->extended_data[c] + static_cast<std::ptrdiff_t>(s.held_off) * bytes * (planar ? 1 : channels);
  }
  std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(s.pend.get())};
  const int got = swr_convert(s.swr.get(), out, kPendFrames, s.planes.get(), n);
  s.held_off += n;
  if (s.held_off >= f->nb_samples) {
    av_frame_unref(f);
    s.held = false;
  }
  TakeConverted(s, got);
}

// The next decoded frame into s.frame; false at the end of the stream (or
// where a file cut short ends, or where the decoder cannot go on).
bool NextFrame(FfmpegStream& s) {
  for (;;) {
    if (s.decoder_done) return false;
    int r = avcodec_receive_frame(s.dec.get(), s.frame.get());
    if (r == 0) return true;
    if (r != AVERROR(EAGAIN) || s.sent_flush) {
      s.decoder_done = true;
      continue;
    }
    r = av_read_frame(s.fmt.get(), s.pkt.get());
    if (r < 0) {
      // The end, or a file cut short: whatever the decoder holds still plays.
      avcodec_send_packet(s.dec.get(), nullptr);
      s.sent_flush = true;
      continue;
    }
    // A damaged packet is refused by the decoder and skipped; the next one decodes on.
    if (s.pkt->stream_index == s.index) avcodec_send_packet(s.dec.get(), s.pkt.get());
    av_packet_unref(s.pkt.get());
  }
}

// Refills the pending frames; false at the end of the stream.
bool Refill(FFSet& ff, FfmpegStream& s) {
  for (;;) {
    if (s.held) {
      ConvertHeldPiece(ff, s);
      if (s.pend_len > s.pend_off) return true;
      continue;
    }
    if (!NextFrame(s)) {
      if (s.swr_flushed) return false;
      s.swr_flushed = true;  // the resampler's last frames
      std::uint8_t* out[1] = {reinterpret_cast<std::uint8_t*>(s.pend.get())};
      TakeConverted(s, swr_convert(s.swr.get(), out, kPendFrames, nullptr, 0));
      if (s.pend_len > s.pend_off) return true;
      continue;
    }
    AVFrame* f = s.frame.get();
    if (!s.base_known) {
      s.conv_pos = FramePosition(s, f);
      s.base_known = true;
    }
    // Whole frames before a seek target need no conversion when no resampler
    // carries state from one frame to the next.
    if (s.src_rate == s.dst_rate && s.conv_pos + f->nb_samples <= s.drop_until) {
      s.conv_pos += f->nb_samples;
      av_frame_unref(f);
      continue;
    }
    // Some decoders settle their output layout only with the first frame.
    if (f->ch_layout.nb_channels != s.channels || f->format != s.sample_format) {
      if (f->ch_layout.nb_channels > 8 || OpenConverter(ff, s, f->ch_layout, f->format) != 0) {
        av_frame_unref(f);
        continue;
      }
    }
    s.held = true;
    s.held_off = 0;
  }
}

// Repositions the demuxer at `ts` and empties the decoder and the converter.
// From the start the decoder is opened anew: a flush keeps state such as
// AAC's noise generator, which a decode from the start begins fresh.
bool SeekTo(FfmpegStream& s, std::int64_t ts, bool from_start) {
  if (av_seek_frame(s.fmt.get(), s.index, ts, AVSEEK_FLAG_BACKWARD) < 0) return false;
  if (!from_start) {
    avcodec_flush_buffers(s.dec.get());
  } else if (const AVCodec* codec = s.dec ? s.dec->codec : nullptr;
             codec == nullptr || StartDecoder(s, codec, s.fmt->streams[s.index]) < 0) {
    s.dec.reset();  // reads and seeks report the reader as not open
    return false;
  }
  swr_close(s.swr.get());
  if (swr_init(s.swr.get()) < 0) return false;
  s.pend_len = s.pend_off = 0;
  av_frame_unref(s.frame.get());
  s.held = false;
  s.sent_flush = s.decoder_done = s.swr_flushed = false;
  return true;
}

// The first packet of our stream after a demuxer seek to `ts`: its timestamp
// and the file position of its page; false when nothing is read.
bool LandingAt(FfmpegStream& s, std::int64_t ts, std::int64_t* pts, std::int64_t* pos) {
  if (av_seek_frame(s.fmt.get(), s.index, ts, AVSEEK_FLAG_BACKWARD) < 0) return false;
  while (av_read_frame(s.fmt.get(), s.pkt.get()) >= 0) {
    const bool ours = s.pkt->stream_index == s.index;
    *pts = s.pkt->pts;
    *pos = s.pkt->pos;
    av_packet_unref(s.pkt.get());
    if (ours) return *pts != AV_NOPTS_VALUE;
  }
  return false;
}

// An Ogg demuxer that lands on a file's last page numbers that page's packets
// back from its end position, which counts the trimmed end as whole packets:
// they can come out a packet late, so a seek there would deliver frames from
// before the target. A landing on the page before the one `ts` falls in is
// numbered forward from a whole page; frames then count on from there.
std::int64_t OggPageBefore(FfmpegStream& s, std::int64_t ts, std::int64_t start) {
  if (std::strcmp(s.fmt->iformat->name, "ogg") != 0) return ts;
  std::int64_t pts = 0;
  std::int64_t page = 0;
  if (!LandingAt(s, ts, &pts, &page)) return ts;
  std::int64_t back = 1;
  for (int tries = 0; tries < 24; ++tries, back *= 2) {
    const std::int64_t earlier = std::min(pts, ts) - back;
    if (earlier <= s.origin) return start;
    std::int64_t at = 0;
    std::int64_t pos = 0;
    if (!LandingAt(s, earlier, &at, &pos)) return start;
    if (pos < page) return earlier;
  }
  return start;
}

// Source frames to skip at the first frame after a seek so that the resampler
// starts where its output frames fall on the same source instants as in a
// decode from the start (every src/gcd source frames); 0 when not resampled.
int PhaseSkip(const FfmpegStream& s, const AVFrame* f) {
  if (s.src_rate == s.dst_rate) return 0;
  const std::int64_t cycle = s.src_rate / std::gcd(s.src_rate, s.dst_rate);
  const std::int64_t at = FrameAt(s, f, s.src_rate, AV_NOPTS_VALUE);
  if (at == AV_NOPTS_VALUE || cycle > kLongestPhase) return 0;
  const std::int64_t skip = ((cycle - at % cycle) % cycle + cycle) % cycle;
  return skip < f->nb_samples ? static_cast<int>(skip) : 0;
}

}  // namespace

int FfOpen(const char* path, FFSet& ff, FfOpenMode mode) {
  FfClose(ff);
  QuietLibrary();
  if (path == nullptr) return kFfCannotOpen;
  CopyTextCut(ff.FullPath, sizeof ff.FullPath, path);
  auto* s = new (std::nothrow) FfmpegStream;
  if (s == nullptr) return kFfNoMemory;
  return OpenWith(ff, s, path, mode);
}

int FfOpenBytes(const std::uint8_t* data, std::size_t size, const char* name, FFSet& ff, FfOpenMode mode) {
  FfClose(ff);
  QuietLibrary();
  CopyTextCut(ff.FullPath, sizeof ff.FullPath, name != nullptr ? name : "");
  auto* s = new (std::nothrow) FfmpegStream;
  if (s == nullptr) return kFfNoMemory;
  s->memory = MemorySource{data, static_cast<std::int64_t>(size), 0};
  auto* buffer = static_cast<std::uint8_t*>(av_malloc(kIoBufferBytes));
  if (buffer != nullptr) {
    s->io.reset(avio_alloc_context(buffer, kIoBufferBytes, 0, &s->memory, MemoryRead, nullptr, MemorySeek));
    if (!s->io) av_free(buffer);
  }
  if (!s->io) {
    delete s;
    return kFfNoMemory;
  }
  return OpenWith(ff, s, nullptr, mode);
}

int FfRead(FFSet& ff, std::int32_t n, std::uint8_t* dst, int* end) {
  ff.ReadSmpl = 0;
  *end = 0;
  FfmpegStream* s = ff.Stream.get();
  if (s == nullptr || !s->dec) return kFfNotOpen;
  n = std::clamp(n, 0, ff.NumSmpl - ff.NowSmpl);
  auto* out = reinterpret_cast<std::int16_t*>(dst);
  std::int32_t done = 0;
  while (done < n) {
    if (s->pend_off >= s->pend_len && !Refill(ff, *s)) break;
    const std::int32_t k = std::min(n - done, s->pend_len - s->pend_off);
    const std::int16_t* src = s->pend.get() + static_cast<std::ptrdiff_t>(s->pend_off) * s->pend_ch;
    if (s->pend_ch == 2) {
      std::memcpy(out + 2 * done, src, static_cast<std::size_t>(k) * 4);
    } else {
      for (std::int32_t i = 0; i < k; ++i) out[2 * (done + i)] = out[2 * (done + i) + 1] = src[i];
    }
    s->pend_off += k;
    done += k;
  }
  ff.ReadSmpl = done;
  ff.NowSmpl += done;
  if (done < n || ff.NowSmpl >= ff.NumSmpl) *end = 1;
  return 0;
}

int FfSeek(FFSet& ff, std::int32_t sample) {
  FfmpegStream* s = ff.Stream.get();
  if (s == nullptr || !s->dec) return kFfNotOpen;
  const std::int32_t target = std::clamp(sample, 0, ff.NumSmpl);
  const AVStream* st = s->fmt->streams[s->index];
  const AVRational src_tb{1, static_cast<int>(s->src_rate)};
  std::int64_t src_target = av_rescale(target, s->src_rate, s->dst_rate);
  // Lossy codecs need frames before the target to settle (overlapping
  // transforms, Opus's pre-roll); lossless frames decode on their own.
  if (!s->lossless) src_target -= kLossyPreroll + std::max(st->codecpar->seek_preroll, 0);
  // The resampler's filter fills, after up to a cycle skipped to realign it.
  if (s->src_rate != s->dst_rate) src_target -= kResamplerFilter + kLongestPhase;
  // Near the start, just before the first timestamp: the encoder's priming
  // packets come along and the decoder drops them as from the start.
  const std::int64_t start = s->origin - av_rescale_q(std::max(st->codecpar->initial_padding, 1024), src_tb, st->time_base);
  const std::int64_t ts =
      src_target > 0 ? OggPageBefore(*s, s->origin + av_rescale_q(src_target, src_tb, st->time_base), start) : start;
  // A demuxer that lands after the wanted frame (or nowhere) is asked again
  // from the start, so frames are never skipped unheard.
  for (const std::int64_t at : {ts, start}) {
    if (!SeekTo(*s, at, at == start) || !NextFrame(*s)) continue;
    const int skip = PhaseSkip(*s, s->frame.get());
    s->conv_pos = FramePosition(*s, s->frame.get());
    if (skip > 0) {  // exact: the frame after the skip starts a whole cycle
      const std::int64_t src = FrameAt(*s, s->frame.get(), s->src_rate, 0) + skip;
      s->conv_pos = av_rescale(src, s->dst_rate, s->src_rate);
    }
    s->base_known = true;
    if (s->conv_pos > target && at != start) continue;
    s->held = true;
    s->held_off = skip;
    s->drop_until = target;
    ff.NowSmpl = target;
    return 0;
  }
  // Nothing decodes from here on: the position is the end.
  s->decoder_done = s->swr_flushed = true;
  s->held = false;
  ff.NowSmpl = target;
  return 0;
}

void FfClose(FFSet& ff) {
  ff.Stream.reset();
  ff.wfxSrc = WaveFormatEx{};
  ff.wfxDst = WaveFormatEx{};
  ff.NumSmpl = ff.NowSmpl = ff.ReadSmpl = ff.BitRate = 0;
  ff.Codec[0] = ff.FullPath[0] = ff.Error[0] = '\0';
  ff.Title.clear();
  ff.Artist.clear();
  ff.Album.clear();
  ff.Composer.clear();
  ff.Lyricist.clear();
  ff.Lyrics.clear();
}

}  // namespace vk
