// One frame of the draw thread: the snapshot of every input, then only the
// groups of the picture whose inputs changed since the last drawn frame.
#include <algorithm>
#include <cstring>
#include <ctime>

#include "common/Settings.h"
#include "display/DrawThread.h"
#include "display/EmbeddedLyrics.h"
#include "engine/PlayEngine.h"

namespace vk {
namespace {

// ((T/2 + W · Pc) / T), with T and Pc halved together until T fits 15 bits, so
// the product stays inside 32 bits.
std::int32_t ProgressPixel(std::int32_t total, std::int32_t pos, int width) {
  if (total <= 0) return 0;
  while (total > 32767) {
    total /= 2;
    pos /= 2;
  }
  if (total <= 0) return 0;
  return (total / 2 + width * pos) / total;
}

void TakeSnapshot(DrawContext& c, FrameSnapshot& s) {
  if (c.now_playing != nullptr) CopyNowPlaying(*c.now_playing, &c.file_generation, &c.file);
  const Settings& g = gSettings;
  const NowPlayingFacts& f = c.file;
  const bool playing = c.engine != nullptr && f.RateHz > 0;
  s.OutChannels = playing ? f.OutChannels : 0;
  s.OutBits = playing ? f.OutBits : 0;
  s.SrcChannels = playing ? f.SrcChannels : 0;
  s.SrcBits = playing ? f.SrcBits : 0;
  s.RateHz = playing ? f.RateHz : 0;
  s.TotalSmpl = playing ? c.engine->TotalSmpl.load(std::memory_order_relaxed) : 0;
  s.NowPlaySmpl = playing ? c.engine->NowPlaySmpl.load(std::memory_order_relaxed) : 0;
  s.TotalSec = s.RateHz > 0 ? s.TotalSmpl / s.RateHz : 0;
  s.CurrentSec = s.RateHz > 0 ? s.NowPlaySmpl / s.RateHz : 0;
  s.BmpOctave = std::clamp<std::int32_t>(g.BmpOctave, 0, 3);
  s.ProgressPx = ProgressPixel(s.TotalSmpl, s.NowPlaySmpl, KeyRangeForOctave(s.BmpOctave).width_px);
  s.Speed = g.Speed;
  if (!playing) {
    s.PlayGlyph = 0;
  } else if (c.engine->Paused.load(std::memory_order_relaxed) != 0) {
    s.PlayGlyph = 1;
  } else {
    s.PlayGlyph = s.Speed == 15 ? 2 : s.Speed < 15 ? 3 : 4;
  }
  s.ChannelSelect = g.ChannelSelect;
  s.Balance = g.Balance;
  s.Volume = g.Volume;
  s.Theme = static_cast<std::int32_t>(c.ThemeSerial);
  s.GrpType = g.GrpType;
  s.GaugeDB = g.GaugeDB;
  s.GaugeHZ = g.GaugeHZ;
  s.ThresDw = g.ThresDw;
  s.ThresUp = g.ThresUp;
  s.FrameRate = g.FrameRate;
  s.FftItem = g.NowNumFFTSmplItem;
  s.LrcsOnOff = g.LyricsLrcsOnOff;
  s.WipeOnOff = g.LyricsWipeOnOff;
  s.BeforeItem = g.LyricsNowBeforeTimeItem;
  s.AfterItem = g.LyricsNowAfterTimeItem;
  s.MinScrlItem = g.LyricsNowMinScrlTimeItem;
  s.GapItem = g.LyricsNowGapTimeItem;
  s.PeakHold = g.PeakHold;
  s.KeyMode = g.KeyMode == 1 ? 1 : 0;
  s.KeysHeard = g.KeysHeard == 1 ? 1 : 0;

  const std::time_t second = std::time(nullptr);
  if (second != c.last_second) {
    c.last_second = second;
    c.FramesPerSecond = c.FramesDrawn;
    c.FramesDrawn = 0;
  }
  s.FramesPerSecond = c.FramesPerSecond;
  std::memcpy(s.Caption, f.Caption, sizeof s.Caption);
  std::memcpy(s.FormatLine, playing ? f.FormatLine : "", playing ? sizeof s.FormatLine : 1);
  std::memcpy(s.Path, f.Path, sizeof s.Path);
}

bool StatusChanged(const FrameSnapshot& a, const FrameSnapshot& b) {
  return a.PlayGlyph != b.PlayGlyph || a.Speed != b.Speed || a.ChannelSelect != b.ChannelSelect ||
         a.TotalSec != b.TotalSec || a.CurrentSec != b.CurrentSec || a.Theme != b.Theme ||
         a.BmpOctave != b.BmpOctave;
}

bool KeyboardChanged(const FrameSnapshot& a, const FrameSnapshot& b) {
  return a.FftItem != b.FftItem || a.TotalSmpl != b.TotalSmpl || a.NowPlaySmpl != b.NowPlaySmpl ||
         a.ChannelSelect != b.ChannelSelect || a.ProgressPx != b.ProgressPx || a.Theme != b.Theme ||
         a.BmpOctave != b.BmpOctave || a.GrpType != b.GrpType || a.GaugeDB != b.GaugeDB ||
         a.GaugeHZ != b.GaugeHZ || a.ThresDw != b.ThresDw || a.ThresUp != b.ThresUp ||
         a.Balance != b.Balance || a.Volume != b.Volume || a.LrcsOnOff != b.LrcsOnOff ||
         a.WipeOnOff != b.WipeOnOff || a.BeforeItem != b.BeforeItem || a.AfterItem != b.AfterItem ||
         a.MinScrlItem != b.MinScrlItem || a.GapItem != b.GapItem || a.KeyMode != b.KeyMode ||
         a.KeysHeard != b.KeysHeard;
}

bool InfoChanged(const FrameSnapshot& a, const FrameSnapshot& b) {
  return a.RateHz != b.RateHz || a.SrcBits != b.SrcBits || a.SrcChannels != b.SrcChannels ||
         a.Theme != b.Theme || a.BmpOctave != b.BmpOctave || a.ThresDw != b.ThresDw ||
         a.ThresUp != b.ThresUp || a.FrameRate != b.FrameRate ||
         std::strcmp(a.Caption, b.Caption) != 0 || std::strcmp(a.FormatLine, b.FormatLine) != 0 ||
         (a.FrameRate == 1 && a.FramesPerSecond != b.FramesPerSecond);
}

int DrawKeyboardGroup(DrawContext& c, const FrameSnapshot& s) {
  PixelBuffer& p = c.Picture;
  DrawProgressBar(p, s.ProgressPx, c.theme);

  AnalysisInput in;
  in.fft_item = s.FftItem;
  in.out_channels = s.OutChannels;
  in.out_bits = s.OutBits;
  in.src_bits = s.SrcBits;
  in.rate_hz = s.RateHz;
  in.total_frames = s.TotalSmpl;
  in.position = s.NowPlaySmpl;
  in.channel_select = s.ChannelSelect;
  in.bmp_octave = s.BmpOctave;
  in.heard = s.KeysHeard;
  Analysis& a = c.analysis;
  AnalyseFrame(a, in, s.TotalSmpl > 0 ? c.engine : nullptr);

  const KeyRange range = KeyRangeForOctave(s.BmpOctave);
  DrawGraphTiles(p, c.tiles, range.octaves);
  // Without a file there is no spectrum and no threshold lines, only the tiles.
  if (a.file_open) {
    DrawSpectrum(p, a.Graph.get(), a.GraphCount, s.GrpType, c.theme.GrpLine.bgr());
    DrawThresholdLines(p, s.ThresDw, s.ThresUp, c.theme);
  }
  DrawScales(p, c.bitmaps, s.BmpOctave, s.GaugeDB, s.GaugeHZ, c.theme);

  LyricsDrawInput lyr;
  lyr.LrcsOnOff = s.LrcsOnOff;
  lyr.WipeOnOff = s.WipeOnOff;
  lyr.file_open = a.file_open;
  lyr.position = s.NowPlaySmpl;
  lyr.rate_hz = s.RateHz;
  lyr.theme_serial = c.ThemeSerial;
  lyr.timing = LyricsTimingFromItems(s.BeforeItem, s.AfterItem, s.MinScrlItem, s.GapItem);
  DrawLyrics(p, c.lyrics_view, c.lyrics, lyr, c.fonts, c.theme);

  int flags = 0;
  if (a.file_open) {
    GaugeInput g;
    g.PosL = a.PosL;
    g.NegL = a.NegL;
    g.PosR = a.PosR;
    g.NegR = a.NegR;
    g.Balance = s.Balance;
    g.Volume = s.Volume;
    g.PeakHold = s.PeakHold;
    flags = DrawLevelGauge(p, c.gauge, g, c.theme);
  }
  if (s.KeyMode == 1) {
    NoteModeFrame(c.notes, a, in, s.ThresDw, s.ThresUp);
    DrawKeyboard(p, c.bitmaps, c.notes.Level, s.BmpOctave, s.ThresDw, s.ThresUp, c.theme);
    DrawChordName(p, c.fonts, c.notes.Chord, c.theme);
  } else {
    DrawKeyboard(p, c.bitmaps, a.KeyLevel, s.BmpOctave, s.ThresDw, s.ThresUp, c.theme);
  }
  return flags;
}

}  // namespace

void ResetSnapshot(FrameSnapshot& s) {
  std::memset(&s, 0xFF, sizeof s);  // every integer -1
  s.Caption[0] = '\0';
  s.FormatLine[0] = '\0';
  s.Path[0] = '\0';
}

FrameResult FrameStep(DrawContext& c) {
  FrameSnapshot& s = c.now;
  TakeSnapshot(c, s);
  FrameResult r;

  if (std::strcmp(s.Path, c.LastDrawn.Path) != 0) {
    if (s.Path[0] != '\0') {
      LoadLyricsOrEmbedded(c.lyrics, s.Path);
    } else {
      FreeLyrics(c.lyrics);
    }
  }
  if (s.FftItem != c.LastDrawn.FftItem) AnalysisSetFftItem(c.analysis, s.FftItem);
  // The owner re-creates the picture when the octave setting changes; a frame
  // that sees the new setting first draws at the right width all the same.
  if (c.Picture.Width != KeyRangeForOctave(s.BmpOctave).width_px) {
    CreateDrawPicture(c, s.BmpOctave);
  }

  if (StatusChanged(s, c.LastDrawn)) {
    StatusInput in;
    in.PlayGlyph = s.PlayGlyph;
    in.Speed = s.Speed;
    in.ChannelSelect = s.ChannelSelect;
    in.CurrentSec = s.CurrentSec;
    in.TotalSec = s.TotalSec;
    DrawStatusArea(c.Picture, c.bitmaps, in, c.theme);
    r.status = true;
  }
  if (KeyboardChanged(s, c.LastDrawn)) {
    r.gauge_flags = DrawKeyboardGroup(c, s);
    r.keyboard = true;
  }
  if (InfoChanged(s, c.LastDrawn)) {
    InfoInput in;
    in.Caption = s.Caption;
    in.FormatLine = s.FormatLine;
    in.ThresDw = s.ThresDw;
    in.ThresUp = s.ThresUp;
    in.FrameRate = s.FrameRate;
    in.FramesPerSecond = s.FramesPerSecond;
    DrawInfoText(c.Picture, c.fonts, in, c.theme);
    r.info = true;
  }
  if (r.any()) ++c.FramesDrawn;
  c.LastDrawn = s;
  return r;
}

std::uint32_t FrameReportWord(const DrawContext& c, const FrameResult& r) {
  std::uint32_t w = static_cast<std::uint32_t>(r.gauge_flags) & 0xFFu;
  if (r.any()) w |= kReportRedrawn;
  return w | PackReportSummary(c.analysis.KeyMax, c.analysis.KeyFloor);
}

}  // namespace vk
