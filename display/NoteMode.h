// The keyboard's note mode (KeyMode 1) after a frame's analysis: the notes
// found, the key levels they are drawn with and the chord they name. The
// window's frame step, `velkaris-cli keys` and `render` all go through here.
#pragma once

#include "display/ChordName.h"
#include "display/NoteFinder.h"
#include "display/PixelBuffer.h"
#include "display/SpectrumKeys.h"
#include "display/TextRender.h"
#include "display/Theme.h"

namespace vk {

struct NoteMode {
  NoteFinder finder;
  int Level[kNumKeys] = {};        // levels to draw the keys with (kLevelNothing: dark)
  char Chord[kChordNameSize] = {};  // "" when no chord is clear
  // The last chord named and the pitch classes lit when it was: while what is
  // lit stays inside them (a chord tone fading or missed for a moment), the
  // name holds instead of dropping out or thinning to a smaller chord.
  char HeldChord[kChordNameSize] = {};
  unsigned HeldClasses = 0;
};

// Allocates the finder's buffers. False when memory is short.
bool NoteModeStart(NoteMode& m);

// Finds the notes of the frame `a` has just analysed (for `in`) and fills
// Level and Chord; with no file open every key is dark and the chord empty.
void NoteModeFrame(NoteMode& m, const Analysis& a, const AnalysisInput& in, int thres_dw,
                   int thres_up);

// Where the chord name is drawn: inside the graph, right of the dB labels,
// clear of the Hz labels along row 131.
inline constexpr int kChordTextX = 48;
inline constexpr int kChordTextY = 100;

// The chord name at (kChordTextX, kChordTextY) in the theme's lyric colours,
// its shadow one pixel down and right, so it reads over the spectrum.
void DrawChordName(PixelBuffer& picture, const DrawFonts& fonts, const char* chord,
                   const ThemeColours& theme);

}  // namespace vk
