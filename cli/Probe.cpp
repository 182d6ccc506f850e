// velkaris-cli probe: opens each file as the playlist does and prints what it
// learned, one Name=value line per fact.
#include <cstdio>
#include <string>

#include "audio/FfmpegReader.h"
#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "cli/Commands.h"
#include "cli/ProbeMp3.h"
#include "cli/Refusal.h"
#include "common/Path.h"
#include "engine/PlayEngine.h"
#include "playlist/PlaylistRow.h"

namespace vk::cli {
namespace {

// The playlist row's texts: file name, extension, tags (MP3 only), length.
void PrintRow(const PlaylistRow& row) {
  static constexpr struct {
    const char* name;
    int column;
  } kShown[] = {{"FILE", kColFile},         {"EXT", kColExt},           {"TITLE", kColTitle},
                {"ARTIST", kColArtist},     {"ALBUM", kColAlbum},       {"COMPOSER", kColComposer},
                {"LYRICIST", kColLyricist}, {"TIME", kColTime}};
  for (const auto& c : kShown) std::printf("%s=%s\n", c.name, row.Text[static_cast<std::size_t>(c.column)].c_str());
}

void PrintWav(const std::string& path, const WAVSet& wav) {
  std::printf("Reader=WAV\n");
  PlaylistRow row;
  FillRowFromWav(path, wav, row);
  PrintRow(row);
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
  PlaylistRow row;
  FillRowFromMp3(path, mp3, row);
  Mp3Close(mp3, kMp3Ok, kMp3CloseQuiet);

  code = Mp3Open(path.c_str(), mp3, kMp3FullOpen);
  if (code != 0) return code;
  std::printf("Result=0\nReader=MP3\n");
  PrintRow(row);
  PrintMp3Facts(mp3);
  Mp3Close(mp3, kMp3Ok, kMp3CloseQuiet);
  return 0;
}

// The row as the playlist makes it (container only), then the facts of the
// open the play thread makes. A refusal names FFmpeg's reason.
int ProbeFfmpeg(const std::string& path) {
  FFSet ff;
  const int code = FfOpen(path.c_str(), ff, FfOpenMode::kFull);
  // The refusal line says FFmpeg's reason.
  if (code != 0) return code;
  PlaylistRow row;
  FillRowFromFf(path, ff, row);
  std::printf("Result=0\nReader=FFMPEG\n");
  PrintRow(row);
  std::printf("Codec=%s\nBitRate=%d\nNumSmpl=%d\nNowSmpl=%d\n", ff.Codec, ff.BitRate, ff.NumSmpl, ff.NowSmpl);
  PrintWaveFormat("wfxSrc.", ff.wfxSrc);
  PrintWaveFormat("wfxDst.", ff.wfxDst);
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
  if (choice == ReaderChoice::kWavThenMp3 || choice == ReaderChoice::kMp3) {
    code = ProbeMp3(path);
    if (code == 0) return 0;
  }
  if (choice == ReaderChoice::kWavThenMp3 || choice == ReaderChoice::kFfmpeg) {
    // A WAV file FFmpeg cannot read either keeps the code its own readers gave.
    const int ff_code = ProbeFfmpeg(path);
    if (ff_code == 0) return 0;
    if (choice == ReaderChoice::kFfmpeg) code = ff_code;
  }
  std::printf("Result=%d\nReader=none\n", code);
  std::fflush(stdout);
  PrintRefusal("probe", path, EngineErrorText(kEngineCannotOpen), WhyUnreadable(path));
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
