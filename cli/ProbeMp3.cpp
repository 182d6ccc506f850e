#include "cli/ProbeMp3.h"

#include <cstdio>

namespace vk::cli {

void PrintWaveFormat(const char* p, const WaveFormatEx& w) {
  std::printf("%swFormatTag=%u\n", p, w.wFormatTag);
  std::printf("%snChannels=%u\n", p, w.nChannels);
  std::printf("%snSamplesPerSec=%u\n", p, w.nSamplesPerSec);
  std::printf("%swBitsPerSample=%u\n", p, w.wBitsPerSample);
  std::printf("%snBlockAlign=%u\n", p, w.nBlockAlign);
  std::printf("%snAvgBytesPerSec=%u\n", p, w.nAvgBytesPerSec);
  std::printf("%scbSize=%u\n", p, w.cbSize);
}

namespace {

void PrintFrameInfo(const char* p, const FrameInfo& f) {
  std::printf("%sFrameOfst=%d\n", p, f.FrameOfst);
  std::printf("%sFrameSize=%d\n", p, f.FrameSize);
  std::printf("%sFrameSizeWOP=%d\n", p, f.FrameSizeWOP);
  std::printf("%sSideInfoSize=%d\n", p, f.SideInfoSize);
  std::printf("%sBitRate=%d\n", p, f.BitRate);
  std::printf("%sSmplRate=%d\n", p, f.SmplRate);
  std::printf("%sVersion=%u\n", p, f.Version);
  std::printf("%sLayer=%u\n", p, f.Layer);
  std::printf("%sErrProtect=%u\n", p, f.ErrProtect);
  std::printf("%sPadding=%u\n", p, f.Padding);
  std::printf("%sChannelMode=%u\n", p, f.ChannelMode);
}


}  // namespace

void PrintMp3Facts(const MP3Set& m) {
  std::printf("NumFrame=%d\nTmpFrame=%d\nNumSmpl=%d\nTmpSmpl=%d\nSmplPerFrame=%d\n", m.NumFrame, m.TmpFrame,
              m.NumSmpl, m.TmpSmpl, m.SmplPerFrame);
  std::printf("DataOfst=%d\nRiffHeaderSize=%d\nFileSize=%d\n", m.DataOfst, m.RiffHeaderSize, m.FileSize);
  std::printf("MinBitRate=%d\nMaxBitRate=%d\n", m.MinBitRate, m.MaxBitRate);
  std::printf("VBRInfo.Type=%d\nVBRInfo.Flags=%d\nVBRInfo.NumFrame=%d\nVBRInfo.DataSize=%d\n", m.VBRInfo.Type,
              m.VBRInfo.Flags, m.VBRInfo.NumFrame, m.VBRInfo.DataSize);
  PrintFrameInfo("FirstFrameInfo.", m.FirstFrameInfo);
  std::printf("ID3v1TagInfo.Size=%d\nID3v1TagInfo.sjisArtst=%s\nID3v1TagInfo.sjisAlbum=%s\n"
              "ID3v1TagInfo.sjisTitle=%s\n",
              m.ID3v1TagInfo.Size, m.ID3v1TagInfo.sjisArtst, m.ID3v1TagInfo.sjisAlbum, m.ID3v1TagInfo.sjisTitle);
  std::printf("ID3v2TagInfo.Size=%d\nID3v2TagInfo.sjisArtst=%s\nID3v2TagInfo.sjisAlbum=%s\n"
              "ID3v2TagInfo.sjisTitle=%s\nID3v2TagInfo.sjisCmpsr=%s\nID3v2TagInfo.sjisLyrcs=%s\n",
              m.ID3v2TagInfo.Size, m.ID3v2TagInfo.sjisArtst, m.ID3v2TagInfo.sjisAlbum, m.ID3v2TagInfo.sjisTitle,
              m.ID3v2TagInfo.sjisCmpsr, m.ID3v2TagInfo.sjisLyrcs);
  const MpegLayer3WaveFormat& w = m.mp3wf;
  PrintWaveFormat("mp3wf.wfx.", w.wfx);
  std::printf("mp3wf.wID=%u\nmp3wf.fdwFlags=%u\nmp3wf.nBlockSize=%u\nmp3wf.nFramesPerBlock=%u\n"
              "mp3wf.nCodecDelay=%u\n",
              w.wID, w.fdwFlags, w.nBlockSize, w.nFramesPerBlock, w.nCodecDelay);
  PrintWaveFormat("wfxSrc.", m.wfxSrc);
  PrintWaveFormat("wfxDst.", m.wfxDst);
}

}  // namespace vk::cli
