// velkaris-cli keys FILE --pos FRAMES|--at SECONDS [--set Key=Value]... [--ini MAIN.INI]
// The analysis of one frame as the draw thread would run it with the file
// playing at that position: the FFT size, the summary for the automatic
// thresholds, and each key of the octave range with its level and glow. With
// KeyMode=1 the keys are those of the notes found, and Chord= names their chord.
#include <cstdio>
#include <memory>
#include <string>

#include "cli/Commands.h"
#include "cli/FileAtPosition.h"
#include "cli/Refusal.h"
#include "common/Settings.h"
#include "display/NoteMode.h"
#include "display/SpectrumKeys.h"
#include "engine/PlayEngine.h"

namespace vk::cli {

int RunKeys(int argc, char** argv) {
  PositionOptions options;
  std::string error;
  if (!ParsePositionOptions(argc, argv, PositionCommand::kKeys, &options, &error) ||
      !ApplySettingOptions(options, &error)) {
    std::fprintf(stderr, "keys: %s\n", error.c_str());
    return 2;
  }
  // The engine record is large (stream records, buffers): on the heap.
  const auto owned = std::make_unique<PlayEngine>();
  PlayEngine& engine = *owned;
  std::int32_t position = 0;
  const int code = OpenFileAtPosition(engine, options, &position);
  if (code != 0) {
    PrintEngineRefusal("keys", options.file, code);
    return 1;
  }

  Analysis analysis;
  if (!AnalysisStart(analysis) || !AnalysisSetFftItem(analysis, gSettings.NowNumFFTSmplItem)) {
    CloseFileAtPosition(engine);
    std::fprintf(stderr, "%s\n", EngineErrorText(kEngineNoMemory).c_str());
    return 1;
  }
  const WaveFormatEx& out = engine.Format();
  AnalysisInput in;
  in.fft_item = gSettings.NowNumFFTSmplItem;
  in.out_channels = out.nChannels;
  in.out_bits = out.wBitsPerSample;
  in.src_bits = engine.IsMP3 || engine.IsFF ? 16 : engine.Wav.wfxSrc.wBitsPerSample;
  in.rate_hz = static_cast<std::int32_t>(out.nSamplesPerSec);
  in.total_frames = engine.TotalSmpl.load(std::memory_order_relaxed);
  in.position = position;
  in.channel_select = gSettings.ChannelSelect;
  in.bmp_octave = gSettings.BmpOctave;
  AnalyseFrame(analysis, in, &engine);

  const int dw = gSettings.ThresDw;
  const int up = gSettings.ThresUp;
  std::printf("Position=%d\nFFTSize=%d\nKeyMax=%d\nKeyFloor=%d\nThresDw=%d\nThresUp=%d\n", position,
              analysis.fft_points, analysis.KeyMax, analysis.KeyFloor, dw, up);
  // In note mode the keys show the notes found (one frame: no history to
  // carry), and the chord they name follows the summary.
  const bool note_mode = gSettings.KeyMode == 1;
  NoteMode notes;
  if (note_mode) {
    if (!NoteModeStart(notes)) {
      CloseFileAtPosition(engine);
      std::fprintf(stderr, "%s\n", EngineErrorText(kEngineNoMemory).c_str());
      return 1;
    }
    NoteModeFrame(notes, analysis, in, dw, up);
    std::printf("Chord=%s\n", notes.Chord);
  }
  const int* levels = note_mode ? notes.Level : analysis.KeyLevel;
  const KeyRange range = KeyRangeForOctave(in.bmp_octave);
  for (int key = range.lowest_key; key <= range.highest_key; ++key) {
    char name[8];
    KeyName(key, name);
    const int level = levels[key];
    std::printf("Key=%d %s %d %d\n", key, name, level, GlowStrength(level, dw, up));
  }
  CloseFileAtPosition(engine);
  return 0;
}

}  // namespace vk::cli
