#include "app/ValueControls.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QSignalBlocker>
#include <algorithm>

#include "common/Settings.h"
#include "engine/PlayControl.h"
#include "shell/ValueRules.h"
#include "ui/BitmapButton.h"
#include "ui/NumberBox.h"
#include "ui/ThemeList.h"
#include "ui/Trackbar.h"

namespace vk {
namespace {

std::optional<std::int32_t> BoxNumber(const QString& text) {
  return ParseBoxNumber(text.toUtf8().toStdString());
}

ParamWidgets* SpeedParam(ControlWidgets& w) {
  for (ParamWidgets& p : w.pages[0]) {
    if (p.def->speed_percent) return &p;
  }
  return nullptr;
}

}  // namespace

ValueControls::ValueControls(QWidget* parent, Hooks hooks,
                             std::function<void(int client_x)> on_splitter)
    : QObject(parent), hooks_(std::move(hooks)),
      w_(CreateControlWidgets(parent, std::move(on_splitter),
                              [] { return PictureWidth(gSettings.BmpOctave); })) {
  Connect();
}

void ValueControls::Connect() {
  for (auto [id, button] : w_.buttons) {
    connect(button, &QAbstractButton::clicked, this, [this, id = id] {
      if (hooks_.button_clicked) hooks_.button_clicked(id);
    });
  }
  connect(w_.theme_list, &QComboBox::activated, this, [this](int index) {
    if (hooks_.theme_chosen) hooks_.theme_chosen(std::max(index, 0));
  });

  w_.thres_dw.box->installEventFilter(this);
  w_.thres_up.box->installEventFilter(this);
  connect(w_.thres_dw.box, &QLineEdit::textChanged, this,
          [this](const QString& t) { OnThresholdBox(true, t); });
  connect(w_.thres_up.box, &QLineEdit::textChanged, this,
          [this](const QString& t) { OnThresholdBox(false, t); });
  for (auto [t, lower] : {std::pair{&w_.thres_dw, true}, std::pair{&w_.thres_up, false}}) {
    connect(t->trackbar, &QSlider::valueChanged, this, [t = t](int value) {
      t->box->ShowNumber(ThresholdFromTrackbar(t->trackbar->PositionOf(value)));
    });
    connect(t->box, &QLineEdit::editingFinished, this, [this, lower = lower, t = t] {
      t->box->ShowNumber(lower ? gSettings.ThresDw : gSettings.ThresUp);
    });
  }
  // The check boxes of the stretch pages toggle the keys as their menu items do.
  for (auto [box, key] : {std::pair{w_.tmst_quality, &Settings::TmstQuality},
                          std::pair{w_.psft_quality, &Settings::PsftQuality},
                          std::pair{w_.psft_formant, &Settings::PsftFormant}}) {
    connect(box, &QCheckBox::clicked, this, [this, key = key] {
      ToggleEffectOption(*hooks_.player, key);
      ShowStretchChecks();
      if (hooks_.refresh_menus) hooks_.refresh_menus();
    });
  }
  connect(w_.auto_adjust, &QCheckBox::clicked, this, [this](bool ticked) {
    gSettings.AutoThres = ticked ? 1 : 0;
    UpdateEnabling();
    if (hooks_.refresh_menus) hooks_.refresh_menus();
  });

  connect(w_.speed, &QSlider::valueChanged, this, [this](int position) { OnSpeedTrackbar(position); });
  connect(w_.pitch, &QSlider::valueChanged, this, [this](int position) { OnPitchTrackbar(position); });
  connect(w_.balance, &QSlider::valueChanged, this,
          [this](int position) { SetBalance(*hooks_.player, position); });
  connect(w_.volume, &QSlider::valueChanged, this,
          [this](int position) { SetVolume(*hooks_.player, position); });

  for (auto& page : w_.pages) {
    for (ParamWidgets& p : page) {
      // A number acts once it is entered whole (typing 150 never plays at 25 %
      // on the way; typing 30 in a 5 … 50 box never restarts the output at 5).
      connect(p.box, &NumberBox::textEntered, this, [this, &p](const QString& text) {
        if (p.def->speed_percent) {
          OnSpeedBox(text);
        } else {
          OnBoxChanged(p);
        }
      });
      // Leaving a box shows the number it stands for (a typed 300 % reads 200).
      connect(p.box, &QLineEdit::editingFinished, this, [&p] {
        const std::int32_t value = gSettings.*(p.def->key);
        p.box->ShowNumber(p.def->speed_percent ? SpeedPercent(value) : value);
      });
      connect(p.trackbar, &QSlider::valueChanged, this,
              [this, &p](int value) { OnParamTrackbar(p, p.trackbar->PositionOf(value)); });
    }
  }
}

void ValueControls::OnThresholdBox(bool lower, const QString& text) {
  const auto typed = BoxNumber(text);
  if (!typed) return;
  ThresholdWidgets& own = lower ? w_.thres_dw : w_.thres_up;
  ThresholdWidgets& other = lower ? w_.thres_up : w_.thres_dw;
  const Thresholds before{gSettings.ThresDw, gSettings.ThresUp};
  Thresholds from = before;
  if (own.box->hasFocus() && drag_base_) (lower ? from.up : from.dw) = *drag_base_;
  const Thresholds t = lower ? SetLowerThreshold(from, *typed) : SetUpperThreshold(from, *typed);
  gSettings.ThresDw = t.dw;
  gSettings.ThresUp = t.up;
  own.trackbar->SetPositionQuietly(ThresholdTrackbarPos(lower ? t.dw : t.up));
  // The other threshold was dragged along: show it, which moves its trackbar.
  const std::int32_t other_before = lower ? before.up : before.dw;
  const std::int32_t other_now = lower ? t.up : t.dw;
  if (other_now != other_before) other.box->ShowNumber(other_now);
}

bool ValueControls::eventFilter(QObject* watched, QEvent* e) {
  if (watched == w_.thres_dw.box || watched == w_.thres_up.box) {
    if (e->type() == QEvent::FocusIn) {
      drag_base_ = watched == w_.thres_dw.box ? gSettings.ThresUp : gSettings.ThresDw;
    } else if (e->type() == QEvent::FocusOut) {
      drag_base_.reset();
    }
  }
  return false;
}

void ValueControls::OnBoxChanged(const ParamWidgets& p) {
  const auto typed = BoxNumber(p.box->text());
  if (!typed) return;
  const std::int32_t value = std::clamp(*typed, p.def->min, p.def->max);
  p.trackbar->SetPositionQuietly(ParamTrackbarPos(*p.def, value));
  if (p.def->key == &Settings::PsftPitch1) w_.pitch->SetPositionQuietly(PitchTrackbarPos(value));
  // Only a real change restarts the effects: showing the stored values after a
  // reset, or a keystroke the clamp swallows, leaves the sound alone.
  if (value == gSettings.*(p.def->key)) return;
  gSettings.*(p.def->key) = value;
  ApplyPlaySetting(*hooks_.player);
}

void ValueControls::OnParamTrackbar(const ParamWidgets& p, int position) {
  const std::int32_t value = ParamValueFromTrackbar(*p.def, position);
  if (p.def->speed_percent) {
    OnSpeedTrackbar(value);
    return;
  }
  if (value != gSettings.*(p.def->key)) p.box->ShowNumber(value);
}

void ValueControls::OnSpeedBox(const QString& text) {
  const auto typed = BoxNumber(text);
  if (!typed) return;
  const std::int32_t before = gSettings.Speed;
  SetSpeedPercent(*hooks_.player, *typed);
  if (gSettings.Speed == before) return;
  w_.speed->SetPositionQuietly(gSettings.Speed);
  if (ParamWidgets* p = SpeedParam(w_)) {
    p->trackbar->SetPositionQuietly(ParamTrackbarPos(*p->def, gSettings.Speed));
  }
  if (hooks_.update_totals) hooks_.update_totals();
}

void ValueControls::OnSpeedTrackbar(std::int32_t speed) {
  const std::int32_t before = gSettings.Speed;
  if (speed == before) return;
  ChangeSpeed(*hooks_.player, speed - before);
  AfterSpeedChange();
}

void ValueControls::AfterSpeedChange() {
  ShowSpeed();
  if (hooks_.update_totals) hooks_.update_totals();
}

void ValueControls::OnPitchTrackbar(int position) {
  if (PitchFromTrackbar(position) == gSettings.PsftPitch1 && gSettings.PsftPitch2 == 0 &&
      gSettings.Psft2Ratio == 0) {
    return;
  }
  SetMainPanelPitch(*hooks_.player, position);
  ShowPage(1);
  RefreshFaces();
  if (hooks_.refresh_menus) hooks_.refresh_menus();
}

void ValueControls::ShowStretchChecks() {
  for (auto [box, key] : {std::pair{w_.tmst_quality, &Settings::TmstQuality},
                          std::pair{w_.psft_quality, &Settings::PsftQuality},
                          std::pair{w_.psft_formant, &Settings::PsftFormant}}) {
    QSignalBlocker quiet(box);
    box->setChecked(gSettings.*key != 0);
  }
}

void ValueControls::ShowSettings() {
  ShowThresholds();
  {
    QSignalBlocker quiet(w_.auto_adjust);
    w_.auto_adjust->setChecked(gSettings.AutoThres != 0);
  }
  ShowStretchChecks();
  ShowSpeed();
  w_.pitch->SetPositionQuietly(PitchTrackbarPos(gSettings.PsftPitch1));
  ShowBalance();
  ShowVolume();
  for (int page = 0; page < kEffectPageCount; ++page) ShowPage(page);
  UpdateEnabling();
  RefreshFaces();
}

void ValueControls::RefreshFaces() {
  const ButtonState state = hooks_.button_state ? hooks_.button_state() : ButtonState{};
  for (auto [id, button] : w_.buttons) {
    const ButtonFace face = FaceOfButton(id, gSettings, state);
    button->SetFace(QString::fromStdString(face.up), QString::fromStdString(face.down));
  }
}

void ValueControls::UpdateEnabling() {
  const bool manual = gSettings.AutoThres == 0;
  for (ThresholdWidgets* t : {&w_.thres_dw, &w_.thres_up}) {
    t->box->setEnabled(manual);
    t->arrows->setEnabled(manual);
    t->trackbar->setEnabled(manual);
  }
}

void ValueControls::ShowThresholds() {
  // The program's own values as they stand: a pair loaded from MAIN.INI or set
  // by the automatic adjustment is shown, not dragged into order.
  QSignalBlocker quiet_dw(w_.thres_dw.box);
  QSignalBlocker quiet_up(w_.thres_up.box);
  w_.thres_dw.box->ShowNumber(gSettings.ThresDw);
  w_.thres_up.box->ShowNumber(gSettings.ThresUp);
  w_.thres_dw.trackbar->SetPositionQuietly(ThresholdTrackbarPos(gSettings.ThresDw));
  w_.thres_up.trackbar->SetPositionQuietly(ThresholdTrackbarPos(gSettings.ThresUp));
}

void ValueControls::ShowPage(int page) {
  if (page < 0 || page >= kEffectPageCount) return;
  for (ParamWidgets& p : w_.pages[page]) {
    const std::int32_t value = gSettings.*(p.def->key);
    p.box->ShowNumber(p.def->speed_percent ? SpeedPercent(value) : value);
    p.trackbar->SetPositionQuietly(ParamTrackbarPos(*p.def, value));
  }
  if (page == 1) w_.pitch->SetPositionQuietly(PitchTrackbarPos(gSettings.PsftPitch1));
}

void ValueControls::ShowSpeed() {
  w_.speed->SetPositionQuietly(gSettings.Speed);
  if (ParamWidgets* p = SpeedParam(w_)) {
    p->box->ShowNumber(SpeedPercent(gSettings.Speed));
    p->trackbar->SetPositionQuietly(ParamTrackbarPos(*p->def, gSettings.Speed));
  }
}

void ValueControls::ShowBalance() { w_.balance->SetPositionQuietly(gSettings.Balance); }
void ValueControls::ShowVolume() { w_.volume->SetPositionQuietly(gSettings.Volume); }

void ValueControls::FillThemes(const QStringList& names, int index) {
  QSignalBlocker quiet(w_.theme_list);
  w_.theme_list->clear();
  w_.theme_list->addItems(names);
  w_.theme_list->setCurrentIndex(names.isEmpty() ? -1 : std::clamp(index, 0, int(names.size()) - 1));
}

}  // namespace vk
