// velkaris-cli play: plays a file through the play thread to the sound device
// (or the null or wav output), with one status line. On a terminal: space
// pauses and resumes, left/right seek 5 s, up/down change the volume, [ ] the
// speed, - = the pitch (as the main panel's pitch control), t switches the time
// stretch (speed without pitch change), v the vocal cancel, q quits.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/Commands.h"
#include "cli/PlayOptions.h"
#include "engine/PlaySession.h"
#include "cli/Refusal.h"
#include "cli/Terminal.h"
#include "common/Settings.h"
#include "engine/EffectParams.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"

namespace vk::cli {
namespace {

using Clock = std::chrono::steady_clock;

std::string Clock_mmss(std::int64_t frames, std::int64_t rate) {
  const std::int64_t tenths = rate > 0 ? frames * 10 / rate : 0;
  char text[32];
  std::snprintf(text, sizeof text, "%lld:%02lld.%lld", static_cast<long long>(tenths / 600),
                static_cast<long long>(tenths / 10 % 60), static_cast<long long>(tenths % 10));
  return text;
}

class TerminalView final : public SessionView {
 public:
  TerminalView(Player& player, RawKeys& keys, bool tty) : player_(player), keys_(keys), tty_(tty) {}

  void OnStarted(std::int32_t rate_hz, std::int32_t total) override {
    rate_hz_ = rate_hz;
    total_ = total;
    Show(true);
  }

  void OnPosition(std::int32_t position, std::int32_t total) override {
    position_ = position;
    total_ = total;
    Show(false);
  }

  bool OnIdle() override {
    switch (keys_.Read()) {
      case Key::kQuit: return false;
      case Key::kSpace:
        paused_ = !paused_;
        if (paused_) {
          PausePlayback(player_);
        } else {
          ResumePlayback(player_);
        }
        Show(true);
        break;
      case Key::kLeft: Seek(-5); break;
      case Key::kRight: Seek(5); break;
      case Key::kUp: ChangeVolume(player_, 1); Show(true); break;
      case Key::kDown: ChangeVolume(player_, -1); Show(true); break;
      case Key::kSpeedDown: ChangeSpeed(player_, -1); Show(true); break;
      case Key::kSpeedUp: ChangeSpeed(player_, 1); Show(true); break;
      case Key::kPitchDown: SetMainPanelPitch(player_, MainPanelPitchPosition(gSettings) - 1); Show(true); break;
      case Key::kPitchUp: SetMainPanelPitch(player_, MainPanelPitchPosition(gSettings) + 1); Show(true); break;
      case Key::kToggleStretch:
        SetEffectSwitch(player_, EffectKind::kTimeStretch, gSettings.TmstOnOff == 1 ? 0 : 1);
        Show(true);
        break;
      case Key::kToggleVocal: ToggleVocalCancel(); Show(true); break;
      case Key::kNone: break;
    }
    return true;
  }

  void Finish() {
    if (tty_ && shown_) std::fputc('\n', stdout);
    std::fflush(stdout);
  }

 private:
  void Seek(int seconds) {
    std::int32_t now = position_;
    QueryPlayPosition(player_, &now);
    const std::int64_t target = static_cast<std::int64_t>(now) + std::int64_t{seconds} * rate_hz_;
    SeekPlayback(player_, static_cast<std::int32_t>(std::clamp<std::int64_t>(target, 0, total_)), kSeekTo);
  }

  // On: the vocal-cancel tone values with the tone control switched on. Off:
  // the tone control switched off, its values kept.
  void ToggleVocalCancel() {
    if (VocalCancelOn()) {
      SetEffectSwitch(player_, EffectKind::kTone, 0);
      return;
    }
    ApplyVocalCancelPreset(player_);
    SetEffectSwitch(player_, EffectKind::kTone, 1);
  }

  static bool VocalCancelOn() { return gSettings.ToneOnOff == 1 && ToneIsVocalCancel(gSettings); }

  // On a terminal the line is redrawn at most ten times a second; elsewhere it
  // is printed only when the state changes, so logs stay short.
  void Show(bool state_changed) {
    const Clock::time_point now = Clock::now();
    if (tty_) {
      if (!state_changed && shown_ && now - last_shown_ < std::chrono::milliseconds(100)) return;
    } else if (shown_ && !state_changed) {
      return;
    }
    last_shown_ = now;
    shown_ = true;
    std::printf("%s%s  %s / %s  VOLUME %d  SPEED %d%%  PITCH %+d  STRETCH %s  VOCAL %s%s",
                tty_ ? "\r" : "", paused_ ? "PAUSED " : "PLAYING",
                Clock_mmss(position_, rate_hz_).c_str(), Clock_mmss(total_, rate_hz_).c_str(),
                static_cast<int>(gSettings.Volume), SpeedPercent(gSettings.Speed),
                gSettings.PsftOnOff == 1 ? static_cast<int>(gSettings.PsftPitch1) : 0,
                gSettings.TmstOnOff == 1 ? "ON " : "OFF", VocalCancelOn() ? "ON " : "OFF",
                tty_ ? "   " : "\n");
    std::fflush(stdout);
  }

  Player& player_;
  RawKeys& keys_;
  std::int32_t rate_hz_ = 0;
  bool tty_;
  bool paused_ = false;
  bool shown_ = false;
  std::int32_t position_ = 0;
  std::int32_t total_ = 0;
  Clock::time_point last_shown_;
};

}  // namespace

int RunPlay(int argc, char** argv) {
  PlayOptions options;
  std::string error;
  if (!ParsePlayOptions(argc, argv, OptionSet::kPlay, &options, &error) ||
      !ApplySettingOptions(options, &error)) {
    std::fprintf(stderr, "velkaris-cli play: %s\n", error.c_str());
    return 2;
  }
  if (options.audio.kind == WaveOutKind::kWav && SameFile(options.file, options.audio.path)) {
    std::fprintf(stderr, "velkaris-cli play: the output would overwrite %s\n", options.file.c_str());
    return 2;
  }
  const auto player = std::make_unique<Player>();
  player->Output = options.audio;
  InstallQuitHandler();

  SessionResult result;
  {
    RawKeys keys;
    TerminalView view(*player, keys, isatty(STDOUT_FILENO) != 0);
    result = RunPlaySession(*player, options.file, view);
    view.Finish();
  }
  if (result.how == SessionEnd::kFailed) {
    PrintEngineRefusal("play", options.file, result.code);
    return 1;
  }
  if (options.audio.kind == WaveOutKind::kWav && player->OutStatus.WavOutputFailed) {
    std::fprintf(stderr, "velkaris-cli play: writing %s failed\n", options.audio.path);
    return 1;
  }
  return 0;
}

}  // namespace vk::cli
