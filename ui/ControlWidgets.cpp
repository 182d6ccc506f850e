#include "ui/ControlWidgets.h"
#include "shell/CommandIds.h"

#include <QCheckBox>
#include <QLabel>

#include "shell/ValueRules.h"
#include "ui/BitmapButton.h"
#include "ui/NumberBox.h"
#include "shell/SliderTexts.h"
#include "ui/ScaleLabel.h"
#include "ui/ShownText.h"
#include "ui/Splitter.h"
#include "ui/ThemeList.h"
#include "ui/Trackbar.h"

namespace vk {
namespace {

QRect Q(const WinRect& r) { return QRect(r.x, r.y, r.w, r.h); }

QLabel* SmallLabel(const QString& text, Qt::Alignment align, QWidget* parent) {
  auto* l = new QLabel(text, parent);
  QFont f = l->font();
  f.setPixelSize(10);
  l->setFont(f);
  l->setAlignment(align);
  return l;
}

// Buttons: id, size. Their faces follow the state (see FaceOfButton).
struct ButtonDef {
  int id, w, h;
};
constexpr ButtonDef kButtons[] = {
    {cmd::kBtnTopMost, 48, 20},   {cmd::kBtnMiniMode, 48, 20},   {cmd::kBtnSearchNext, 40, 20},
    {cmd::kBtnSearchPrev, 40, 20}, {cmd::kBtnRepeatOne, 48, 20}, {cmd::kBtnRepeatAll, 48, 20},
    {cmd::kBtnStop, 28, 28},      {cmd::kBtnPlayPause, 32, 28},  {cmd::kBtnPrev, 28, 28},
    {cmd::kBtnNext, 28, 28},      {cmd::kBtnAAtNow, 24, 24},     {cmd::kBtnBAtNow, 24, 24},
    {cmd::kBtnABOff, 24, 24},     {cmd::kBtnPageRecommend, 88, 34}, {cmd::kBtnVocalCancel, 88, 34},
    {cmd::kBtnMaxMode, 88, 20},
};

void Place(QWidget* w, const WinRect& r) {
  if (w) w->setGeometry(Q(r));
}

void SetVisible(QWidget* w, bool visible) {
  if (w && w->isVisibleTo(w->parentWidget()) != visible) w->setVisible(visible);
}

}  // namespace

BitmapButton* ControlWidgets::Button(int id) const {
  auto it = buttons.find(id);
  return it == buttons.end() ? nullptr : it->second;
}

const ParamWidgets* ControlWidgets::Param(int id) const {
  for (const auto& page : pages) {
    for (const ParamWidgets& p : page) {
      if (id >= p.def->box_id && id <= TrackbarOf(p.def->box_id)) return &p;
    }
  }
  return nullptr;
}

QWidget* ControlWidgets::WidgetById(int id) const {
  switch (id) {
    case kIdThemeList: return theme_list;
    case kIdThresDwBox: return thres_dw.box;
    case kIdThresDwTrackbar: return thres_dw.trackbar;
    case kIdThresUpBox: return thres_up.box;
    case kIdThresUpTrackbar: return thres_up.trackbar;
    case kIdAutoAdjust: return auto_adjust;
    case kIdSpeedTrackbar: return speed;
    case kIdPitchTrackbar: return pitch;
    case kIdBalanceTrackbar: return balance;
    case kIdVolumeTrackbar: return volume;
    default: break;
  }
  if (const ParamWidgets* p = Param(id)) {
    if (id == p->def->box_id) return p->box;
    if (id == TrackbarOf(p->def->box_id)) return p->trackbar;
  }
  return Button(id);
}

ControlWidgets CreateControlWidgets(QWidget* parent,
                                    std::function<void(int client_x)> on_splitter_release,
                                    std::function<int()> picture_width) {
  ControlWidgets w;
  const auto first_new = parent->children().size();
  for (const ButtonDef& b : kButtons) w.buttons[b.id] = new BitmapButton(b.id, b.w, b.h, parent);
  // The transport buttons are in the Tab order (Space or Enter presses them).
  for (int id : {cmd::kBtnStop, cmd::kBtnPlayPause, cmd::kBtnPrev, cmd::kBtnNext}) {
    w.buttons[id]->setFocusPolicy(Qt::TabFocus);
  }
  for (int i = 0; i < 5; ++i) {
    w.buttons[cmd::kBtnChannel0 + i] = new BitmapButton(cmd::kBtnChannel0 + i, 24, 24, parent);
  }
  for (int i = 0; i < kEffectPageCount; ++i) {
    w.buttons[cmd::kBtnEffect0 + i] = new BitmapButton(cmd::kBtnEffect0 + i, 116, 20, parent);
    w.buttons[cmd::kBtnPage0 + i] = new BitmapButton(cmd::kBtnPage0 + i, 116, 20, parent);
  }

  w.theme_list = new ThemeList(parent, std::move(picture_width));

  auto threshold = [parent](ThresholdWidgets& t, int box_id, int bar_id, const char* caption) {
    t.label = SmallLabel(Tr(caption), Qt::AlignCenter, parent);
    t.box = new NumberBox(box_id, 4, parent);
    t.arrows = new UpDownArrows(t.box, kThresMin, kThresMax, 1, parent);
    t.trackbar = new Trackbar(bar_id, Qt::Vertical, kThresMax - kThresMin, parent);
  };
  threshold(w.thres_dw, kIdThresDwBox, kIdThresDwTrackbar, "下側[dB]");
  threshold(w.thres_up, kIdThresUpBox, kIdThresUpTrackbar, "上側[dB]");
  w.auto_adjust = new QCheckBox(QStringLiteral("AUTO ADJUST"), parent);
  w.auto_adjust->setFocusPolicy(Qt::StrongFocus);
  w.tmst_quality = new QCheckBox(QStringLiteral("HIGH QUALITY"), parent);
  w.psft_quality = new QCheckBox(QStringLiteral("HIGH QUALITY"), parent);
  w.psft_formant = new QCheckBox(QStringLiteral("KEEP FORMANTS"), parent);

  // The scales: each number under the thumb position it names.
  auto horizontal = [parent](Trackbar*& bar, QLabel*& scale, int id, int maximum,
                             std::vector<ScaleMark> marks, const char* caption, int caption_at,
                             std::string (*text)(int)) {
    bar = new Trackbar(id, Qt::Horizontal, maximum, parent);
    bar->setTickPosition(QSlider::NoTicks);
    bar->SetValueText(text);
    scale = new ScaleLabel(bar, std::move(marks), Tr(caption), caption_at, parent);
  };
  const auto s = [](const char* t) { return QString::fromUtf8(t); };
  horizontal(w.speed, w.speed_scale, kIdSpeedTrackbar, 35,
             {{0, s("25")}, {5, s("50")}, {15, s("100")}, {35, s("200")}}, "SPEED[%]", 25, SpeedText);
  horizontal(w.pitch, w.pitch_scale, kIdPitchTrackbar, 24,
             {{0, s("-12")}, {12, s("0")}, {24, s("+12")}}, "PITCH", 6, PitchText);
  horizontal(w.balance, w.balance_scale, kIdBalanceTrackbar, 20, {{0, s("L")}, {20, s("R")}},
             "BALANCE", 10, BalanceText);
  horizontal(w.volume, w.volume_scale, kIdVolumeTrackbar, 20,
             {{0, s("-30")}, {15, s("0")}, {20, s("+10")}}, "VOLUME[dB]", 7, VolumeText);
  for (Trackbar* t : {w.thres_dw.trackbar, w.thres_up.trackbar}) {
    t->SetValueText([](int position) { return ThresholdText(-position); });
  }

  w.splitter = new Splitter(parent, std::move(on_splitter_release));

  w.tab_line = new QWidget(parent);
  w.tab_line->setAutoFillBackground(true);
  QPalette line = w.tab_line->palette();
  line.setColor(QPalette::Window, Qt::white);
  w.tab_line->setPalette(line);

  for (int page = 0; page < kEffectPageCount; ++page) {
    for (const ParamDef& def : PageParams(page)) {
      ParamWidgets p;
      p.def = &def;
      p.label = SmallLabel(Tr(def.label), Qt::AlignCenter, parent);
      p.unit = SmallLabel(Tr(def.unit), Qt::AlignCenter, parent);
      p.box = new NumberBox(def.box_id, def.chars, parent);
      p.arrows = new UpDownArrows(p.box, def.min, def.max, def.speed_percent ? 5 : 1, parent);
      p.trackbar = new Trackbar(TrackbarOf(def.box_id), Qt::Vertical, ParamTrackbarMax(def), parent);
      p.trackbar->SetValueText([&def](int position) {
        const int value = ParamValueFromTrackbar(def, position);
        return def.speed_percent ? SpeedText(value) : ParamText(def, value);
      });
      w.pages[page].push_back(p);
    }
  }

  const QObjectList& children = parent->children();
  for (auto i = first_new; i < children.size(); ++i) {
    if (auto* widget = qobject_cast<QWidget*>(children[i])) widget->hide();
  }
  return w;
}

void PlaceControlWidgets(ControlWidgets& w, const MainLayout& l) {
  static constexpr std::pair<int, WinRect MainLayout::*> kPlaces[] = {
      {cmd::kBtnTopMost, &MainLayout::top_most},     {cmd::kBtnMiniMode, &MainLayout::mini_mode},
      {cmd::kBtnSearchNext, &MainLayout::search_next}, {cmd::kBtnSearchPrev, &MainLayout::search_prev},
      {cmd::kBtnRepeatOne, &MainLayout::repeat_one}, {cmd::kBtnRepeatAll, &MainLayout::repeat_all},
      {cmd::kBtnStop, &MainLayout::stop},            {cmd::kBtnPlayPause, &MainLayout::play},
      {cmd::kBtnPrev, &MainLayout::prev},            {cmd::kBtnNext, &MainLayout::next},
      {cmd::kBtnAAtNow, &MainLayout::point_a},       {cmd::kBtnBAtNow, &MainLayout::point_b},
      {cmd::kBtnABOff, &MainLayout::ab_off},         {cmd::kBtnPageRecommend, &MainLayout::page_default},
      {cmd::kBtnVocalCancel, &MainLayout::vocal_cancel}, {cmd::kBtnMaxMode, &MainLayout::max_mode},
  };
  for (auto [id, field] : kPlaces) Place(w.Button(id), l.*field);
  for (int i = 0; i < 5; ++i) Place(w.Button(cmd::kBtnChannel0 + i), l.channel[i]);
  for (int i = 0; i < kEffectPageCount; ++i) {
    Place(w.Button(cmd::kBtnEffect0 + i), l.effect_switch[i]);
    Place(w.Button(cmd::kBtnPage0 + i), l.tab[i]);
  }
  Place(w.theme_list, l.theme_list);
  auto threshold = [](ThresholdWidgets& t, const ThresholdSlot& s) {
    Place(t.label, s.label);
    Place(t.box, s.box);
    Place(t.arrows, s.arrows);
    Place(t.trackbar, s.trackbar);
  };
  threshold(w.thres_dw, l.thres_dw);
  threshold(w.thres_up, l.thres_up);
  Place(w.auto_adjust, l.auto_adjust);
  Place(w.tmst_quality, l.quality_check);
  Place(w.psft_quality, l.quality_check);
  Place(w.psft_formant, l.formant_check);
  auto horizontal = [](Trackbar* bar, QLabel* scale, const TrackbarSlot& s) {
    Place(bar, s.bar);
    Place(scale, s.scale);
  };
  horizontal(w.speed, w.speed_scale, l.speed);
  horizontal(w.pitch, w.pitch_scale, l.pitch);
  horizontal(w.balance, w.balance_scale, l.balance);
  horizontal(w.volume, w.volume_scale, l.volume);
  Place(w.splitter, l.splitter);
  Place(w.tab_line, l.tab_line);
  for (auto& page : w.pages) {
    for (std::size_t i = 0; i < page.size() && i < l.param.size(); ++i) {
      const ParamSlot& s = l.param[i];
      Place(page[i].label, s.label);
      Place(page[i].unit, s.unit);
      Place(page[i].trackbar, s.trackbar);
      Place(page[i].box, s.box);
      Place(page[i].arrows, s.arrows);
    }
  }
}

void ShowControlWidgets(ControlWidgets& w, bool mini_mode, bool max_mode, int page) {
  const bool normal = !mini_mode;
  const bool pages = normal && max_mode;
  for (auto [id, button] : w.buttons) {
    bool shown = normal;
    if (id == cmd::kBtnTopMost || id == cmd::kBtnMiniMode || id == cmd::kBtnStop || id == cmd::kBtnPlayPause ||
        id == cmd::kBtnPrev || id == cmd::kBtnNext) {
      shown = true;
    } else if ((id >= cmd::kBtnPage0 && id < cmd::kBtnPage0 + kEffectPageCount) ||
               id == cmd::kBtnPageRecommend || id == cmd::kBtnVocalCancel) {
      shown = pages;
    }
    SetVisible(button, shown);
  }
  SetVisible(w.theme_list, true);
  SetVisible(w.volume, true);
  SetVisible(w.volume_scale, true);
  for (ThresholdWidgets* t : {&w.thres_dw, &w.thres_up}) {
    for (QWidget* c : std::initializer_list<QWidget*>{t->label, t->box, t->arrows, t->trackbar}) {
      SetVisible(c, normal);
    }
  }
  for (QWidget* c : std::initializer_list<QWidget*>{w.auto_adjust, w.speed, w.speed_scale, w.pitch,
                                                     w.pitch_scale, w.balance, w.balance_scale,
                                                     w.splitter}) {
    SetVisible(c, normal);
  }
  SetVisible(w.tab_line, pages);
  SetVisible(w.tmst_quality, pages && page == 0);
  SetVisible(w.psft_quality, pages && page == 1);
  SetVisible(w.psft_formant, pages && page == 1);
  for (int i = 0; i < kEffectPageCount; ++i) {
    const bool shown = pages && i == page;
    for (ParamWidgets& p : w.pages[i]) {
      for (QWidget* c : std::initializer_list<QWidget*>{p.label, p.unit, p.box, p.arrows,
                                                         p.trackbar}) {
        SetVisible(c, shown);
      }
    }
  }
}

}  // namespace vk
