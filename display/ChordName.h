// Chord names for the keyboard's note mode: the lit keys read as one chord
// (C, Am, G7, Fmaj7, Bdim, Esus4, D/F#), or no name when they make none.
#pragma once

#include "display/SpectrumKeys.h"

namespace vk {

inline constexpr int kChordNameSize = 16;

// Names the chord of the keys with lit[key] set into `out` (kChordNameSize
// bytes, always NUL-terminated; empty when no chord is clear). The pitch
// classes must be exactly those of one chord shape; failing that, the top
// note alone is dropped (a melody note over the chord) and they are tried
// again. Among shapes that fit, the one rooted on the bass wins; a bass other
// than the root is named after a slash.
void NameChord(const bool* lit, char* out);

}  // namespace vk
