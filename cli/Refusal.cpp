#include "cli/Refusal.h"

#include <cstdio>
#include <string_view>

#include "audio/FfmpegReader.h"
#include "audio/Mp3Reader.h"
#include "audio/WavReader.h"
#include "common/FileHandle.h"
#include "common/Path.h"
#include "engine/PlayEngine.h"

namespace vk::cli {
namespace {

// Indexed by WAV open code.
constexpr const char* kWavMeanings[] = {
    "no problem",
    "the file cannot be opened",
    "shorter than 8 bytes or no \"RIFF\"",
    "RIFF size + 8 differs from the file size",
    "form type missing or not \"WAVE\"",
    "\"fmt \" size not 16 or 18, or its contents cut short",
    "format tag not 1 (not PCM)",
    "channel count not 1 or 2",
    "sampling rate outside 8000-192000 Hz",
    "sample size not 8 or 16 bits",
    "block alignment 0 or not channels x bits / 8",
    "average bytes per second not block alignment x rate",
    "cannot seek past the \"data\" chunk",
    "cannot seek past another chunk",
    "no \"fmt \" chunk",
    "no \"data\" chunk",
};

// Indexed by MP3 open code: what the system's text says.
constexpr const char* kMp3Glosses[] = {
    "no problem found in this file",
    "memory allocation failed",
    "opening the file failed",
    "the file is cut off",
    "getting the file position failed",
    "moving the file position failed",
    "reading from the file failed",
    "the RIFF chunk size is wrong",
    "RIFF form type wrong or unsupported",
    "RIFF format wrong or unsupported",
    "no fmt chunk found",
    "no data chunk found",
    "the format is wrong",
    "the ID3 tag size is wrong",
    "bad MPEG version number",
    "bad layer number",
    "bad bit rate",
    "bad sampling rate",
    "MPEG version not supported",
    "bit rate not supported",
    "unsupported combination",
    "variable MPEG version",
    "variable layer",
    "variable bit rate without VBR header",
    "variable sampling rate",
    "variable channel mode",
    "bad VBR header flags",
    "bad VBR frame count",
    "bad VBR data size",
    "the decoder suggests no format",
    "the decoder stream cannot be opened",
};

template <std::size_t N>
const char* Lookup(const char* const (&table)[N], int code) {
  return code >= 0 && static_cast<std::size_t>(code) < N ? table[code] : "unknown code";
}

}  // namespace

std::string WavOpenMeaning(int code) { return Lookup(kWavMeanings, code); }

std::string Mp3OpenMeaning(int code) {
  std::string text = Mp3ResultText(code);
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text + " - " + Lookup(kMp3Glosses, code);
}

std::string WhyUnreadable(const std::string& path) {
  OpenFailure why;
  if (!OpenForReading(path.c_str(), &why)) return OpenFailureText(why);
  const ReaderChoice choice = ChooseReader(path);
  if (choice == ReaderChoice::kNone) return "not a file type the player reads";
  if (choice == ReaderChoice::kFfmpeg) {
    FFSet ff;
    if (FfOpen(path.c_str(), ff, FfOpenMode::kFull) == 0) {
      FfClose(ff);
      return "the file opens now; it failed while being read";
    }
    return std::string("FFmpeg: ") + ff.Error;
  }
  std::string reason;
  if (choice == ReaderChoice::kWavThenMp3) {
    WAVSet wav;
    const int code = WavOpen(path.c_str(), wav);
    if (code == 0) {
      WavClose(wav);
    } else {
      reason = "WAV reader code " + std::to_string(code) + ": " + WavOpenMeaning(code) + "; ";
    }
  }
  MP3Set mp3;
  const int code = Mp3Open(path.c_str(), mp3, kMp3FullOpen);
  if (code == 0) {
    Mp3Close(mp3, kMp3Ok, kMp3CloseQuiet);
    // Both readers take it now: it failed while being read, not opened.
    return reason + "the file opens now; it failed while being read";
  }
  return reason + "MP3 reader code " + std::to_string(code) + ": " + Mp3OpenMeaning(code);
}

void PrintRefusal(const char* command, const std::string& file, const std::string& message,
                  const std::string& reason) {
  if (reason.empty()) {
    std::fprintf(stderr, "velkaris-cli %s: %s: %s\n", command, file.c_str(), message.c_str());
  } else {
    std::fprintf(stderr, "velkaris-cli %s: %s: %s (%s)\n", command, file.c_str(), message.c_str(),
                 reason.c_str());
  }
}

void PrintEngineRefusal(const char* command, const std::string& file, int engine_code) {
  std::string reason;
  if (engine_code == kEngineCannotOpen || engine_code == kEngineReadFailed) reason = WhyUnreadable(file);
  PrintRefusal(command, file, EngineErrorText(engine_code), reason);
}

}  // namespace vk::cli
