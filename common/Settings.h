// The settings record: one variable per key of MAIN.INI, named after the key,
// plus the few values that live only for a run (Balance, ChannelSelect,
// PrevSpeed). It is the live state of the program as well as what is saved.
//
// Thread contract: the user-interface thread (or the CLI's main thread) writes
// the integers; the play and draw threads read them at each block or frame.
// Each integer is one relaxed atomic word, so a reader sees either the old or
// the new value and nothing else. Texts are touched by the user-interface
// thread only.
//
// The keys, their defaults and ranges are data (see the key tables below) that
// the file reader, the file writer, the validator and the CLI's --set share.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "common/Path.h"
#include "common/Text.h"

namespace vk {

// One integer setting; reads and writes are whole relaxed words.
struct SettingInt {
  std::atomic<std::int32_t> word{0};

  operator std::int32_t() const { return word.load(std::memory_order_relaxed); }
  SettingInt& operator=(std::int32_t v) {
    word.store(v, std::memory_order_relaxed);
    return *this;
  }
  SettingInt& operator=(const SettingInt& other) {
    return *this = static_cast<std::int32_t>(other);
  }
};

// Text settings hold folders and paths (and the theme name): fields of the
// system's path limit, not 260-byte text fields.
using SettingText = char[kPathFieldSize];

struct Settings {
  // [Window]
  SettingInt MainWndPosX, MainWndPosY, MainWndSizX, MainWndSizY;
  // [File]
  SettingInt RepeatOne, RepeatAll;
  SettingText WavDir = {}, WavPath = {};
  SettingInt NowPlayListItem, PlayStatus, NumSmpl, NowSmpl;
  SettingInt ABRepeatNowOnOffA, ABRepeatNowOnOffB, ABRepeatNowSmplA, ABRepeatNowSmplB;
  // [Display]
  SettingInt TopMost, MiniMode, MaxMode;
  SettingText Theme = {};
  SettingInt BmpWndPos, BmpOctave, GrpType, GaugeDB, GaugeHZ, PeakHold;
  SettingInt LyricsLrcsOnOff, LyricsWipeOnOff, LyricsNowBeforeTimeItem, LyricsNowAfterTimeItem;
  SettingInt LyricsNowMinScrlTimeItem, LyricsNowGapTimeItem, FrameRate, ThresDw, ThresUp, AutoThres;
  SettingInt KeyMode;  // 0: keys lit by the folded spectrum, 1: by the notes found
  // 0: the keys analyse the file's samples; 1: the sound as heard, after pitch
  // shift and the other effects.
  SettingInt KeysHeard;
  // The playlist's columns as the user arranged them: "column:width" in their
  // order on screen, comma separated; empty while the widths follow the texts.
  SettingText ListColumns = {};
  // [Play]
  SettingInt Speed, Volume;
  // The loop trainer: on/off, start, step and end speed in percent, passes per
  // step, and the pause between passes in ms.
  SettingInt TrainOnOff, TrainStart, TrainStep, TrainEvery, TrainEnd, TrainGap;
  // [Effectors]
  SettingInt EfctPage;
  SettingInt TmstOnOff, TmstWndSiz, TmstQuality;  // quality 0: splice stretch, 1: high quality
  SettingInt PsftOnOff, PsftWndSiz1, PsftPitch1, PsftWndSiz2, PsftPitch2, Psft2Ratio;
  SettingInt PsftQuality, PsftFormant;  // high-quality voices; keep the formants
  SettingInt ToneOnOff, ToneLowWidth, ToneLowDepth, ToneLowStereo, ToneMidDepth, ToneMidStereo;
  SettingInt ToneHghWidth, ToneHghDepth, ToneHghStereo;
  SettingInt ChrsOnOff, ChrsDelayTime, ChrsDepth, ChrsLfoFreq, ChrsLfoPhase, ChrsLpf, ChrsHpf,
      ChrsWetRatio;
  SettingInt DlayOnOff, DlayDelayTime, DlayFeedback, DlayLpf, DlayHpf, DlayPanning, DlayCompGain,
      DlayWetRatio;
  SettingInt RvrbOnOff, RvrbDelayTap, RvrbDelayTime, RvrbFeedback, RvrbLpf, RvrbHpf, RvrbPanning,
      RvrbCompGain, RvrbWetRatio;
  // [Option]
  SettingInt ResetDevice, NextPlayList, NowMainThreadPrortyItem;
  SettingInt NowLenWaveBufItem, NowNumWaveBufItem, NowPlayThreadPrortyItem, NowPlayThreadSleepItem;
  SettingInt NowNumFFTSmplItem, NowDrawThreadPrortyItem, NowDrawThreadSleepItem;
  SettingInt Language;  // the window's texts: 0 as the locale says, 1 Japanese, 2 English
  // Not stored: they start at their defaults every run.
  SettingInt Balance, ChannelSelect, PrevSpeed;
};

// The program's settings.
extern Settings gSettings;

// How a key's range is used.
enum KeyFlags : unsigned {
  kKeyRangeAtRead = 1u << 0,  // a stored value outside the range reads as the default
  kKeyValidated = 1u << 1,    // validation replaces a value outside the range by the default
  kKeyWritten = 1u << 2,      // saved at exit (the others are read only or not stored)
  kKeyText = 1u << 3,         // a text key (int_field is null)
};

struct KeyDef {
  const char* name;
  SettingInt Settings::*int_field;
  SettingText Settings::*text_field;
  std::int32_t def;
  std::int32_t min;  // min > max: every integer is accepted
  std::int32_t max;
  unsigned flags;

  bool HasRange() const { return min <= max; }
};

struct SectionDef {
  const char* name;  // null for the values that are not stored
  std::span<const KeyDef> keys;
};

// Every section in the order the file is written: Window, File, Display, Play,
// Effectors, Option, then the unstored values.
std::span<const SectionDef> SettingSections();

// The key called `name` (exact, case-sensitive), or null.
const KeyDef* FindSettingKey(std::string_view name);
// The key of an integer field, or null.
const KeyDef* FindSettingKey(SettingInt Settings::*field);

// Every key to its default, texts empty.
void ResetSettings(Settings& s);

// Replaces each validated value outside its range by its default (never clamps).
// Runs after loading the file and again at every start of playback.
void ValidateSettings(Settings& s);

// Reads MAIN.INI at `path` (sections File, Display, Play, Effectors, Option; the
// Window section is read by ReadWindowSettings), then validates, lowers a Volume
// above 15 to 15 and turns a stored single buffer (or an unknown count) into 8.
// A missing file leaves every key at its default. Returns false when the file
// could not be opened.
bool LoadSettings(const char* path, Settings& s);
// The same from an open stream (null: the defaults, validated).
void LoadSettingsFrom(std::FILE* f, Settings& s);
bool ReadWindowSettings(const char* path, Settings& s);

// Writes every written key, Window section first, through a temporary file.
bool SaveSettings(const char* path, const Settings& s);

// "Key=Value" as given on the command line: sets an integer key when the value is
// a whole decimal number inside the key's range, a text key to the value cut to
// 259 bytes. On failure returns false and says why in `error` (the key and the
// accepted range); nothing is changed then.
bool SetSettingFromText(Settings& s, std::string_view assignment, std::string* error);

// The engine options as the values they select.
int WaveBufLengthMs(std::int32_t item);   // NowLenWaveBufItem: 100, 200, 400, 800
int WaveBufCount(std::int32_t item);      // NowNumWaveBufItem: 1, 2, 4, 8, 16
int PlayThreadSleepMs(std::int32_t item); // NowPlayThreadSleepItem: 1, 2, 5, 10, 20, 50
int PlayThreadPriority(std::int32_t item);// NowPlayThreadPrortyItem: 0 normal, 1 above, 2 highest

// Speed index to percent: 25 + 5 × index.
constexpr int SpeedPercent(std::int32_t speed) { return 25 + 5 * speed; }

}  // namespace vk
