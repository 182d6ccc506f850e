// Writes the demo song: a C major scale and a few chords of harmonic tones,
// 22 s of 16-bit stereo at 44.1 kHz, each note with a soft attack and decay and
// its own place in the stereo field so the keyboard and the meters have
// something to show.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "audio/WavHeader.h"

namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

double KeyHz(int key) { return 440.0 * std::pow(2.0, (key - 69) / 12.0); }

struct Mix {
  std::vector<double> left, right;
  explicit Mix(double seconds) : left(static_cast<size_t>(seconds * kRate)), right(left.size()) {}

  // One note of five harmonics at the given start, length, level and pan (0 left .. 1 right).
  void Note(int key, double start_s, double length_s, double level, double pan) {
    const double hz = KeyHz(key);
    const size_t first = static_cast<size_t>(start_s * kRate);
    const size_t count = static_cast<size_t>(length_s * kRate);
    for (size_t i = 0; i < count && first + i < left.size(); ++i) {
      const double t = static_cast<double>(i) / kRate;
      const double attack = std::min(1.0, t / 0.02);
      const double release = std::min(1.0, (length_s - t) / 0.08);
      const double env = attack * std::max(0.0, release) * std::exp(-1.6 * t);
      double v = 0;
      for (int h = 1; h <= 5; ++h) v += std::sin(2 * kPi * hz * h * t) / (h * h);
      v *= level * env;
      left[first + i] += v * (1.0 - pan);
      right[first + i] += v * pan;
    }
  }
};

void PutLE16(std::FILE* f, std::uint16_t v) {
  std::fputc(v & 0xFF, f);
  std::fputc(v >> 8, f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vk_make_sample OUT.wav\n");
    return 2;
  }
  Mix mix(22.0);
  // Scale up and down, C4 to C5, left to right.
  const int scale[] = {60, 62, 64, 65, 67, 69, 71, 72, 71, 69, 67, 65, 64, 62, 60};
  double t = 0.25;
  for (size_t i = 0; i < sizeof scale / sizeof scale[0]; ++i, t += 0.45) {
    mix.Note(scale[i], t, 0.5, 0.5, 0.2 + 0.6 * static_cast<double>(i) / 14.0);
  }
  // Chords: C, Am, F, G7, C with a bass an octave below.
  const int chords[][4] = {{48, 60, 64, 67}, {45, 57, 60, 64}, {41, 57, 60, 65}, {43, 59, 62, 65}, {36, 60, 64, 67}};
  t += 0.3;
  for (const auto& chord : chords) {
    for (int k = 0; k < 4; ++k) mix.Note(chord[k], t, 1.9, 0.28, 0.3 + 0.13 * k);
    mix.Note(chord[3] + 12, t + 0.95, 0.9, 0.2, 0.7);  // a melody note on the off-beat
    t += 2.0;
  }
  // A final arpeggio over two octaves.
  for (int k = 0; k < 8; ++k) mix.Note(60 + (k * 5) % 24, t + k * 0.12, 0.9, 0.3, 0.5);

  const std::uint32_t frames = static_cast<std::uint32_t>(mix.left.size());
  const std::uint32_t data_bytes = frames * 4;
  std::FILE* f = std::fopen(argv[1], "wb");
  if (f == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  std::uint8_t header[vk::kWavHeaderBytes];
  vk::StoreWavHeader(header, vk::DeliveredFormat(kRate), data_bytes);
  std::fwrite(header, 1, sizeof header, f);
  for (std::uint32_t i = 0; i < frames; ++i) {
    for (double v : {mix.left[i], mix.right[i]}) {
      const double s = std::clamp(v * 1.2 * 32767.0, -32768.0, 32767.0);
      PutLE16(f, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(s))));
    }
  }
  return std::fclose(f) == 0 ? 0 : 1;
}
