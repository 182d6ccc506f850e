#include "playlist/PlaylistRow.h"

#include <cstdio>

#include "common/Path.h"

namespace vk {
namespace {

void FillPathColumns(std::string_view path, PlaylistRow& row) {
  row.Text[kColFullPath] = std::string(path);
  row.Text[kColFile] = std::string(PathFileStem(path));
  row.Text[kColExt] = std::string(PathExtension(path));
}

// An ID3v2 text, else the ID3v1 one.
const char* TagText(const char* v2, const char* v1) { return v2[0] != '\0' ? v2 : v1; }

}  // namespace

PlaylistRow MissingRow(std::string_view path) {
  PlaylistRow row;
  FillPathColumns(path, row);
  row.Missing = true;
  return row;
}

std::string FormatRowTime(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld:%02lld", static_cast<long long>(seconds / 60),
                static_cast<long long>(seconds % 60));
  return buf;
}

std::int64_t WavLengthSeconds(const WAVSet& wav) {
  const std::uint32_t rate = wav.wfxSrc.nSamplesPerSec;
  return rate != 0 ? wav.NumSmpl / static_cast<std::int64_t>(rate) : 0;
}

std::int64_t Mp3LengthSeconds(const MP3Set& mp3) {
  const std::uint32_t rate = mp3.wfxSrc.nSamplesPerSec;
  return rate != 0 ? mp3.TmpSmpl / static_cast<std::int64_t>(rate) : 0;
}

void FillRowFromWav(std::string_view path, const WAVSet& wav, PlaylistRow& row) {
  FillPathColumns(path, row);
  row.Text[kColTime] = FormatRowTime(WavLengthSeconds(wav));
}

void FillRowFromMp3(std::string_view path, const MP3Set& mp3, PlaylistRow& row) {
  FillPathColumns(path, row);
  const Id3v2Tag& v2 = mp3.ID3v2TagInfo;
  const Id3v1Tag& v1 = mp3.ID3v1TagInfo;
  row.Text[kColTitle] = TagText(v2.sjisTitle, v1.sjisTitle);
  row.Text[kColArtist] = TagText(v2.sjisArtst, v1.sjisArtst);
  row.Text[kColAlbum] = TagText(v2.sjisAlbum, v1.sjisAlbum);
  row.Text[kColComposer] = v2.sjisCmpsr;
  row.Text[kColLyricist] = v2.sjisLyrcs;
  row.Text[kColTime] = FormatRowTime(Mp3LengthSeconds(mp3));
}

void FillRowFromFf(std::string_view path, const FFSet& ff, PlaylistRow& row) {
  FillPathColumns(path, row);
  row.Text[kColTitle] = ff.Title;
  row.Text[kColArtist] = ff.Artist;
  row.Text[kColAlbum] = ff.Album;
  row.Text[kColComposer] = ff.Composer;
  row.Text[kColLyricist] = ff.Lyricist;
  const std::uint32_t rate = ff.wfxDst.nSamplesPerSec;
  row.Text[kColTime] = FormatRowTime(rate != 0 ? ff.NumSmpl / static_cast<std::int64_t>(rate) : 0);
}

}  // namespace vk
