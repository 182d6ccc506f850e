// velkaris-cli probe: opens each file as the playlist does and prints what it
// learned, one Name=value line per fact.
#include <cstdio>
#include <string>

#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "cli/Commands.h"
#include "cli/ProbeMp3.h"
#include "common/Path.h"

namespace vk::cli {
namespace {

// The playlist row's texts: file name, extension, tags (MP3 only), length.
void PrintRow(const std::string& path, const char* title, const char* artist, const char* album,
              const char* composer, const char* lyricist, std::int64_t seconds) {
  std::printf("FILE=%s\n", std::string(PathFileStem(path)).c_str());
  std::printf("EXT=%s\n", std::string(PathExtension(path)).c_str());
  std::printf("TITLE=%s\nARTIST=%s\nALBUM=%s\nCOMPOSER=%s\nLYRICIST=%s\n", title, artist, album,
              composer, lyricist);
  std::printf("TIME=%lld:%02lld\n", static_cast<long long>(seconds / 60),
              static_cast<long long>(seconds % 60));
}

void PrintWav(const std::string& path, const WAVSet& wav) {
  std::printf("Reader=WAV\n");
  PrintRow(path, "", "", "", "", "", wav.NumSmpl / static_cast<std::int64_t>(wav.wfxSrc.nSamplesPerSec));
  std::printf("NumSmpl=%d\nDataOfst=%d\nNowSmpl=%d\n", wav.NumSmpl, wav.DataOfst, wav.NowSmpl);
  PrintWaveFormat("wfxSrc.", wav.wfxSrc);
  std::printf("SubFormat=%u\n", wav.SubFormat);
  PrintWaveFormat("wfxDst.", wav.wfxDst);
}

// The row comes from a parse-only open (length from the estimate), the record
// facts from a full open, as the playlist and the play thread see the file.
int ProbeMp3(const std::string& path) {
  MP3Set mp3;
  int code = Mp3Open(path.c_str(), mp3, kMp3ParseOnly);
  if (code != 0) return code;
  const char* title = mp3.ID3v2TagInfo.sjisTitle[0] ? mp3.ID3v2TagInfo.sjisTitle : mp3.ID3v1TagInfo.sjisTitle;
  const char* artist = mp3.ID3v2TagInfo.sjisArtst[0] ? mp3.ID3v2TagInfo.sjisArtst : mp3.ID3v1TagInfo.sjisArtst;
  const char* album = mp3.ID3v2TagInfo.sjisAlbum[0] ? mp3.ID3v2TagInfo.sjisAlbum : mp3.ID3v1TagInfo.sjisAlbum;
  const std::int64_t seconds =
      mp3.wfxSrc.nSamplesPerSec ? mp3.TmpSmpl / static_cast<std::int64_t>(mp3.wfxSrc.nSamplesPerSec) : 0;
  std::string row_title = title, row_artist = artist, row_album = album;
  std::string row_cmpsr = mp3.ID3v2TagInfo.sjisCmpsr, row_lyrcs = mp3.ID3v2TagInfo.sjisLyrcs;
  Mp3Close(mp3, 0, 0);

  code = Mp3Open(path.c_str(), mp3, kMp3FullOpen);
  if (code != 0) return code;
  std::printf("Result=0\nReader=MP3\n");
  PrintRow(path, row_title.c_str(), row_artist.c_str(), row_album.c_str(), row_cmpsr.c_str(),
           row_lyrcs.c_str(), seconds);
  PrintMp3Facts(mp3);
  Mp3Close(mp3, 0, 0);
  return 0;
}

// Prints one file's facts; returns the open result (0 = opened).
int ProbeOne(const std::string& path) {
  std::printf("File=%s\n", path.c_str());
  const ReaderChoice choice = ChooseReader(path);
  int code = 1;
  if (choice == ReaderChoice::kWavThenMp3) {
    WAVSet wav;
    code = WavOpen(path.c_str(), wav);
    if (code == 0) {
      std::printf("Result=0\n");
      PrintWav(path, wav);
      WavClose(wav);
      return 0;
    }
  }
  if (choice != ReaderChoice::kNone) {
    code = ProbeMp3(path);
    if (code == 0) return 0;
  }
  std::printf("Result=%d\nReader=none\n", code);
  return code;
}

}  // namespace

int RunProbe(int argc, char** argv) {
  if (argc < 1) {
    std::fprintf(stderr, "usage: velkaris-cli probe FILE...\n");
    return 2;
  }
  bool all_opened = true;
  for (int i = 0; i < argc; ++i) {
    if (i > 0) std::printf("\n");
    if (ProbeOne(argv[i]) != 0) all_opened = false;
  }
  return all_opened ? 0 : 1;
}

}  // namespace vk::cli
