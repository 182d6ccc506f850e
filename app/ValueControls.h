// What the value controls do when the user changes them: the theme list, the
// threshold boxes and trackbars with AUTO ADJUST, the speed box and the speed,
// pitch, balance and volume trackbars, and the effect pages' boxes and
// trackbars. Every change lands in the settings and reaches the play thread
// through ApplyPlaySetting (or the re-seek of a speed change). The buttons only
// report their clicks; the command table carries their actions.
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>
#include <optional>

#include "shell/ButtonFaces.h"
#include "ui/ControlWidgets.h"

namespace vk {

struct Player;

class ValueControls : public QObject {
 public:
  struct Hooks {
    std::function<void(int id)> button_clicked;  // a button's command number
    std::function<void()> update_totals;         // the status bar's totals after a speed change
    std::function<void()> refresh_menus;         // check marks after a switch changed here
    std::function<void(int index)> theme_chosen; // the list's selection changed
    std::function<ButtonState()> button_state;   // playing, paused, A-B points
    Player* player = nullptr;                    // what a changed value is applied to
  };

  ValueControls(QWidget* parent, Hooks hooks, std::function<void(int client_x)> on_splitter);

  ControlWidgets& Widgets() { return w_; }

  // Every control from the settings: trackbars, boxes, the check box, the button
  // faces and the enabling of the threshold controls.
  void ShowSettings();
  // The stretch pages' check boxes from the settings (after a menu toggle too).
  void ShowStretchChecks();
  void RefreshFaces();
  // The threshold boxes, their arrows and trackbars are disabled while AutoThres is 1.
  void UpdateEnabling();

  // The thresholds as they stand, without the boxes' drag rule.
  void ShowThresholds();
  // Writes the values into the boxes (which then act as if typed).
  void ShowPage(int page);
  // The speed box and both speed trackbars from Speed.
  void ShowSpeed();
  void ShowBalance();
  void ShowVolume();

  void FillThemes(const QStringList& names, int index);

 protected:
  // Notes the other threshold when the user starts typing into a threshold box.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void OnBoxChanged(const ParamWidgets& p);
  void OnParamTrackbar(const ParamWidgets& p, int position);
  void OnSpeedBox(const QString& text);
  void OnSpeedTrackbar(std::int32_t speed);
  void OnThresholdBox(bool lower, const QString& text);
  void OnPitchTrackbar(int position);
  void AfterSpeedChange();
  void Connect();

  Hooks hooks_;
  ControlWidgets w_;
  // While the user types into a threshold box, the other threshold is dragged
  // from the value it had before the typing began, so the numbers passed on the
  // way ("-2" on the way to "-20") leave no trace.
  std::optional<std::int32_t> drag_base_;
};

}  // namespace vk
