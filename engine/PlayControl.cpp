#include "engine/PlayControl.h"

#include <algorithm>

#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/PlayEngine.h"

namespace vk {
namespace {

void ClearRepeat(Player& p) {
  p.Engine.RepeatA.store(0, std::memory_order_relaxed);
  p.Engine.RepeatB.store(0, std::memory_order_relaxed);
}

void Post(Player& p, std::int32_t command, std::int32_t param1 = 0, std::int32_t param2 = 0,
          std::int32_t* answer = nullptr) {
  PostThreadCommand(p.Mailbox, command, param1, param2, answer);
}

// Reposition at the place reached with the old speed, whatever ResetDevice says.
void ReseekAfterSpeedChange(Player& p, std::int32_t old_speed, std::int32_t new_speed) {
  gSettings.PrevSpeed = old_speed;
  gSettings.Speed = new_speed;
  PublishPlaySettings(p);
  Post(p, kPlaySeek, 0, kSeekCurrent);
}

}  // namespace

void PublishPlaySettings(Player& p) { p.Engine.Params.Publish(PlayParamsFrom(gSettings)); }

int StartPlayback(Player& p, const char* path, MessageSink* owner) {
  ValidateSettings(gSettings);
  return StartPlaybackWith(p, path, owner, PlayParamsFrom(gSettings),
                           PlayThreadPriority(gSettings.NowPlayThreadPrortyItem), PlayStart{});
}

int StartPlaybackWith(Player& p, const char* path, MessageSink* owner, const PlayParams& params,
                      int priority, const PlayStart& at) {
  p.Engine.Params.Publish(params);
  p.Engine.RepeatA.store(at.a, std::memory_order_relaxed);
  p.Engine.RepeatB.store(at.b, std::memory_order_relaxed);
  p.Engine.PassLimit.store(at.pass_limit, std::memory_order_relaxed);
  p.StartFrame = std::max(at.from, 0);
  p.OpenPath = path;
  p.PositionPending.store(0, std::memory_order_relaxed);
  const int answer = StartThread(p.Mailbox, owner, reinterpret_cast<std::intptr_t>(&p),
                                 PlayThreadProc, priority);
  // A thread that could not be created at all would leave us waiting for reports
  // that never come; say so as a failure to open the device.
  return answer == kStartNoThread ? kEngineNoDevice : answer;
}

void StopPlayback(Player& p) {
  Post(p, kPlayClose);
  JoinThread(p.Mailbox);
  ClearRepeat(p);
}

void EndPlayback(Player& p) {
  JoinThread(p.Mailbox);
  ClearRepeat(p);
}

void AcknowledgePosition(Player& p) { p.PositionPending.store(0, std::memory_order_release); }

void PausePlayback(Player& p) { Post(p, kPlayPause); }
void ResumePlayback(Player& p) { Post(p, kPlayRestart); }

void SeekPlayback(Player& p, std::int32_t position, std::int32_t mode) {
  Post(p, kPlaySeek, position, mode);
}

bool QueryPlayPosition(Player& p, std::int32_t* position) {
  return PostThreadCommand(p.Mailbox, kPlayPosition, 0, 0, position) == kPostAnswered;
}

void ApplyPlaySetting(Player& p) {
  if (gSettings.ResetDevice == 1) {
    gSettings.PrevSpeed = static_cast<std::int32_t>(gSettings.Speed);
    PublishPlaySettings(p);
    Post(p, kPlaySeek, 0, kSeekCurrent);
  } else {
    PublishPlaySettings(p);
    Post(p, kPlaySeek, 0, kSeekEffectsOnly);
  }
}

namespace {

// Stores `value` (clamped to 0 … 20) in `word` and applies it, when it differs.
void SetLevel(Player& p, SettingInt& word, std::int32_t value) {
  value = std::clamp(value, 0, 20);
  if (value == word) return;
  word = value;
  ApplyPlaySetting(p);
}

}  // namespace

void ChangeSpeed(Player& p, int delta) {
  const std::int32_t old_speed = gSettings.Speed;
  const std::int32_t new_speed = std::clamp(old_speed + delta, 0, 35);
  if (new_speed != old_speed) ReseekAfterSpeedChange(p, old_speed, new_speed);
}

void SetSpeedPercent(Player& p, int percent) {
  const std::int32_t speed = SpeedFromPercent(percent);
  const std::int32_t old_speed = gSettings.Speed;
  if (speed != old_speed) ReseekAfterSpeedChange(p, old_speed, speed);
}

void ChangeVolume(Player& p, int delta) { SetLevel(p, gSettings.Volume, gSettings.Volume + delta); }
void SetVolume(Player& p, std::int32_t volume) { SetLevel(p, gSettings.Volume, volume); }

void ChangeBalance(Player& p, int delta) {
  SetLevel(p, gSettings.Balance, gSettings.Balance + delta);
}
void SetBalance(Player& p, std::int32_t balance) { SetLevel(p, gSettings.Balance, balance); }

void SetChannelSelect(Player& p, std::int32_t mode) {
  if (mode < 0 || mode > 4 || mode == gSettings.ChannelSelect) return;
  gSettings.ChannelSelect = mode;
  ApplyPlaySetting(p);
}

void SetEffectSwitch(Player& p, EffectKind effect, std::int32_t on) {
  SettingInt& word = gSettings.*EffectSwitch(effect);
  if (word == on) return;
  word = on;
  ApplyPlaySetting(p);
}

void ToggleEffectOption(Player& p, SettingInt Settings::*option) {
  gSettings.*option = gSettings.*option != 0 ? 0 : 1;
  ApplyPlaySetting(p);
}

void ResetEffectToRecommended(Player& p, EffectKind effect) {
  if (effect == EffectKind::kTimeStretch) {
    const bool window_changed = StoreRecommended(gSettings, effect);
    if (gSettings.Speed != 15) {
      ReseekAfterSpeedChange(p, gSettings.Speed, 15);
    } else if (window_changed) {
      ApplyPlaySetting(p);
    }
    return;
  }
  if (StoreRecommended(gSettings, effect)) ApplyPlaySetting(p);
}

void ResetAllEffectsToRecommended(Player& p) {
  ResetEffectToRecommended(p, EffectKind::kTimeStretch);
  bool changed = false;
  for (EffectKind e : {EffectKind::kPitchShift, EffectKind::kTone, EffectKind::kChorus,
                       EffectKind::kDelay, EffectKind::kReverb}) {
    changed = StoreRecommended(gSettings, e) || changed;
  }
  if (changed) ApplyPlaySetting(p);
}

void ApplyVocalCancelPreset(Player& p) {
  SetChannelSelect(p, kChannelsLR);
  if (StoreVocalCancelTone(gSettings)) ApplyPlaySetting(p);
}

void SetMainPanelPitch(Player& p, std::int32_t position) {
  if (StoreMainPanelPitch(gSettings, position)) {
    ApplyPlaySetting(p);
  } else {
    PublishPlaySettings(p);  // the new pitch, from the next block on
  }
}

}  // namespace vk
