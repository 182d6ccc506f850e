#include "shell/Layout.h"

#include <algorithm>

namespace vk {
namespace {

constexpr int kRowUnderPicture = 246;
constexpr int kSeekBarTop = 272;
constexpr int kButtonRowTop = 296;
constexpr int kTrackbarRowTop = 326;
constexpr int kScaleHeight = 14;
constexpr int kTrackbarHeight = 22;
constexpr int kSideColumn = 116;  // effect switches, thresholds, max button

WinRect R(int x, int y, int w, int h) { return WinRect{x, y, w, h}; }

// Lays rectangles of the given widths left to right from x with `gap` between.
int Row(int x, int y, int h, int gap, std::initializer_list<std::pair<WinRect*, int>> items) {
  for (auto [rect, w] : items) {
    *rect = R(x, y, w, h);
    x += w + gap;
  }
  return x - gap;
}

void PlaceTransport(MainLayout& l, int x, int y) {
  Row(x, y, 28, 2, {{&l.stop, 28}, {&l.play, 32}, {&l.prev, 28}, {&l.next, 28}});
}

TrackbarSlot Trackbar(int x, int y, int w) {
  return TrackbarSlot{R(x, y, w, kTrackbarHeight), R(x, y + kTrackbarHeight, w, kScaleHeight)};
}

ThresholdSlot Threshold(int x, int y) {
  ThresholdSlot t;
  t.label = R(x, y, 58, 14);
  t.box = R(x + 4, y + 16, 36, 20);
  t.arrows = R(x + 40, y + 16, 14, 20);
  t.trackbar = R(x + 18, y + 38, 22, 78);
  return t;
}

}  // namespace

MainLayout ComputeMainLayout(int client_w, std::int32_t bmp_octave, bool picture_right,
                             bool mini_mode) {
  MainLayout l;
  const int p = PictureWidth(bmp_octave);
  const int pic_w = p + 4;

  // The picture column and the row under it.
  const int pic_x = mini_mode || !picture_right ? 0 : client_w - pic_w;
  l.picture = R(pic_x, 0, pic_w, 244);
  Row(pic_x, kRowUnderPicture, 20, 0, {{&l.top_most, 48}, {&l.mini_mode, 48}});
  l.theme_list = R(pic_x + 98, kRowUnderPicture, pic_w - 98, 20);

  if (mini_mode) {
    PlaceTransport(l, 2, 276);
    const int vx = l.next.Right() + 10;
    l.volume = Trackbar(vx, 274, pic_w - vx - 2);
    return l;
  }

  // Beside the picture: splitter, playlist with its search row, side column.
  const int list_w = std::max(client_w - p - 130, 40);
  const int rest_x = picture_right ? 0 : pic_w + 4;
  l.splitter = R(picture_right ? pic_x - 4 : pic_w, 0, 4, 266);
  const int side_x = picture_right ? 2 : client_w - kSideColumn - 2;
  const int list_x = picture_right ? side_x + kSideColumn + 4 : rest_x + 2;
  l.playlist = R(list_x, 0, list_w, 244);
  l.search_box = R(list_x, kRowUnderPicture, list_w - 84, 20);
  Row(l.search_box.Right() + 4, kRowUnderPicture, 20, 0,
      {{&l.search_next, 40}, {&l.search_prev, 40}});

  // The side column: thresholds with AUTO ADJUST, then the effect switches.
  l.auto_adjust = R(side_x + 4, 2, kSideColumn - 4, 18);
  l.thres_dw = Threshold(side_x, 22);
  l.thres_up = Threshold(side_x + 58, 22);
  for (int i = 0; i < 6; ++i) l.effect_switch[i] = R(side_x, 145 + i * 20, kSideColumn, 20);

  l.seek_bar = R(0, kSeekBarTop, client_w, 20);

  // Button row: transport, A-B, channels, repeat; the max button at the end.
  PlaceTransport(l, 4, kButtonRowTop);
  int x = l.next.Right() + 14;
  x = Row(x, kButtonRowTop + 2, 24, 2, {{&l.point_a, 24}, {&l.point_b, 24}, {&l.ab_off, 24}});
  x += 14;
  for (int i = 0; i < 5; ++i) {
    l.channel[i] = R(x, kButtonRowTop + 2, 24, 24);
    x += 26;
  }
  x += 12;
  Row(x, kButtonRowTop + 4, 20, 2, {{&l.repeat_one, 48}, {&l.repeat_all, 48}});
  l.max_mode = R(client_w - 92, kButtonRowTop + 4, 88, 20);

  // Four trackbars share the width.
  const int gap = 14;
  const int tw = (client_w - 8 - 3 * gap) / 4;
  l.speed = Trackbar(4, kTrackbarRowTop, tw);
  l.pitch = Trackbar(4 + (tw + gap), kTrackbarRowTop, tw);
  l.balance = Trackbar(4 + 2 * (tw + gap), kTrackbarRowTop, tw);
  l.volume = Trackbar(4 + 3 * (tw + gap), kTrackbarRowTop, tw);

  // Max mode: tabs, their baseline, the page's columns and its two buttons.
  for (int i = 0; i < 6; ++i) l.tab[i] = R(i * 116, kMaxPageTop, 116, 20);
  l.tab_line = R(696, kMaxPageTop + 20, std::max(client_w - 696, 0), 1);
  l.page_default = R(client_w - 96, 398, 88, 34);
  l.vocal_cancel = R(client_w - 96, 440, 88, 34);
  // Left of the buttons, clear of the stretch pages' few columns.
  l.quality_check = R(client_w - 250, 398, 148, 18);
  l.formant_check = R(client_w - 250, 420, 148, 18);
  const int top = 394;
  for (int i = 0; i < 8; ++i) {
    const int cx = 8 + i * kParamColumnWidth;
    const int mid = cx + kParamColumnWidth / 2;
    ParamSlot& s = l.param[i];
    s.label = R(cx, top, kParamColumnWidth, 14);
    s.unit = R(cx, top + 14, kParamColumnWidth, 14);
    s.trackbar = R(mid - 11, top + 30, 22, 110);
    s.box = R(mid - 25, top + 144, 36, 20);
    s.arrows = R(mid + 11, top + 144, 14, 20);
  }
  return l;
}

namespace {

template <typename F>
void ForEachRect(MainLayout& l, F&& f) {
  for (WinRect* r : {&l.picture, &l.splitter, &l.seek_bar, &l.playlist, &l.search_box,
                     &l.search_next, &l.search_prev, &l.top_most, &l.mini_mode, &l.theme_list,
                     &l.stop, &l.play, &l.prev, &l.next, &l.point_a, &l.point_b, &l.ab_off,
                     &l.repeat_one, &l.repeat_all, &l.speed.bar, &l.speed.scale, &l.pitch.bar,
                     &l.pitch.scale, &l.balance.bar, &l.balance.scale, &l.volume.bar,
                     &l.volume.scale, &l.max_mode, &l.auto_adjust, &l.thres_dw.label,
                     &l.thres_dw.box, &l.thres_dw.arrows, &l.thres_dw.trackbar, &l.thres_up.label,
                     &l.thres_up.box, &l.thres_up.arrows, &l.thres_up.trackbar, &l.tab_line,
                     &l.page_default, &l.vocal_cancel, &l.quality_check, &l.formant_check}) {
    f(*r);
  }
  for (auto* group : {&l.channel}) {
    for (WinRect& r : *group) f(r);
  }
  for (auto* group : {&l.effect_switch, &l.tab}) {
    for (WinRect& r : *group) f(r);
  }
  for (ParamSlot& p : l.param) {
    for (WinRect* r : {&p.label, &p.unit, &p.trackbar, &p.box, &p.arrows}) f(*r);
  }
}

}  // namespace

void GiveExtraHeightToList(MainLayout& l, int extra) {
  if (extra <= 0) return;
  const int below = l.seek_bar.y;
  ForEachRect(l, [below, extra](WinRect& r) {
    if (r.y >= below) r.y += extra;
  });
  for (WinRect* r : {&l.search_box, &l.search_next, &l.search_prev}) r->y += extra;
  l.playlist.h += extra;
  l.splitter.h += extra;
}

}  // namespace vk
