#include "app/ControlCommands.h"

#include <QCheckBox>
#include <QWidget>
#include <algorithm>

#include "app/ValueControls.h"
#include "app/WindowModes.h"
#include "common/Settings.h"
#include "engine/EffectParams.h"
#include "engine/PlayControl.h"
#include "shell/CommandIds.h"
#include "shell/ControlTable.h"
#include "ui/NumberBox.h"
#include "ui/Trackbar.h"

namespace vk {
namespace {

bool Mini() { return gSettings.MiniMode != 0; }

// A menu step focuses the control it moves, or the window where that is hidden.
void FocusControl(const ControlCommandContext& c, QWidget* control, bool hidden_in_mini = true) {
  if (hidden_in_mini && Mini()) {
    c.window->setFocus();
  } else {
    control->setFocus();
  }
}

EffectKind KindOfPage(int page) { return static_cast<EffectKind>(page); }

void Threshold(const ControlCommandContext& c, int id) {
  ControlWidgets& w = c.controls->Widgets();
  const bool lower = id == cmd::kThresDwUp || id == cmd::kThresDwDown;
  const int delta = id == cmd::kThresDwUp || id == cmd::kThresUpUp ? 1 : -1;
  ThresholdWidgets& t = lower ? w.thres_dw : w.thres_up;
  const std::int32_t value =
      std::clamp((lower ? gSettings.ThresDw : gSettings.ThresUp) + delta, -100, 0);
  FocusControl(c, t.trackbar);
  t.box->ShowNumber(value);  // the box applies the value and drags the other one
  if (c.thresholds_changed) c.thresholds_changed();
}

void Recommend(const ControlCommandContext& c, int id) {
  if (id == cmd::kBtnPageRecommend) id = cmd::kRecommendTmst + gSettings.EfctPage;
  if (id == cmd::kRecommendAll) {
    ResetAllEffectsToRecommended(*c.player);
    for (int page = 0; page < kEffectPageCount; ++page) c.controls->ShowPage(page);
  } else {
    const int page = id - cmd::kRecommendTmst;
    ResetEffectToRecommended(*c.player, KindOfPage(page));
    c.controls->ShowPage(page);
  }
  c.controls->ShowStretchChecks();
  if (id == cmd::kRecommendAll || id == cmd::kRecommendTmst) {
    c.controls->ShowSpeed();
    if (c.update_totals) c.update_totals();
  }
}

}  // namespace

bool RunControlCommand(const ControlCommandContext& c, int id) {
  ValueControls& controls = *c.controls;
  ControlWidgets& w = controls.Widgets();
  const bool button = id >= 2001;
  if (button) c.window->setFocus();

  if (id == cmd::kBtnTopMost) {
    c.modes->ToggleTopMost();
  } else if (id == cmd::kBtnMiniMode) {
    c.modes->ToggleMiniMode();
  } else if (id == cmd::kBtnMaxMode) {
    c.modes->ToggleMaxMode();
  } else if (id == cmd::kPictureLeft || id == cmd::kPictureLeft + 1) {
    c.modes->SetPictureSide(id - cmd::kPictureLeft);
  } else if (id >= cmd::kOctave6 && id <= cmd::kOctave6 + 3) {
    c.modes->SetOctave(id - cmd::kOctave6);
  } else if (id >= cmd::kThresDwUp && id <= cmd::kThresUpDown) {
    Threshold(c, id);
  } else if (id == cmd::kAutoThres) {
    gSettings.AutoThres = gSettings.AutoThres != 0 ? 0 : 1;
    w.auto_adjust->setChecked(gSettings.AutoThres != 0);
    controls.UpdateEnabling();
    if (c.thresholds_changed) c.thresholds_changed();
  } else if (id == cmd::kSpeedDown || id == cmd::kSpeedUp) {
    FocusControl(c, w.speed);
    ChangeSpeed(*c.player, id == cmd::kSpeedDown ? -1 : 1);
    controls.ShowSpeed();
    if (c.update_totals) c.update_totals();
  } else if (id == cmd::kBalanceLeft || id == cmd::kBalanceRight) {
    FocusControl(c, w.balance);
    ChangeBalance(*c.player, id == cmd::kBalanceLeft ? -1 : 1);
    controls.ShowBalance();
  } else if (id == cmd::kVolumeDown || id == cmd::kVolumeUp) {
    FocusControl(c, w.volume, false);
    ChangeVolume(*c.player, id == cmd::kVolumeDown ? -1 : 1);
    controls.ShowVolume();
  } else if (id >= cmd::kBtnChannel0 && id <= cmd::kBtnChannel0 + 4) {
    SetChannelSelect(*c.player, id - cmd::kBtnChannel0);
  } else if (id >= cmd::kBtnEffect0 && id <= cmd::kBtnEffect0 + 5) {
    const EffectKind kind = KindOfPage(id - cmd::kBtnEffect0);
    SetEffectSwitch(*c.player, kind, gSettings.*EffectSwitch(kind) != 0 ? 0 : 1);
  } else if (id == cmd::kTmstQuality) {
    ToggleEffectOption(*c.player, &Settings::TmstQuality);
    controls.ShowStretchChecks();
  } else if (id == cmd::kPsftQuality) {
    ToggleEffectOption(*c.player, &Settings::PsftQuality);
    controls.ShowStretchChecks();
  } else if (id == cmd::kPsftFormant) {
    ToggleEffectOption(*c.player, &Settings::PsftFormant);
    controls.ShowStretchChecks();
  } else if (id >= cmd::kBtnPage0 && id <= cmd::kBtnPage0 + 5) {
    const int page = id - cmd::kBtnPage0;
    if (page != gSettings.EfctPage) {
      gSettings.EfctPage = page;
      c.modes->ShowControls();
    }
  } else if (id >= cmd::kPageTmst && id <= cmd::kPageTmst + 5) {
    c.modes->ShowPageFromMenu(id - cmd::kPageTmst);
  } else if ((id >= cmd::kRecommendTmst && id <= cmd::kRecommendTmst + 5) ||
             id == cmd::kRecommendAll || id == cmd::kBtnPageRecommend) {
    Recommend(c, id);
  } else if (id == cmd::kBtnVocalCancel || id == cmd::kVocalCancel) {
    ApplyVocalCancelPreset(*c.player);
    // The preset's values do nothing with the tone control off: the user
    // asked for the vocals to go, so it comes on with them.
    if (gSettings.ToneOnOff == 0) SetEffectSwitch(*c.player, EffectKind::kTone, 1);
    controls.ShowPage(2);
  } else {
    return false;
  }
  controls.RefreshFaces();
  return true;
}

}  // namespace vk
