#include "display/NoteMode.h"

namespace vk {

bool NoteModeStart(NoteMode& m) {
  for (int& level : m.Level) level = kLevelNothing;
  m.Chord[0] = '\0';
  return NoteFinderStart(m.finder);
}

void NoteModeFrame(NoteMode& m, const Analysis& a, const AnalysisInput& in, int thres_dw,
                   int thres_up) {
  if (!a.file_open) {
    NoteFinderReset(m.finder);
  } else {
    NoteFinderFrame(m.finder, a.BinMagnitude.get(), a.fft_points, in.rate_hz, in.position);
  }
  NoteKeyLevels(m.finder, thres_dw, thres_up, m.Level);
  NameChord(m.finder.Lit, m.Chord);
  // Four notes or more that make no chord: the faintest may be a stray (a
  // harmonic that got through); the rest are tried without it.
  if (m.Chord[0] != '\0' || m.finder.LitCount < 4) return;
  int faintest = -1;
  for (int key = 0; key < kNumKeys; ++key) {
    if (m.finder.Lit[key] && (faintest < 0 || m.finder.Strength[key] < m.finder.Strength[faintest])) {
      faintest = key;
    }
  }
  bool rest[kNumKeys];
  for (int key = 0; key < kNumKeys; ++key) rest[key] = m.finder.Lit[key] && key != faintest;
  NameChord(rest, m.Chord);
}

void DrawChordName(PixelBuffer& picture, const DrawFonts& fonts, const char* chord,
                   const ThemeColours& theme) {
  if (chord[0] == '\0') return;
  DrawTextSmall(chord, fonts, picture, kChordTextX + 1, kChordTextY + 1,
                theme.GrpLrcsStaShdw.bgr());
  DrawTextSmall(chord, fonts, picture, kChordTextX, kChordTextY, theme.GrpLrcsStaFont.bgr());
}

}  // namespace vk
