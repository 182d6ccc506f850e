// One playlist row: the ten column texts the list shows, and how they are made
// from an opened WAV or MPEG record. The probe command and the playlist share
// these rules so both show a file the same way.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "audio/FfmpegReader.h"
#include "audio/StreamRecord.h"

namespace vk {

// Column indexes, in the order the list creates them.
enum PlaylistColumn : int {
  kColFullPath = 0,  // the key of a row; hidden (0 pixels wide)
  kColNo = 1,        // row index + 1
  kColFile = 2,
  kColExt = 3,
  kColTitle = 4,
  kColArtist = 5,
  kColAlbum = 6,
  kColComposer = 7,
  kColLyricist = 8,
  kColTime = 9,
  kColumnCount = 10,
};

inline constexpr std::array<const char*, kColumnCount> kColumnHeaders = {
    "FULL PATH", "No.", "FILE", "EXT", "TITLE", "ARTIST", "ALBUM", "COMPOSER", "LYRICIST", "TIME"};

// Columns 1 ("No.") and 9 ("TIME") are right-aligned, the others left.
constexpr bool ColumnAlignedRight(int column) { return column == kColNo || column == kColTime; }

struct PlaylistRow {
  std::array<std::string, kColumnCount> Text;
  bool Selected = false;
  // The file was not there when the list was restored (a drive not mounted):
  // the row keeps its path so the list and the resume point survive, but
  // playing and stepping pass it by until the file is back.
  bool Missing = false;
};

// A row for a path that could not be found: the path, FILE and EXT columns only.
PlaylistRow MissingRow(std::string_view path);

// Length as "%d:%02d": whole minutes (not limited to 59) and seconds.
std::string FormatRowTime(std::int64_t seconds);

// Length in whole seconds: NumSmpl over the source rate for WAV, the parse-only
// estimate TmpSmpl for MPEG audio. 0 when the rate is 0.
std::int64_t WavLengthSeconds(const WAVSet& wav);
std::int64_t Mp3LengthSeconds(const MP3Set& mp3);

// Fills columns 0, 2, 3 and 9 (and 4 to 8 for MPEG audio: title, artist and
// album from ID3v2, else ID3v1; composer and lyricist from ID3v2 only).
// Column 1 is the model's business.
void FillRowFromWav(std::string_view path, const WAVSet& wav, PlaylistRow& row);
void FillRowFromMp3(std::string_view path, const MP3Set& mp3, PlaylistRow& row);
// Columns 0, 2 to 9 from the container's tags and length (no decoding).
void FillRowFromFf(std::string_view path, const FFSet& ff, PlaylistRow& row);

}  // namespace vk
