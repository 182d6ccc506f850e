// Colour themes: every colour of the keyboard picture and the size and strength
// of the keys' glow come from one named section of THEMES.INI beside the
// program. The file is only read, never written.
//
// Thread contract: ListThemes and ThemeName run on the user-interface thread;
// LoadTheme runs on the draw thread (start and theme commands), which owns its
// ThemeColours and changes them only between frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/PixelBuffer.h"

namespace vk {

// One theme colour as read: blue, green, red without any range limit. Only the
// low byte of each value reaches the pixels.
struct ThemeColour {
  int B = 0, G = 0, R = 0;
  Bgr bgr() const {
    return {static_cast<std::uint8_t>(B), static_cast<std::uint8_t>(G),
            static_cast<std::uint8_t>(R)};
  }
};

// The draw thread's copy of one theme: 109 integers, zero when missing.
struct ThemeColours {
  ThemeColour TimBack;                 // status and time area, darkening upwards
  ThemeColour BarLft, BarRgt;          // played part of the progress bar, left to right
  ThemeColour BarBack;                 // rest of the progress bar
  ThemeColour GrpBackWht1, GrpBackWht2;  // graph bands under white keys, top to bottom
  ThemeColour GrpBackBlk1, GrpBackBlk2;  // graph stripes under black keys and the margins
  ThemeColour GrpThresDw, GrpThresUp;  // threshold lines and their texts
  ThemeColour GrpLine;                 // spectrum line or bars
  ThemeColour GrpLvlTop, GrpLvlBtm;    // level meters at 0 dB and -100 dB
  ThemeColour GrpLvlSrcTop, GrpLvlSrcBtm;  // held peaks of the source meters after an overload
  ThemeColour GrpLvlOutTop, GrpLvlOutBtm;  // output meters while overloaded
  ThemeColour GrpLrcsBefFont, GrpLrcsBefShdw;  // karaoke lyrics not yet sung
  ThemeColour GrpLrcsAftFont, GrpLrcsAftShdw;  // karaoke lyrics already sung
  ThemeColour GrpLrcsStaFont, GrpLrcsStaShdw;  // lyrics without wipe
  ThemeColour KeyWhite;                // fully lit white key
  ThemeColour KeyBlkMin1, KeyBlkMin2;  // black key body and edges at the lower threshold
  ThemeColour KeyBlkMax1, KeyBlkMax2;  // black key body and edges at the upper threshold
  int KeyHLThkWht = 0, KeyHLThkBlk = 0;  // glow rings around lit white and black keys
  int KeyHLAttWht = 0, KeyHLAttBlk = 0;  // glow attenuation (larger = fainter)
  ThemeColour KeyHLWhtI, KeyHLWhtO;    // white-key glow, innermost and outermost ring
  ThemeColour KeyHLBlkI, KeyHLBlkO;    // black-key glow
  ThemeColour TxtBkTop, TxtBkBtm;      // info text background, rows 0 and 40
  ThemeColour TxtFont;                 // caption and format line
};

inline constexpr const char* kThemesFileName = "THEMES.INI";

// ThemeName results.
inline constexpr int kThemeFound = 0;
inline constexpr int kThemeNoFile = 1;
inline constexpr int kThemeNoSection = 4;

// The text of the n-th (from 0) line that begins with "[", up to the first "]".
int ThemeName(const char* themes_path, int n, std::string* name);

// Every theme name in file order (duplicates included).
std::vector<std::string> ListThemes(const char* themes_path);

// Reads the first section called exactly `name`; missing file, section or keys
// give 0. Returns true when the section was found.
bool LoadTheme(const char* themes_path, const char* name, ThemeColours* theme);

// A theme whose graph is bright: bitmaps made for a dark picture (white digits
// on black, the black side panels) are drawn in its own colours instead.
bool ThemeIsLight(const ThemeColours& t);

// Per-channel blend (a * ca + b * cb) / d on the full values; the caller takes
// the low bytes with bgr(). d must not be 0.
ThemeColour BlendColour(const ThemeColour& ca, int a, const ThemeColour& cb, int b, int d);

}  // namespace vk
