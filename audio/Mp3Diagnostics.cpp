#include "audio/Mp3Diagnostics.h"

#include <cstdio>
#include <memory>
#include <new>

#include "audio/Mp3Codes.h"
#include "audio/Mp3FrameHeader.h"
#include "audio/Mp3Reader.h"
#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/Path.h"

namespace vk {

namespace {

std::string ReportPath(const char* audio_path, const char* name) {
  const std::string_view path(audio_path);
  return std::string(path.substr(0, PathFolderEnd(path))) + name;
}

const char* VersionText(std::uint8_t v) {
  if (v == kVersionMpeg25) return "MPEG-2.5";
  if (v == kVersionMpeg2) return "MPEG-2";
  return "MPEG-1";
}

const char* LayerText(std::uint8_t layer) {
  if (layer == kLayer3) return "Layer-3";
  if (layer == kLayer2) return "Layer-2";
  return "Layer-1";
}

const char* ChannelModeText(std::uint8_t mode) {
  switch (mode) {
    case 0: return "ステレオ";
    case 1: return "ジョイントステレオ";
    case 2: return "デュアルモノラル";
    default: return "モノラル";
  }
}

void WriteKeyInt(std::FILE* f, const std::string& key, int value) { IniWriteInt(f, key.c_str(), value); }
void WriteKeyText(std::FILE* f, const std::string& key, const char* text) {
  IniWriteText(f, key.c_str(), text);
}

void WriteFrameInfo(std::FILE* f, const char* prefix, const FrameInfo& fi) {
  const std::string p(prefix);
  std::fprintf(f, "%s=%d(0x%08x)\n", (p + "FrameOfst   ").c_str(), fi.FrameOfst,
               static_cast<unsigned>(fi.FrameOfst));
  WriteKeyInt(f, p + "FrameSize   ", fi.FrameSize);
  WriteKeyInt(f, p + "FrameSizeWOP", fi.FrameSizeWOP);
  WriteKeyInt(f, p + "SideInfoSize", fi.SideInfoSize);
  WriteKeyInt(f, p + "BitRate     ", fi.BitRate);
  WriteKeyInt(f, p + "SmplRate    ", fi.SmplRate);
  WriteKeyText(f, p + "Version     ", VersionText(fi.Version));
  WriteKeyText(f, p + "Layer       ", LayerText(fi.Layer));
  WriteKeyText(f, p + "ErrProtect  ", fi.ErrProtect == 0 ? "あり" : "なし");
  WriteKeyText(f, p + "Padding     ", fi.Padding == 0 ? "なし" : "あり");
  WriteKeyText(f, p + "ChannelMode ", ChannelModeText(fi.ChannelMode));
}

void WriteWaveFormat(std::FILE* f, const char* prefix, const WaveFormatEx& w) {
  const std::string p(prefix);
  WriteKeyInt(f, p + "wFormatTag     ", w.wFormatTag);
  WriteKeyInt(f, p + "nChannels      ", w.nChannels);
  WriteKeyInt(f, p + "nSamplesPerSec ", static_cast<int>(w.nSamplesPerSec));
  WriteKeyInt(f, p + "wBitsPerSample ", w.wBitsPerSample);
  WriteKeyInt(f, p + "nBlockAlign    ", w.nBlockAlign);
  WriteKeyInt(f, p + "nAvgBytesPerSec", static_cast<int>(w.nAvgBytesPerSec));
  WriteKeyInt(f, p + "cbSize         ", w.cbSize);
}

const char* VbrTypeText(std::int32_t type) {
  if (type == 0) return "CBRまたはVBRヘッダなしVBR";
  if (type == 1) return "Xingヘッダ付きVBR";
  return "VBRIヘッダ付きVBR";
}

void WriteOpenReportBody(std::FILE* f, const MP3Set& m, int code) {
  IniWritePath(f, "FullPath", m.FullPath);
  IniEndSection(f);
  IniWriteInt(f, "FileSize      ", m.FileSize);
  IniWriteInt(f, "RiffHeaderSize", m.RiffHeaderSize);
  IniEndSection(f);
  IniWriteInt(f, "ID3v1TagInfo.Size     ", m.ID3v1TagInfo.Size);
  IniWriteText(f, "ID3v1TagInfo.sjisArtst", m.ID3v1TagInfo.sjisArtst);
  IniWriteText(f, "ID3v1TagInfo.sjisAlbum", m.ID3v1TagInfo.sjisAlbum);
  IniWriteText(f, "ID3v1TagInfo.sjisTitle", m.ID3v1TagInfo.sjisTitle);
  IniEndSection(f);
  IniWriteInt(f, "ID3v2TagInfo.Size     ", m.ID3v2TagInfo.Size);
  IniWriteText(f, "ID3v2TagInfo.sjisArtst", m.ID3v2TagInfo.sjisArtst);
  IniWriteText(f, "ID3v2TagInfo.sjisAlbum", m.ID3v2TagInfo.sjisAlbum);
  IniWriteText(f, "ID3v2TagInfo.sjisTitle", m.ID3v2TagInfo.sjisTitle);
  IniEndSection(f);
  IniWriteInt(f, "DataOfst    ", m.DataOfst);
  IniWriteInt(f, "SmplPerFrame", m.SmplPerFrame);
  IniEndSection(f);
  IniWriteInt(f, "TmpFrame", m.TmpFrame);
  IniWriteInt(f, "NumFrame", m.NumFrame);
  IniEndSection(f);
  IniWriteInt(f, "TmpSmpl", m.TmpSmpl);
  IniWriteInt(f, "NumSmpl", m.NumSmpl);
  IniEndSection(f);
  WriteFrameInfo(f, "FirstFrameInfo.", m.FirstFrameInfo);
  IniEndSection(f);
  IniWriteText(f, "VBRInfo.Type    ", VbrTypeText(m.VBRInfo.Type));
  IniWriteInt(f, "VBRInfo.Flags   ", m.VBRInfo.Flags);
  IniWriteInt(f, "VBRInfo.NumFrame", m.VBRInfo.NumFrame);
  IniWriteInt(f, "VBRInfo.DataSize", m.VBRInfo.DataSize);
  IniEndSection(f);
  const MpegLayer3WaveFormat& w = m.mp3wf;
  IniWriteInt(f, "mp3wf.wfx.wFormatTag     ", w.wfx.wFormatTag);
  IniWriteInt(f, "mp3wf.wfx.nChannels      ", w.wfx.nChannels);
  IniWriteInt(f, "mp3wf.wfx.nSamplesPerSec ", static_cast<int>(w.wfx.nSamplesPerSec));
  IniWriteInt(f, "mp3wf.wfx.wBitsPerSample ", w.wfx.wBitsPerSample);
  IniWriteInt(f, "mp3wf.wfx.nBlockAlign    ", w.wfx.nBlockAlign);
  IniWriteInt(f, "mp3wf.wfx.nAvgBytesPerSec", static_cast<int>(w.wfx.nAvgBytesPerSec));
  IniWriteInt(f, "mp3wf.wfx.cbSize         ", w.wfx.cbSize);
  IniWriteInt(f, "mp3wf.wID            ", w.wID);
  IniWriteInt(f, "mp3wf.fdwFlags       ", static_cast<int>(w.fdwFlags));
  IniWriteInt(f, "mp3wf.nBlockSize     ", w.nBlockSize);
  IniWriteInt(f, "mp3wf.nFramesPerBlock", w.nFramesPerBlock);
  IniWriteInt(f, "mp3wf.nCodecDelay    ", w.nCodecDelay);
  IniEndSection(f);
  WriteWaveFormat(f, "wfxSrc.", m.wfxSrc);
  IniEndSection(f);
  WriteWaveFormat(f, "wfxDst.", m.wfxDst);
  IniEndSection(f);
  if (m.pFrameInfo) {
    // Entry NumFrame is the scratch entry: the frame read last, which ended
    // or broke the scan.
    std::int64_t n = static_cast<std::int64_t>(m.NumFrame) + 1;
    if (n > m.TmpFrame) n = m.TmpFrame;
    if (n > m.FrameTableLen) n = m.FrameTableLen;
    for (std::int64_t i = 0; i < n; ++i) {
      IniWriteInt(f, "NowFrame                ", static_cast<int>(i));
      WriteFrameInfo(f, "pFrameInfo->", m.pFrameInfo[i]);
      IniEndSection(f);
    }
  }
  std::fputs(Mp3ResultText(code), f);
}

}  // namespace

std::string Mp3OpenReportPath(const char* audio_path) { return ReportPath(audio_path, kOpenReportName); }
std::string Mp3ReadReportPath(const char* audio_path) { return ReportPath(audio_path, kReadReportName); }

void Mp3WriteOpenReport(const MP3Set& mp3, int code) {
  FileHandle f = OpenReportForWriting(Mp3OpenReportPath(mp3.FullPath).c_str(), false);
  if (!f) return;
  WriteOpenReportBody(f.get(), mp3, code);
}

void Mp3StartReadReport(const MP3Set& mp3) {
  FileHandle f = OpenReportForWriting(Mp3ReadReportPath(mp3.FullPath).c_str(), false);
  if (!f) return;
  IniWritePath(f.get(), "pMP3Set->FullPath", mp3.FullPath);
  IniEndSection(f.get());
}

void Mp3AppendReadReport(const MP3Set& mp3) {
  FileHandle f = OpenReportForWriting(Mp3ReadReportPath(mp3.FullPath).c_str(), true);
  if (!f) return;
  std::fprintf(f.get(), "%d番目のフレームを読み込み、デコードした結果\n", mp3.NowFrame - 1);
  IniWriteInt(f.get(), "pMP3Set->NumFrame ", mp3.NumFrame);
  IniWriteInt(f.get(), "pMP3Set->NowFrame ", mp3.NowFrame);
  IniWriteInt(f.get(), "pMP3Set->ReadFrame", mp3.ReadFrame);
  IniWriteInt(f.get(), "pMP3Set->NumSmpl  ", mp3.NumSmpl);
  IniWriteInt(f.get(), "pMP3Set->NowSmpl  ", mp3.NowSmpl);
  IniWriteInt(f.get(), "pMP3Set->ReadSmpl ", mp3.ReadSmpl);
  IniWriteInt(f.get(), "pMP3Set->ReadBytes", mp3.ReadBytes);
  IniEndSection(f.get());
}

Mp3DiagResult RunMp3Diagnostics(const char* path, const Mp3DiagProgress& progress) {
  Mp3DiagResult result;
  result.message = std::string("解析が終了しました。\n") + kOpenReportName + "を出力しました。\n";
  MP3Set mp3;
  result.open_code = Mp3Open(path, mp3, kMp3FullOpen | kMp3OpenReport);
  if (result.open_code == kMp3Ok) {
    const std::size_t bytes = static_cast<std::size_t>(mp3.wfxDst.nBlockAlign) * 2 * mp3.SmplPerFrame;
    std::unique_ptr<std::uint8_t[]> buf(new (std::nothrow) std::uint8_t[bytes]);
    if (buf) {
      Mp3StartReadReport(mp3);
      result.read_report = true;
      for (std::int32_t i = 0; i < mp3.NumFrame; ++i) {
        if (progress && !progress(static_cast<int>(100LL * i / mp3.NumFrame))) break;
        int end = 0;
        if (Mp3Decode(mp3, buf.get(), 2 * mp3.SmplPerFrame, Mp3Frames(1), kMp3DecodeReport, &end) != 0) break;
        result.frames_decoded += 1;
      }
      result.message += std::string(kReadReportName) + "を出力しました。\n";
    }
    Mp3Close(mp3, kMp3Ok, kMp3CloseReport);
  }
  result.message += "メディアが書き込み可能であれば出力したはずです。";
  return result;
}

}  // namespace vk
