// Which bitmap each owner-drawn button shows, up and held down, for the state
// of the program. Free of any toolkit; the button paints what this names.
#pragma once

#include <cstdint>
#include <string>

#include "common/Settings.h"

namespace vk {

// What the faces depend on besides the settings.
struct ButtonState {
  bool playing = false;  // a play thread exists (playing or paused)
  bool paused = false;
  std::int32_t repeat_a = 0, repeat_b = 0;
};

struct ButtonFace {
  std::string up, down;  // resource names; empty: the button is left unpainted
};

// The face of button `id` (2001–2703); an id without a button gives empty names.
ButtonFace FaceOfButton(int id, const Settings& s, const ButtonState& state);

}  // namespace vk
