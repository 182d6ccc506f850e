#include "audio/FlacWrite.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

#include <cstring>
#include <memory>
#include <vector>

#include "audio/WavReader.h"

namespace vk {
namespace {

struct OutputFree {
  void operator()(AVFormatContext* p) const noexcept {
    if (p->pb != nullptr) avio_closep(&p->pb);
    avformat_free_context(p);
  }
};
struct CodecFree {
  void operator()(AVCodecContext* p) const noexcept { avcodec_free_context(&p); }
};
struct PacketFree {
  void operator()(AVPacket* p) const noexcept { av_packet_free(&p); }
};
struct FrameFree {
  void operator()(AVFrame* p) const noexcept { av_frame_free(&p); }
};
struct WavCloser {
  void operator()(WAVSet* w) const noexcept { WavClose(*w); }
};

// Hands `frame` (null: the end) to the encoder and writes what comes out.
bool Encode(AVCodecContext* enc, AVFormatContext* out, AVStream* st, AVFrame* frame, AVPacket* pkt) {
  if (avcodec_send_frame(enc, frame) < 0) return false;
  for (;;) {
    const int r = avcodec_receive_packet(enc, pkt);
    if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) return true;
    if (r < 0) return false;
    av_packet_rescale_ts(pkt, enc->time_base, st->time_base);
    pkt->stream_index = st->index;
    if (av_interleaved_write_frame(out, pkt) < 0) return false;
  }
}

}  // namespace

int WriteFlacFromWav(const char* wav_path, const char* flac_path,
                     const std::atomic<bool>* cancel) {
  WAVSet wav;
  if (WavOpen(wav_path, wav) != 0) return kFlacCannotRead;
  const std::unique_ptr<WAVSet, WavCloser> wav_owner(&wav);
  const int rate = static_cast<int>(wav.wfxDst.nSamplesPerSec);

  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_FLAC);
  if (codec == nullptr) return kFlacNoEncoder;
  AVFormatContext* raw_out = nullptr;
  if (avformat_alloc_output_context2(&raw_out, nullptr, "flac", flac_path) < 0 || raw_out == nullptr) {
    return kFlacNoEncoder;
  }
  const std::unique_ptr<AVFormatContext, OutputFree> out(raw_out);
  const std::unique_ptr<AVCodecContext, CodecFree> enc(avcodec_alloc_context3(codec));
  const std::unique_ptr<AVPacket, PacketFree> pkt(av_packet_alloc());
  const std::unique_ptr<AVFrame, FrameFree> frame(av_frame_alloc());
  if (!enc || !pkt || !frame) return kFlacCannotWrite;
  enc->sample_fmt = AV_SAMPLE_FMT_S16;
  enc->sample_rate = rate;
  enc->time_base = AVRational{1, rate};
  av_channel_layout_default(&enc->ch_layout, 2);
  if (out->oformat->flags & AVFMT_GLOBALHEADER) enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if (avcodec_open2(enc.get(), codec, nullptr) < 0) return kFlacNoEncoder;
  AVStream* st = avformat_new_stream(out.get(), nullptr);
  if (st == nullptr || avcodec_parameters_from_context(st->codecpar, enc.get()) < 0) {
    return kFlacCannotWrite;
  }
  st->time_base = enc->time_base;
  if (avio_open(&out->pb, flac_path, AVIO_FLAG_WRITE) < 0) return kFlacCannotWrite;
  if (avformat_write_header(out.get(), nullptr) < 0) return kFlacCannotWrite;

  const int n = enc->frame_size > 0 ? enc->frame_size : 4608;
  std::vector<std::uint8_t> buf(static_cast<std::size_t>(n) * 4);
  std::int64_t pts = 0;
  int end = 0;
  while (end == 0) {
    if (cancel != nullptr && cancel->load(std::memory_order_relaxed)) return kFlacCancelled;
    if (WavRead(wav, n, buf.data(), &end) != 0) return kFlacCannotRead;
    const int got = wav.ReadSmpl;
    if (got <= 0) break;
    av_frame_unref(frame.get());
    frame->format = AV_SAMPLE_FMT_S16;
    frame->sample_rate = rate;
    frame->nb_samples = got;
    if (av_channel_layout_copy(&frame->ch_layout, &enc->ch_layout) < 0 ||
        av_frame_get_buffer(frame.get(), 0) < 0) {
      return kFlacCannotWrite;
    }
    std::memcpy(frame->data[0], buf.data(), static_cast<std::size_t>(got) * 4);
    frame->pts = pts;
    pts += got;
    if (!Encode(enc.get(), out.get(), st, frame.get(), pkt.get())) return kFlacCannotWrite;
  }
  if (!Encode(enc.get(), out.get(), st, nullptr, pkt.get())) return kFlacCannotWrite;
  if (av_write_trailer(out.get()) < 0) return kFlacCannotWrite;
  if (avio_closep(&out->pb) < 0) return kFlacCannotWrite;
  return kFlacOk;
}

}  // namespace vk
