// The MPEG diagnostics: MP3OPEN.TXT (everything an open learned, ending with
// its verdict) and MP3READ.TXT (the counters after every decoded frame), both
// in the audio file's folder, and the analysis that produces them. The window
// and the command line share the analysis; confirmations and progress display
// belong to them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "audio/StreamRecord.h"

namespace vk {

// The reports' file names, and their paths beside the audio file.
inline constexpr const char* kOpenReportName = "MP3OPEN.TXT";
inline constexpr const char* kReadReportName = "MP3READ.TXT";
std::string Mp3OpenReportPath(const char* audio_path);
std::string Mp3ReadReportPath(const char* audio_path);

// Writes MP3OPEN.TXT for the record as it stands, ending with the text of
// `code`. A report that cannot be created is skipped.
void Mp3WriteOpenReport(const MP3Set& mp3, int code);

// Creates MP3READ.TXT with its head line.
void Mp3StartReadReport(const MP3Set& mp3);

// Appends the block of the frame just decoded (NowFrame - 1) to MP3READ.TXT.
void Mp3AppendReadReport(const MP3Set& mp3);

// Called before each frame with the percentage done; returning false aborts.
using Mp3DiagProgress = std::function<bool(int percent)>;

struct Mp3DiagResult {
  int open_code = 0;          // the verdict of the open
  bool read_report = false;   // MP3READ.TXT was written
  std::int32_t frames_decoded = 0;
  std::string message;        // the closing text, in Japanese as velkaris-cli prints it
};

// Opens `path` as MPEG audio with the open report, decodes every frame one by
// one into MP3READ.TXT, and writes the no-problem verdict when the open
// succeeded.
Mp3DiagResult RunMp3Diagnostics(const char* path, const Mp3DiagProgress& progress);

}  // namespace vk
