// The marker store: every audio file's markers in one file (MARKERS.INI in the
// data folder), one section per audio file named by the file's key, so the
// markers are found again after the file is renamed or moved:
//
//   [123456789-0123456789abcdef]
//   Path=/music/song.flac
//   Marker=441000 Intro
//
// The key is the file's size and a hash of its first and last 64 KiB. Saving
// reads the store again, replaces one section and writes the whole file
// through a temporary renamed into place, so a crash while saving leaves the
// previous store whole.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/Markers.h"

namespace vk {

// The key of the audio file at `path`: "SIZE-HASH" (decimal size, 16 hex
// digits of the hash); empty when the file cannot be read.
std::string AudioFileKey(const char* path);

struct MarkedFile {
  std::string key;
  std::string path;  // where the file was when its markers were last saved
  std::vector<Marker> marks;
};

// Every section of a store read from an open stream (null: none). Lines it
// does not understand are skipped; a key's first section wins.
std::vector<MarkedFile> ReadMarkerStore(std::FILE* f);
void WriteMarkerStore(std::FILE* f, const std::vector<MarkedFile>& files);

// The markers stored for `key` at `store_path` (none when there are none).
std::vector<Marker> LoadMarkers(const std::string& store_path, const std::string& key);

// Replaces the section of `file.key` (removes it when it has no markers);
// false when the store could not be written, the old one then stands.
bool SaveMarkers(const std::string& store_path, const MarkedFile& file);

// The store's file in the data folder `data_dir` (with its trailing '/').
inline std::string MarkerStorePath(const std::string& data_dir) { return data_dir + "MARKERS.INI"; }

}  // namespace vk
