#include "display/NowPlaying.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "common/Path.h"
#include "engine/PlayEngine.h"

namespace vk {
namespace {

const char* TagText(const char* v2, const char* v1) { return v2[0] != '\0' ? v2 : v1; }

// Appends with snprintf semantics: never past `size`, always terminated.
void Append(char* out, std::size_t size, const char* format, int a = 0, int b = 0) {
  const std::size_t used = std::strlen(out);
  if (used + 1 >= size) return;
  std::snprintf(out + used, size - used, format, a, b);
}

}  // namespace

void BuildCaption(const PlayEngine& e, char* out, std::size_t size) {
  std::string caption;
  const char* path = e.FullPath();
  if (e.IsFF) {
    for (const std::string* part : {&e.Ff.Title, &e.Ff.Artist, &e.Ff.Album}) {
      if (part->empty()) continue;
      if (!caption.empty()) caption.append(8, ' ');
      caption += *part;
    }
  } else if (e.IsMP3) {
    const Id3v2Tag& v2 = e.Mp3.ID3v2TagInfo;
    const Id3v1Tag& v1 = e.Mp3.ID3v1TagInfo;
    for (const char* part : {TagText(v2.sjisTitle, v1.sjisTitle), TagText(v2.sjisArtst, v1.sjisArtst),
                             TagText(v2.sjisAlbum, v1.sjisAlbum)}) {
      if (part[0] == '\0') continue;
      if (!caption.empty()) caption.append(8, ' ');
      caption += part;
    }
  }
  if (caption.empty()) {
    const std::string_view p(path);
    caption = std::string(p.substr(PathFolderEnd(p)));
  }
  CopyTextCut(out, size, caption);
}

void BuildFormatLine(const PlayEngine& e, char* out, std::size_t size) {
  if (size == 0) return;
  out[0] = '\0';
  const WaveFormatEx& src = e.SourceFormat();
  Append(out, size, "%dHz", static_cast<int>(e.Format().nSamplesPerSec));
  if (e.IsFF) {
    // The codec's own depth where it has one (24-bit FLAC); lossy codecs deliver 16 bits.
    Append(out, size, "  %dbits", src.wBitsPerSample > 0 ? static_cast<int>(src.wBitsPerSample) : 16);
    Append(out, size, src.nChannels == 1 ? "  Mono" : src.nChannels == 2 ? "  Stereo" : "  %dch", src.nChannels);
    const std::size_t used = std::strlen(out);
    if (used < size) std::snprintf(out + used, size - used, "  %s", e.Ff.Codec);
    if (e.Ff.BitRate > 0) Append(out, size, "  %dkbps", e.Ff.BitRate);
    return;
  }
  Append(out, size, src.wBitsPerSample == 8 ? "   8bits" : "  16bits");
  Append(out, size, src.nChannels == 1 ? "  Mono" : "  Stereo");
  if (!e.IsMP3) {
    Append(out, size, "  PCM");
    return;
  }
  const FrameInfo& fi = e.Mp3.FirstFrameInfo;
  Append(out, size, fi.Version == 3 ? "  MPEG-1" : fi.Version == 2 ? "  MPEG-2" : "  MPEG-2.5");
  Append(out, size, fi.Layer == 1 ? "  Layer-3" : fi.Layer == 2 ? "  Layer-2" : "  Layer-1");
  const int lo = e.Mp3.MinBitRate;
  const int hi = e.Mp3.MaxBitRate;
  if (lo == hi) {
    Append(out, size, "  %dKbps", lo);
  } else if (e.Mp3.VBRInfo.Type == 1) {
    Append(out, size, "  %d-%dKbps(Xing)", lo, hi);
  } else if (e.Mp3.VBRInfo.Type == 2) {
    Append(out, size, "  %d-%dKbps(VBRI)", lo, hi);
  } else {
    Append(out, size, "  %d-%dKbps(No VBR Header)", lo, hi);
  }
  if (fi.ErrProtect == 0) Append(out, size, "  CRC");  // the header's protection bit 0: CRC follows
}

void DescribePlayingFile(const PlayEngine& e, NowPlayingFacts* f) {
  *f = NowPlayingFacts();
  const WaveFormatEx& out = e.Format();
  const WaveFormatEx& src = e.SourceFormat();
  f->OutChannels = out.nChannels;
  f->OutBits = out.wBitsPerSample;
  f->SrcChannels = src.nChannels;
  f->SrcBits = src.wBitsPerSample;
  f->RateHz = static_cast<std::int32_t>(out.nSamplesPerSec);
  CopyTextCut(f->Path, sizeof f->Path, e.FullPath());
  BuildCaption(e, f->Caption, sizeof f->Caption);
  BuildFormatLine(e, f->FormatLine, sizeof f->FormatLine);
}

void PublishNowPlaying(NowPlaying& now, const PlayEngine& engine) {
  NowPlayingFacts facts;
  DescribePlayingFile(engine, &facts);
  std::lock_guard<std::mutex> guard(now.lock);
  now.facts = facts;
  now.generation.fetch_add(1, std::memory_order_release);
}

void ClearNowPlaying(NowPlaying& now) {
  std::lock_guard<std::mutex> guard(now.lock);
  now.facts = NowPlayingFacts();
  now.generation.fetch_add(1, std::memory_order_release);
}

bool CopyNowPlaying(NowPlaying& now, std::uint32_t* seen, NowPlayingFacts* out) {
  if (now.generation.load(std::memory_order_acquire) == *seen) return false;
  std::lock_guard<std::mutex> guard(now.lock);
  *out = now.facts;
  *seen = now.generation.load(std::memory_order_relaxed);
  return true;
}

}  // namespace vk
