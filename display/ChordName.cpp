#include "display/ChordName.h"

#include <cstdio>
#include <initializer_list>

namespace vk {
namespace {

struct ChordShape {
  unsigned intervals;  // bit i: the pitch class i semitones above the root
  const char* suffix;
};

constexpr unsigned Bits(std::initializer_list<int> steps) {
  unsigned m = 0;
  for (int s : steps) m |= 1u << s;
  return m;
}

// In order of preference when one set of pitch classes fits several shapes.
constexpr ChordShape kShapes[] = {
    {Bits({0, 4, 7}), ""},         {Bits({0, 3, 7}), "m"},       {Bits({0, 4, 7, 10}), "7"},
    {Bits({0, 4, 7, 11}), "maj7"}, {Bits({0, 3, 7, 10}), "m7"},  {Bits({0, 3, 6}), "dim"},
    {Bits({0, 3, 6, 9}), "dim7"},  {Bits({0, 3, 6, 10}), "m7b5"}, {Bits({0, 5, 7}), "sus4"},
    {Bits({0, 2, 7}), "sus2"},     {Bits({0, 4, 8}), "aug"},     {Bits({0, 4, 10}), "7"},
    {Bits({0, 4, 11}), "maj7"},    {Bits({0, 3, 10}), "m7"},
};

constexpr const char* kPitchNames[12] = {"C", "C#", "D", "D#", "E", "F",
                                         "F#", "G", "G#", "A", "A#", "B"};

unsigned Rotate(unsigned set, int root) {
  return ((set >> root) | (set << (12 - root))) & 0xFFFu;
}

// The best root and shape for `set` with the bass pitch class `bass`; false when none fits.
bool Match(unsigned set, int bass, int* root_out, int* shape_out) {
  int found_root = -1, found_shape = -1;
  for (int s = 0; s < static_cast<int>(sizeof kShapes / sizeof kShapes[0]); ++s) {
    for (int root = 0; root < 12; ++root) {
      if (!(set >> root & 1u) || Rotate(set, root) != kShapes[s].intervals) continue;
      if (root == bass) {
        *root_out = root;
        *shape_out = s;
        return true;
      }
      if (found_root < 0) found_root = root, found_shape = s;
    }
  }
  if (found_root < 0) return false;
  *root_out = found_root;
  *shape_out = found_shape;
  return true;
}

}  // namespace

void NameChord(const bool* lit, char* out) {
  out[0] = '\0';
  unsigned set = 0;
  int low = -1, high = -1;
  int per_class[12] = {};
  for (int key = 0; key < kNumKeys; ++key) {
    if (!lit[key]) continue;
    set |= 1u << (key % 12);
    ++per_class[key % 12];
    if (low < 0) low = key;
    high = key;
  }
  if (low < 0) return;
  int root = 0, shape = 0;
  bool ok = Match(set, low % 12, &root, &shape);
  if (!ok && high != low && per_class[high % 12] == 1) {
    ok = Match(set & ~(1u << (high % 12)), low % 12, &root, &shape);
  }
  if (!ok) return;
  if (root == low % 12) {
    std::snprintf(out, kChordNameSize, "%s%s", kPitchNames[root], kShapes[shape].suffix);
  } else {
    std::snprintf(out, kChordNameSize, "%s%s/%s", kPitchNames[root], kShapes[shape].suffix,
                  kPitchNames[low % 12]);
  }
}

}  // namespace vk
