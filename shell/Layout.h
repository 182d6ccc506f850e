// Where every child of the main window sits in each layout, in client pixels.
// Free of any toolkit: the window moves its widgets to these rectangles.
//
// Normal layout (picture on the left; on the right the picture column and the
// rest trade places, the strips below stay):
//
//   y 0    picture (P+4 × 244) | splitter | playlist view      | max button,
//   y 246  top, mini, themes   |          | search box, ▼ ▲     | thresholds, switches
//   y 272  seek bar across the whole width
//   y 296  transport · A B off · channels · repeat one/all
//   y 326  speed, pitch, balance and volume trackbars with their scales
//   y 367  (max mode) page tabs, then the shown page's parameters
//
// Mini mode keeps the picture, the row under it, the transport and the volume.
#pragma once

#include <array>
#include <cstdint>

#include "shell/WindowGeometry.h"

namespace vk {

// One parameter column of an effect page: name, unit, trackbar, box and arrows.
struct ParamSlot {
  WinRect label, unit, trackbar, box, arrows;
};

// A threshold: the caption, the box with its arrows and the vertical trackbar.
struct ThresholdSlot {
  WinRect label, box, arrows, trackbar;
};

// A horizontal trackbar and the scale text under it.
struct TrackbarSlot {
  WinRect bar, scale;
};

struct MainLayout {
  WinRect picture, splitter, seek_bar, playlist, search_box, search_next, search_prev;
  WinRect top_most, mini_mode, theme_list;
  WinRect stop, play, prev, next;
  WinRect point_a, point_b, ab_off;
  std::array<WinRect, 5> channel;
  WinRect repeat_one, repeat_all;
  TrackbarSlot speed, pitch, balance, volume;
  std::array<WinRect, 6> effect_switch;
  WinRect max_mode, auto_adjust;
  ThresholdSlot thres_dw, thres_up;
  // Max mode: the tabs, the line that carries their baseline on to the right
  // edge, the recommended and vocal-cancel buttons, and up to eight columns.
  std::array<WinRect, 6> tab;
  WinRect tab_line, page_default, vocal_cancel;
  // The stretch pages' engine choice: high quality, and (pitch shift) formants.
  WinRect quality_check, formant_check;
  std::array<ParamSlot, 8> param;
};

// Client sizes of the layouts; the width grows with the window.
inline constexpr int kMaxPageTop = 367;
inline constexpr int kParamColumnWidth = 84;

// The rectangles for a client area `client_w` wide; mini mode lays out the
// controls it shows only (the rest keep their normal places, hidden).
MainLayout ComputeMainLayout(int client_w, std::int32_t bmp_octave, bool picture_right,
                             bool mini_mode);

// A client area `extra` pixels taller than its mode's: the playlist and the
// splitter grow by it, the search row and everything from the seek bar down
// move down by it; the picture and the side column stay where they are.
void GiveExtraHeightToList(MainLayout& l, int extra);

}  // namespace vk
