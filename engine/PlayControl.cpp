#include "engine/PlayControl.h"

#include <algorithm>

#include "common/Settings.h"
#include "engine/EffectChain.h"
#include "engine/PlayEngine.h"

namespace vk {
namespace {

void ClearRepeat() {
  gPlay.RepeatA.store(0, std::memory_order_relaxed);
  gPlay.RepeatB.store(0, std::memory_order_relaxed);
}

void Post(std::int32_t command, std::int32_t param1 = 0, std::int32_t param2 = 0,
          std::int32_t* answer = nullptr) {
  PostThreadCommand(PlayMailbox, command, param1, param2, answer);
}

// Reposition at the place reached with the old speed, whatever ResetDevice says.
void ReseekAfterSpeedChange(std::int32_t old_speed, std::int32_t new_speed) {
  gSettings.PrevSpeed = old_speed;
  gSettings.Speed = new_speed;
  Post(kPlaySeek, 0, kSeekCurrent);
}

}  // namespace

int StartPlayback(const char* path, MessageSink* owner) {
  ValidateSettings(gSettings);
  ClearRepeat();
  const int answer = StartThread(PlayMailbox, owner, reinterpret_cast<std::intptr_t>(path),
                                 PlayThreadProc, PlayThreadPriority(gSettings.NowPlayThreadPrortyItem));
  // A thread that could not be created at all would leave us waiting for reports
  // that never come; say so as a failure to open the device.
  return answer == kStartNoThread ? kEngineNoDevice : answer;
}

void StopPlayback() {
  Post(kPlayClose);
  JoinThread(PlayMailbox);
  ClearRepeat();
}

void EndPlayback() {
  JoinThread(PlayMailbox);
  ClearRepeat();
}

void PausePlayback() { Post(kPlayPause); }
void ResumePlayback() { Post(kPlayRestart); }

void SeekPlayback(std::int32_t position, std::int32_t mode) { Post(kPlaySeek, position, mode); }

bool QueryPlayPosition(std::int32_t* position) {
  return PostThreadCommand(PlayMailbox, kPlayPosition, 0, 0, position) == kPostAnswered;
}

void ApplyPlaySetting() {
  if (gSettings.ResetDevice == 1) {
    gSettings.PrevSpeed = static_cast<std::int32_t>(gSettings.Speed);
    Post(kPlaySeek, 0, kSeekCurrent);
  } else {
    Post(kPlaySeek, 0, kSeekEffectsOnly);
  }
}

void ChangeSpeed(int delta) {
  const std::int32_t old_speed = gSettings.Speed;
  ReseekAfterSpeedChange(old_speed, std::clamp(old_speed + delta, 0, 35));
}

void SetSpeedPercent(int percent) {
  const std::int32_t speed = SpeedFromPercent(percent);
  const std::int32_t old_speed = gSettings.Speed;
  if (speed != old_speed) ReseekAfterSpeedChange(old_speed, speed);
}

void ChangeVolume(int delta) {
  gSettings.Volume = std::clamp(gSettings.Volume + delta, 0, 20);
  ApplyPlaySetting();
}

void SetChannelSelect(std::int32_t mode) {
  if (mode < 0 || mode > 4 || mode == gSettings.ChannelSelect) return;
  gSettings.ChannelSelect = mode;
  ApplyPlaySetting();
}

void SetEffectSwitch(EffectKind effect, std::int32_t on) {
  SettingInt& word = gSettings.*EffectSwitch(effect);
  if (word == on) return;
  word = on;
  ApplyPlaySetting();
}

void ResetEffectToRecommended(EffectKind effect) {
  if (effect == EffectKind::kTimeStretch) {
    StoreRecommended(gSettings, effect);
    ReseekAfterSpeedChange(gSettings.Speed, 15);
    return;
  }
  if (StoreRecommended(gSettings, effect)) ApplyPlaySetting();
}

void ResetAllEffectsToRecommended() {
  ResetEffectToRecommended(EffectKind::kTimeStretch);
  bool changed = false;
  for (EffectKind e : {EffectKind::kPitchShift, EffectKind::kTone, EffectKind::kChorus,
                       EffectKind::kDelay, EffectKind::kReverb}) {
    changed = StoreRecommended(gSettings, e) || changed;
  }
  if (changed) ApplyPlaySetting();
}

void ApplyVocalCancelPreset() {
  SetChannelSelect(kChannelsLR);
  if (StoreVocalCancelTone(gSettings)) ApplyPlaySetting();
}

void SetMainPanelPitch(std::int32_t position) {
  if (StoreMainPanelPitch(gSettings, position)) ApplyPlaySetting();
}

}  // namespace vk
