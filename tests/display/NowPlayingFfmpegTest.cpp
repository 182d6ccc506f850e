// The caption and the info line for a file the FFmpeg reader holds: its tags,
// then the source's depth and channels, the codec and the bit rate.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "display/NowPlaying.h"
#include "engine/PlayEngine.h"

namespace vk {
namespace {

TEST(NowPlayingFfmpegTest, CaptionFromTagsAndInfoLineNamingCodecAndBitRate) {
  auto e = std::make_unique<PlayEngine>();
  e->IsFF = 1;
  e->Ff.wfxSrc.nSamplesPerSec = 44100;
  e->Ff.wfxSrc.nChannels = 2;
  e->Ff.wfxSrc.wBitsPerSample = 16;
  e->Ff.wfxDst = DeliveredFormat(44100);
  std::strcpy(e->Ff.Codec, "FLAC");
  e->Ff.BitRate = 912;
  std::strcpy(e->Ff.FullPath, "/music/曲.flac");
  char line[256];
  BuildFormatLine(*e, line, sizeof line);
  EXPECT_STREQ(line, "44100Hz  16bits  Stereo  FLAC  912kbps");
  BuildCaption(*e, line, sizeof line);
  EXPECT_STREQ(line, "曲.flac");  // no tags: the file name
  e->Ff.Title = "春";
  e->Ff.Album = "四季";
  BuildCaption(*e, line, sizeof line);
  EXPECT_STREQ(line, "春        四季");

  // A 24-bit 96 kHz 5.1 source plays at 48 kHz; lossy codecs have no depth of their own.
  e->Ff.wfxSrc.nSamplesPerSec = 96000;
  e->Ff.wfxSrc.nChannels = 6;
  e->Ff.wfxSrc.wBitsPerSample = 24;
  e->Ff.wfxDst = DeliveredFormat(48000);
  BuildFormatLine(*e, line, sizeof line);
  EXPECT_STREQ(line, "48000Hz  24bits  6ch  FLAC  912kbps");
  e->Ff.wfxSrc.nChannels = 1;
  e->Ff.wfxSrc.wBitsPerSample = 0;
  std::strcpy(e->Ff.Codec, "OPUS");
  e->Ff.BitRate = 0;
  BuildFormatLine(*e, line, sizeof line);
  EXPECT_STREQ(line, "48000Hz  16bits  Mono  OPUS");
}

}  // namespace
}  // namespace vk
