// The one dispatcher of command numbers. Menu items that a button carries are
// forwarded to the button's number; every other number runs a small handler
// chosen from a table of id ranges.
#include <QLineEdit>
#include <QMessageBox>
#include <QStatusBar>
#include <algorithm>

#include "app/AboutDialog.h"
#include "app/FileCommands.h"
#include "app/InterfaceLanguage.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/Mp3DiagnosticsCommand.h"
#include "app/PictureController.h"
#include "app/PlaylistCommands.h"
#include "app/PracticeTools.h"
#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "engine/PlayEngine.h"
#include "shell/CommandIds.h"
#include "shell/ThreadPriority.h"
#include "ui/PlaylistView.h"
#include "ui/SearchBox.h"
#include "ui/SeekBar.h"

namespace vk {

// The page the web-site command opens.
inline constexpr const char* kWebSiteUrl = "https://velkaris.org/";

// Handlers of the main window's commands; a friend, so they stay out of the
// window's interface.
class CommandHandlers {
 public:
  using Fn = void (*)(MainWindow& w, int id);
  struct Range {
    int first;
    int last;
    Fn fn;
  };

  static void Dispatch(MainWindow& w, int id);

 private:
  static void RepeatToggle(MainWindow& w, int id);
  static void Search(MainWindow& w, int id);
  static void Move(MainWindow& w, int id);
  static void FileCommand(MainWindow& w, int id);
  static void Remove(MainWindow& w, int id);
  static void Diagnostics(MainWindow& w, int id);
  static void Exit(MainWindow& w, int id);
  static void PictureOption(MainWindow& w, int id);
  static void PlaySelected(MainWindow& w, int id);
  static void Transport(MainWindow& w, int id);
  static void ABPoint(MainWindow& w, int id);
  static void Option(MainWindow& w, int id);
  static void WaveBuffers(MainWindow& w, int id);
  static void AllOptions(MainWindow& w, int id);
  static void Help(MainWindow& w, int id);
  static void Practice(MainWindow& w, int id);

  static const Range kRanges[];
};

namespace {

// Menu items that forward themselves as a click of the button that carries
// the action.
struct Forward {
  int menu_first;
  int menu_last;
  int button_first;
};

constexpr Forward kForwards[] = {
    {cmd::kRepeatOne, cmd::kRepeatAll, cmd::kBtnRepeatOne},
    {cmd::kSearchNext, cmd::kSearchNext, cmd::kBtnSearchNext},
    {cmd::kSearchPrev, cmd::kSearchPrev, cmd::kBtnSearchPrev},
    {cmd::kTopMost, cmd::kTopMost, cmd::kBtnTopMost},
    {cmd::kMiniMode, cmd::kMiniMode, cmd::kBtnMiniMode},
    {cmd::kMaxMode, cmd::kMaxMode, cmd::kBtnMaxMode},
    {cmd::kStop, cmd::kStop, cmd::kBtnStop},
    {cmd::kPlayPause, cmd::kPlayPause, cmd::kBtnPlayPause},
    {cmd::kPrevious, cmd::kPrevious, cmd::kBtnPrev},
    {cmd::kNext, cmd::kNext, cmd::kBtnNext},
    {cmd::kChannelStereo, cmd::kChannelStereo + 4, cmd::kBtnChannel0},
    {cmd::kEffectTmst, cmd::kEffectTmst + 5, cmd::kBtnEffect0},
    {cmd::kVocalCancel, cmd::kVocalCancel, cmd::kBtnVocalCancel},
};

void Toggle(SettingInt& s) { s = s != 0 ? 0 : 1; }

// An option back to the default its key declares.
void RestoreDefault(SettingInt Settings::*field) {
  if (const KeyDef* key = FindSettingKey(field)) gSettings.*field = key->def;
}

}  // namespace

const CommandHandlers::Range CommandHandlers::kRanges[] = {
    {cmd::kBtnRepeatOne, cmd::kBtnRepeatAll, &CommandHandlers::RepeatToggle},
    {cmd::kBtnSearchNext, cmd::kBtnSearchPrev, &CommandHandlers::Search},
    {cmd::kMoveUp, cmd::kMoveDown, &CommandHandlers::Move},
    {cmd::kOpen, cmd::kSavePlaylist, &CommandHandlers::FileCommand},
    {cmd::kRemoveSelected, cmd::kClearPlaylist, &CommandHandlers::Remove},
    {cmd::kMp3Diagnostics, cmd::kMp3Diagnostics, &CommandHandlers::Diagnostics},
    {cmd::kExit, cmd::kExit, &CommandHandlers::Exit},
    {cmd::kPictureLeft, cmd::kKeysHeard, &CommandHandlers::PictureOption},
    {cmd::kPlaySelected, cmd::kPlaySelected, &CommandHandlers::PlaySelected},
    {cmd::kBtnStop, cmd::kBtnNext, &CommandHandlers::Transport},
    {cmd::kAAtClick, cmd::kABOff, &CommandHandlers::ABPoint},
    {cmd::kBtnAAtNow, cmd::kBtnABOff, &CommandHandlers::ABPoint},
    {cmd::kResetDevice, cmd::kMainPriority0 + 2, &CommandHandlers::Option},
    {cmd::kWaveBufLen0, cmd::kWaveBufNum0 + 4, &CommandHandlers::WaveBuffers},
    {cmd::kPlayPriority0, cmd::kDrawSleep0 + 5, &CommandHandlers::Option},
    {cmd::kAllOptions, cmd::kAllOptions, &CommandHandlers::AllOptions},
    {cmd::kLanguage0, cmd::kLanguage0 + 2, &CommandHandlers::Option},
    {cmd::kManual, cmd::kAbout, &CommandHandlers::Help},
    {cmd::kExportFile, cmd::kExportAB, &CommandHandlers::Practice},
    {cmd::kTrainer, cmd::kTrainerSettings, &CommandHandlers::Practice},
    {cmd::kMarkerSet, cmd::kMarkerPrev, &CommandHandlers::Practice},
};

void CommandHandlers::Dispatch(MainWindow& w, int id) {
  for (const Forward& f : kForwards) {
    if (id >= f.menu_first && id <= f.menu_last) {
      id = f.button_first + (id - f.menu_first);
      break;
    }
  }
  // The buttons, value controls, modes and effect commands (ControlCommands.cpp).
  if (RunControlCommand(w.control_ctx_, id)) {
    w.RefreshMenus();
    return;
  }
  for (const Range& r : kRanges) {
    if (id >= r.first && id <= r.last) {
      r.fn(w, id);
      w.RefreshMenus();
      return;
    }
  }
}

void CommandHandlers::RepeatToggle(MainWindow&, int id) {
  Toggle(id == cmd::kBtnRepeatOne ? gSettings.RepeatOne : gSettings.RepeatAll);
}

void CommandHandlers::Search(MainWindow& w, int id) {
  const std::string text = w.search_box_->text().toStdString();
  const bool found = id == cmd::kBtnSearchNext ? SearchNext(w.playlist_, text)
                                               : SearchPrev(w.playlist_, text);
  if (found) {
    w.list_view_->setFocus();
  } else {
    w.search_box_->setFocus();
  }
}

void CommandHandlers::Move(MainWindow& w, int id) {
  if (gSettings.MiniMode != 0) {
    w.setFocus();
  } else {
    w.list_view_->setFocus();
  }
  const bool moved_current = id == cmd::kMoveUp ? MoveUp(w.playlist_, w.Playing())
                                                : MoveDown(w.playlist_, w.Playing());
  if (moved_current) w.UpdateRemain(w.playlist_.CurrentItem);
}

void CommandHandlers::FileCommand(MainWindow& w, int id) {
  if (id == cmd::kOpen) OpenCommand(w, false);
  if (id == cmd::kAdd) OpenCommand(w, true);
  if (id == cmd::kSavePlaylist) SaveCommand(w);
}

void CommandHandlers::Remove(MainWindow& w, int id) {
  if (id == cmd::kRemoveSelected) {
    RemoveSelectedCommand(w, true);
  } else if (id == cmd::kRemovePlayed) {
    RemovePlayedCommand(w);
  } else {
    ClearPlaylistCommand(w);
  }
  if (gSettings.MiniMode != 0) {
    w.setFocus();
  } else if (id == cmd::kRemoveSelected) {
    w.list_view_->setFocus();
  }
}

void CommandHandlers::Diagnostics(MainWindow& w, int) { RunMp3DiagnosticsCommand(w); }

void CommandHandlers::Exit(MainWindow& w, int) {
  QMetaObject::invokeMethod(&w, [&w] { w.close(); }, Qt::QueuedConnection);
}

void CommandHandlers::PictureOption(MainWindow& w, int id) {
  if (const RadioGroup* group = FindRadioGroup(id)) {
    const std::int32_t value = id - group->first;
    if (gSettings.*group->field == value) return;
    gSettings.*group->field = value;
  } else if (const CheckMark* check = FindCheckMark(id)) {
    Toggle(gSettings.*check->field);
  }
  w.LayOutChildren();
}

void CommandHandlers::PlaySelected(MainWindow& w, int) { w.PlaySelected(); }

void CommandHandlers::Transport(MainWindow& w, int id) {
  w.setFocus();
  switch (id) {
    case cmd::kBtnStop: w.StopPlayback(); break;
    case cmd::kBtnPlayPause:
      if (w.Playing()) {
        if (w.Paused()) {
          w.ResumePlayback();
        } else {
          w.PausePlayback();
        }
      } else {
        w.playlist_.CurrentItem = w.playlist_.FocusItem;
        if (w.playlist_.CurrentItem >= 0) w.PlayCurrent();
      }
      break;
    case cmd::kBtnPrev: w.PrevItem(); break;
    case cmd::kBtnNext: w.NextItem(); break;
    default: break;
  }
}

void CommandHandlers::ABPoint(MainWindow& w, int id) {
  if (id >= cmd::kBtnAAtNow) id = cmd::kAAtNow + (id - cmd::kBtnAAtNow);
  if (id == cmd::kABOff) {
    w.ClearAB();
    return;
  }
  if (!w.Playing()) return;
  const std::int32_t now = w.GetPlayer().Engine.NowPlaySmpl.load(std::memory_order_relaxed);
  switch (id) {
    case cmd::kAAtClick: w.SetPointA(w.RightClickSmpl); break;
    case cmd::kBAtClick: w.SetPointB(w.RightClickSmpl); break;
    case cmd::kAAtNow: w.SetPointA(now); break;
    default: {
      w.SetPointB(now);
      const std::int32_t a = w.GetPlayer().Engine.RepeatA.load(std::memory_order_relaxed);
      if (a < w.GetPlayer().Engine.RepeatB.load(std::memory_order_relaxed) && a < now) SeekPlayback(w.GetPlayer(), a, kSeekTo);
      break;
    }
  }
}

void CommandHandlers::Option(MainWindow&, int id) {
  if (id == cmd::kResetDevice) {
    Toggle(gSettings.ResetDevice);
    return;
  }
  const RadioGroup* group = FindRadioGroup(id);
  if (group == nullptr) return;
  gSettings.*group->field = id - group->first;
  if (group->first == cmd::kMainPriority0) SetUiThreadPriority(gSettings.NowMainThreadPrortyItem);
}

void CommandHandlers::WaveBuffers(MainWindow& w, int id) {
  const RadioGroup* group = FindRadioGroup(id);
  if (group == nullptr) return;
  w.RestartWithNewBuffers([group, id] { gSettings.*group->field = id - group->first; });
}

void CommandHandlers::AllOptions(MainWindow& w, int) {
  using S = Settings;
  RestoreDefault(&S::ResetDevice);
  RestoreDefault(&S::NextPlayList);
  RestoreDefault(&S::NowMainThreadPrortyItem);
  w.RestartWithNewBuffers([] {
    RestoreDefault(&S::NowLenWaveBufItem);
    RestoreDefault(&S::NowNumWaveBufItem);
    RestoreDefault(&S::NowPlayThreadPrortyItem);
    RestoreDefault(&S::NowPlayThreadSleepItem);
  });
  RestoreDefault(&S::NowNumFFTSmplItem);
  RestoreDefault(&S::NowDrawThreadPrortyItem);
  RestoreDefault(&S::NowDrawThreadSleepItem);
  SetUiThreadPriority(gSettings.NowMainThreadPrortyItem);
}

void CommandHandlers::Help(MainWindow& w, int id) {
  if (id == cmd::kManual) {
    ShowManual(&w, w.paths_);
  } else if (id == cmd::kWebSite) {
    OpenAddress(&w, kWebSiteUrl);
  } else {
    ShowAboutDialog(&w);
  }
}

void CommandHandlers::Practice(MainWindow& w, int id) { w.practice_->Command(id); }

void MainWindow::Command(int id) { CommandHandlers::Dispatch(*this, id); }

// Stops what plays, lets `change` set the new buffer options, and starts the
// same file again where it was, paused if it was, with its A-B points.
void MainWindow::RestartWithNewBuffers(const std::function<void()>& change) {
  bool was_paused = false;
  if (Playing()) {
    gSettings.NowSmpl = player_->Engine.NowPlaySmpl.load(std::memory_order_relaxed);
    gSettings.ABRepeatNowSmplA = player_->Engine.RepeatA.load(std::memory_order_relaxed);
    gSettings.ABRepeatNowSmplB = player_->Engine.RepeatB.load(std::memory_order_relaxed);
    gSettings.ABRepeatNowOnOffA = ab_on_a_;
    gSettings.ABRepeatNowOnOffB = ab_on_b_;
    was_paused = Paused();
    gSettings.PlayStatus = 1;
    StopPlayback();
  } else {
    gSettings.PlayStatus = 0;
  }
  change();
  if (gSettings.PlayStatus != 1) return;
  PlayCurrent();
  if (!Playing()) return;
  if (was_paused) PausePlayback();
  SeekPlayback(*player_, gSettings.NowSmpl, kSeekTo);
  player_->Engine.RepeatA.store(gSettings.ABRepeatNowSmplA, std::memory_order_relaxed);
  player_->Engine.RepeatB.store(gSettings.ABRepeatNowSmplB, std::memory_order_relaxed);
  seek_bar_->SetPoints(player_->Engine.RepeatA.load(std::memory_order_relaxed),
                       player_->Engine.RepeatB.load(std::memory_order_relaxed));
  ab_on_a_ = gSettings.ABRepeatNowOnOffA;
  ab_on_b_ = gSettings.ABRepeatNowOnOffB;
}

}  // namespace vk
