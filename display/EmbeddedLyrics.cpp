#include "display/EmbeddedLyrics.h"

#include "audio/FfmpegReader.h"

namespace vk {

std::string EmbeddedLyricsText(const std::string& audio_path) {
  FFSet ff;
  if (FfOpen(audio_path.c_str(), ff, FfOpenMode::kTagsOnly) != 0) return {};
  return ff.Lyrics;
}

int LoadLyricsOrEmbedded(Lyrics& lyrics, const std::string& audio_path) {
  const int result = LoadLyrics(lyrics, audio_path);
  if (result != kLyricsNoFile) return result;
  const std::string text = EmbeddedLyricsText(audio_path);
  if (text.empty()) return kLyricsNoFile;
  int parsed = ParseLyrics(lyrics, text);
  if (parsed == kLyricsOk && lyrics.LineCount == 0) {
    // Plain text without timing: shown from the start as one block.
    std::string block = "[00:00.00]";
    for (const char ch : text) {
      if (ch == '\r') continue;
      block += ch == '\n' ? ' ' : ch;
    }
    parsed = ParseLyrics(lyrics, block);
  }
  if (parsed == kLyricsOk) lyrics.Path = audio_path;
  return parsed;
}

}  // namespace vk
