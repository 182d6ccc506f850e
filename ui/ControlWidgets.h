// The main window's buttons and value controls as widgets: every owner-drawn
// button, the theme list, the threshold boxes with AUTO ADJUST, the four
// horizontal trackbars with their scales, the splitter and one page of boxes and
// vertical trackbars per effect. Made once at start-up from the control table,
// then moved to the rectangles of the current layout.
#pragma once

#include <QString>
#include <array>
#include <functional>
#include <map>
#include <vector>

#include "shell/ControlTable.h"
#include "shell/Layout.h"

class QCheckBox;
class QLabel;
class QWidget;

namespace vk {

class BitmapButton;
class NumberBox;
class Splitter;
class ThemeList;
class Trackbar;
class UpDownArrows;

struct ParamWidgets {
  const ParamDef* def = nullptr;
  QLabel* label = nullptr;
  QLabel* unit = nullptr;
  NumberBox* box = nullptr;
  UpDownArrows* arrows = nullptr;
  Trackbar* trackbar = nullptr;
};

struct ThresholdWidgets {
  QLabel* label = nullptr;
  NumberBox* box = nullptr;
  UpDownArrows* arrows = nullptr;
  Trackbar* trackbar = nullptr;
};

struct ControlWidgets {
  std::map<int, BitmapButton*> buttons;  // by control id
  ThemeList* theme_list = nullptr;
  ThresholdWidgets thres_dw, thres_up;
  QCheckBox* auto_adjust = nullptr;
  // On the time-stretch page and the pitch-shift page: the high-quality
  // engine of each, and keeping the formants of the pitch-shifted voices.
  QCheckBox* tmst_quality = nullptr;
  QCheckBox* psft_quality = nullptr;
  QCheckBox* psft_formant = nullptr;
  Trackbar* speed = nullptr;
  Trackbar* pitch = nullptr;
  Trackbar* balance = nullptr;
  Trackbar* volume = nullptr;
  QLabel* speed_scale = nullptr;
  QLabel* pitch_scale = nullptr;
  QLabel* balance_scale = nullptr;
  QLabel* volume_scale = nullptr;
  Splitter* splitter = nullptr;
  QWidget* tab_line = nullptr;
  std::array<std::vector<ParamWidgets>, kEffectPageCount> pages;

  BitmapButton* Button(int id) const;
  // The parameter with box, arrows or trackbar `id`, or null.
  const ParamWidgets* Param(int id) const;
  // The focusable control with `id` (theme list, thresholds, AUTO ADJUST,
  // trackbars, parameter boxes and trackbars), or null.
  QWidget* WidgetById(int id) const;
};

// Creates every control as a child of `parent`, hidden until a layout shows it.
// `on_splitter_release` receives the splitter's left edge when a drag ends;
// `picture_width` gives the keyboard picture's width when the theme list opens.
ControlWidgets CreateControlWidgets(QWidget* parent,
                                    std::function<void(int client_x)> on_splitter_release,
                                    std::function<int()> picture_width);

// Moves the controls to their places in `layout`.
void PlaceControlWidgets(ControlWidgets& w, const MainLayout& layout);

// Shows the controls of a layout and hides the rest: in mini mode only the
// top-most and mini buttons, the theme list, the transport and the volume;
// the tabs and the shown page's controls only in max mode outside mini mode.
void ShowControlWidgets(ControlWidgets& w, bool mini_mode, bool max_mode, int page);

}  // namespace vk
