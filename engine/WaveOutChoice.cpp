#include <cstring>

#include "common/Text.h"
#include "engine/WaveOut.h"

namespace vk {
namespace {

WaveOutChoice gChoice;  // owner writes before starting the play thread; the play thread reads at open

}  // namespace

bool ParseWaveOutChoice(std::string_view text, WaveOutChoice* choice) {
  WaveOutChoice c;
  if (text == "sdl") {
    c.kind = WaveOutKind::kSdl;
  } else if (text == "null") {
    c.kind = WaveOutKind::kNull;
  } else if (text.starts_with("wav:") && text.size() > 4 && text.size() - 4 < kWaveOutPathBytes) {
    c.kind = WaveOutKind::kWav;
    std::memcpy(c.path, text.data() + 4, text.size() - 4);
  } else {
    return false;
  }
  *choice = c;
  return true;
}

void SetWaveOutChoice(const WaveOutChoice& choice) { gChoice = choice; }

const WaveOutChoice& CurrentWaveOutChoice() { return gChoice; }

std::unique_ptr<WaveOut> MakeWaveOut(const WaveOutChoice& choice) {
  switch (choice.kind) {
    case WaveOutKind::kNull: return MakeNullWaveOut();
    case WaveOutKind::kWav: return MakeWavWaveOut(choice.path);
    case WaveOutKind::kSdl: break;
  }
  return MakeSdlWaveOut();
}

}  // namespace vk
