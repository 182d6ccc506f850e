#include "display/NoteMode.h"

#include <cstring>

namespace vk {
namespace {

unsigned LitClasses(const bool* lit) {
  unsigned set = 0;
  for (int key = 0; key < kNumKeys; ++key) set |= lit[key] ? 1u << (key % 12) : 0u;
  return set;
}

void HoldChord(NoteMode& m, bool jumped) {
  const unsigned now = LitClasses(m.finder.Lit);
  const bool inside = m.HeldClasses != 0 && (now & ~m.HeldClasses) == 0;
  if (now == 0 || jumped) {
    m.HeldChord[0] = '\0';
    m.HeldClasses = 0;
  } else if (inside && m.Chord[0] == '\0') {
    std::memcpy(m.Chord, m.HeldChord, sizeof m.Chord);
  } else if (m.Chord[0] != '\0') {
    std::memcpy(m.HeldChord, m.Chord, sizeof m.Chord);
    m.HeldClasses = now;
  }
}

void NameFrameChord(NoteMode& m) {
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

}  // namespace

bool NoteModeStart(NoteMode& m) {
  for (int& level : m.Level) level = kLevelNothing;
  m.Chord[0] = '\0';
  return NoteFinderStart(m.finder);
}

void NoteModeFrame(NoteMode& m, const Analysis& a, const AnalysisInput& in, int thres_dw,
                   int thres_up) {
  // A seek or a new file starts the held chord afresh, as the finder does its lit keys.
  const std::int32_t step = in.position - m.finder.last_position;
  const bool jumped = !a.file_open || step < 0 || step > in.rate_hz / 4;
  if (!a.file_open) {
    NoteFinderReset(m.finder);
  } else {
    NoteFinderFrame(m.finder, a.BinMagnitude.get(), a.fft_points, in.rate_hz, in.position);
  }
  NoteKeyLevels(m.finder, thres_dw, thres_up, m.Level);
  NameFrameChord(m);
  HoldChord(m, jumped);
}

void DrawChordName(PixelBuffer& picture, const DrawFonts& fonts, const char* chord,
                   const ThemeColours& theme) {
  if (chord[0] == '\0') return;
  DrawTextSmall(chord, fonts, picture, kChordTextX + 1, kChordTextY + 1,
                theme.GrpLrcsStaShdw.bgr());
  DrawTextSmall(chord, fonts, picture, kChordTextX, kChordTextY, theme.GrpLrcsStaFont.bgr());
}

}  // namespace vk
