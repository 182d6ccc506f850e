// note_frames RAW FRAMES: runs the note mode over 16-bit stereo 44.1 kHz raw
// audio as the draw thread would at 60 frames a second, and for each frame in
// FRAMES ("sample-frame position" then the true keys, one frame a line)
// prints the lit keys, the chord named from them and the chord the true keys
// name: "<lit keys> | <chord> | <true chord>". The evaluation script reads it.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "display/ChordName.h"
#include "display/NoteMode.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: note_frames RAW FRAMES\n");
    return 2;
  }
  std::ifstream raw(argv[1], std::ios::binary);
  raw.seekg(0, std::ios::end);
  const std::streamoff bytes = raw.tellg();
  raw.seekg(0);
  std::vector<std::int16_t> audio(static_cast<std::size_t>(std::max<std::streamoff>(0, bytes / 2)));
  raw.read(reinterpret_cast<char*>(audio.data()), bytes / 2 * 2);
  const std::int32_t total = static_cast<std::int32_t>(audio.size() / 2);

  vk::Analysis a;
  vk::NoteMode mode;
  if (!vk::AnalysisStart(a) || !vk::AnalysisSetFftItem(a, 3) || !vk::NoteModeStart(mode)) return 1;
  vk::AnalysisInput in;
  in.fft_item = 3;
  in.out_channels = 2;
  in.out_bits = 16;
  in.src_bits = 16;
  in.rate_hz = 44100;
  in.total_frames = total;
  in.bmp_octave = 3;
  const int points = a.fft_points;

  std::ifstream frames(argv[2]);
  std::string line;
  std::int32_t position = 0;
  while (std::getline(frames, line)) {
    std::istringstream fields(line);
    std::int32_t target = 0;
    fields >> target;
    bool truth[vk::kNumKeys] = {};
    for (int key; fields >> key;) {
      if (key >= 0 && key < vk::kNumKeys) truth[key] = true;
    }
    // Every 60th of a second up to the wanted frame, so the carried state is the window's.
    if (target - position > 44100 / 4 || target < position) position = target - 44100 / 10;
    do {
      position = std::min(position + 735, target);
      const std::int32_t start = position - points / 2;
      for (int i = 0; i < points; ++i) {
        const std::int32_t p = start + i;
        const bool inside = p >= 0 && p < total;
        a.AnalysisTap[2 * i] = inside ? audio[2 * p] : 0;
        a.AnalysisTap[2 * i + 1] = inside ? audio[2 * p + 1] : 0;
      }
      in.position = position;
      vk::AnalyseTap(a, in);
      vk::NoteModeFrame(mode, a, in, -45, -40);
    } while (position < target);

    char truth_chord[vk::kChordNameSize];
    vk::NameChord(truth, truth_chord);
    for (int k = 0; k < vk::kNumKeys; ++k) {
      if (mode.finder.Lit[k]) std::printf("%d ", k);
    }
    std::printf("| %s | %s\n", mode.Chord, truth_chord);
  }
  return 0;
}
