// The window's side of playback: starting and stopping the play thread, and
// the one path by which a changed setting reaches it. The window and the CLI
// call these from their own (user-interface) thread only.
#pragma once

#include <cstdint>

#include "common/MessageSink.h"
#include "engine/EffectParams.h"
#include "engine/Player.h"

namespace vk {

// Validates the settings, clears the A-B points and starts the play thread on
// `path`. Returns 0, or the engine code of a failed start (the thread has ended).
int StartPlayback(Player& p, const char* path, MessageSink* owner);

// Where a playback starts and what it repeats, set before its first block
// (an export must not write a block from elsewhere first).
struct PlayStart {
  std::int32_t from = 0;        // the frame the file opens at
  std::int32_t a = 0;           // repeat points; repeat is on while a < b
  std::int32_t b = 0;
  std::int32_t pass_limit = 0;  // passes from A before playback ends (0: no limit)
};

// StartPlayback with a snapshot of the settings made by the caller (the same
// one for the whole playback, unless the caller publishes another) and the
// play thread's priority. Safe from any one thread that owns `p`.
int StartPlaybackWith(Player& p, const char* path, MessageSink* owner, const PlayParams& params,
                      int priority, const PlayStart& at);

// Closes the device (command 5), joins the thread, clears the A-B points.
void StopPlayback(Player& p);

// After 0x8005 or 0x8006 the thread has ended by itself: join it and clear up.
void EndPlayback(Player& p);

// Publishes the settings the play thread uses as one snapshot, heard from the
// next block. Every command below publishes by itself; a caller that changes
// those settings in another way calls this.
void PublishPlaySettings(Player& p);

void PausePlayback(Player& p);
void ResumePlayback(Player& p);

// Seek command: mode -1 goes to frame `position`, a mode above 0 to the fraction
// position / mode of the length, mode 0 restarts at the position reached.
void SeekPlayback(Player& p, std::int32_t position, std::int32_t mode);

// The owner has handled a position report (0x8008): the play thread may post
// the next. The position to show is Engine.NowPlaySmpl, read at any time.
void AcknowledgePosition(Player& p);

// The position now sounding, in frames; false when no file plays.
bool QueryPlayPosition(Player& p, std::int32_t* position);

// After a change of volume, balance, channels or an effect: with ResetDevice on,
// the device restarts at the current position so the change is heard at once;
// otherwise only the effect states are reset and queued sound plays out.
void ApplyPlaySetting(Player& p);

// A command that changes nothing does nothing: at a limit, or with the value
// already set, nothing is re-seeked or restarted, so queued sound and the
// delay and reverb tails play on.

// Speed index one step down or up (clamped to 0 … 35); the position reached at
// the old speed becomes the new base.
void ChangeSpeed(Player& p, int delta);

// A speed typed as a percentage (limited to 25 … 200, to the nearest 5 %);
// the re-seek follows only when the Speed index really changes.
void SetSpeedPercent(Player& p, int percent);

// Volume one step down or up (clamped to 0 … 20), then ApplyPlaySetting.
void ChangeVolume(Player& p, int delta);
// Volume set to `volume` (clamped to 0 … 20).
void SetVolume(Player& p, std::int32_t volume);

// Balance one step left (−1) or right (+1), or set (both clamped to 0 … 20).
void ChangeBalance(Player& p, int delta);
void SetBalance(Player& p, std::int32_t balance);

// Channel selection 0 … 4; applied only when it really changes.
void SetChannelSelect(Player& p, std::int32_t mode);

// An effect's switch on (1) or off (0); a change runs ApplyPlaySetting.
void SetEffectSwitch(Player& p, EffectKind effect, std::int32_t on);
// A 0/1 option of the effects (TmstQuality, PsftQuality, PsftFormant) turned
// over; runs ApplyPlaySetting.
void ToggleEffectOption(Player& p, SettingInt Settings::*option);

// Reset to recommended, one effect (commands 1431–1436). The time stretch's
// window goes back to 30 ms and the speed to 100 %, with the re-seek of a speed
// change; the others store their recommended values and run ApplyPlaySetting
// when anything changed. No switch is touched.
void ResetEffectToRecommended(Player& p, EffectKind effect);
// Every effect (command 1441): the time stretch first, then the others.
void ResetAllEffectsToRecommended(Player& p);

// The vocal-cancel preset (command 1421): channels back to L·R, then the tone
// values that remove a centred voice; the tone switch is left as it is.
void ApplyVocalCancelPreset(Player& p);

// The main panel's pitch control at `position` (0 … 24); the settings change
// runs only when the pitch shift's switch changed, otherwise the new pitch is
// heard from the next block filled.
void SetMainPanelPitch(Player& p, std::int32_t position);

}  // namespace vk
