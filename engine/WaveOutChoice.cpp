#include <cstring>

#include "common/Text.h"
#include "engine/WaveOut.h"

namespace vk {

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

std::unique_ptr<WaveOut> MakeWaveOut(const WaveOutChoice& choice, WaveOutStatus* status) {
  switch (choice.kind) {
    case WaveOutKind::kNull: return MakeNullWaveOut(status);
    case WaveOutKind::kWav: return MakeWavWaveOut(choice.path, status);
    case WaveOutKind::kSdl: break;
  }
  return MakeSdlWaveOut();
}

}  // namespace vk
