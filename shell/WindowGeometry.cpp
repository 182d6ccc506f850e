#include "shell/WindowGeometry.h"

#include <algorithm>

namespace vk {

int PictureWidth(std::int32_t bmp_octave) {
  static constexpr int kWidths[] = {426, 552, 678, 804};
  return bmp_octave >= 0 && bmp_octave <= 3 ? kWidths[bmp_octave] : kWidths[0];
}

SizeLimits ComputeSizeLimits(bool mini_mode, bool max_mode, std::int32_t bmp_octave,
                             const FrameMetrics& m) {
  const int p = PictureWidth(bmp_octave);
  SizeLimits l;
  if (mini_mode) {
    l.min_w = l.max_w = p + m.frame_w + kMiniExtraWidth;
    l.min_h = l.max_h = m.frame_h + kMiniClientHeight;
    return l;
  }
  l.min_w = p + m.frame_w + kNormalExtraWidth;
  l.max_w = std::max(m.screen_w, l.min_w);
  l.min_h = l.max_h =
      m.frame_h + m.status_h + (max_mode ? kMaxClientHeight : kNormalClientHeight);
  // Taller than that gives the playlist more rows (mini mode stays fixed).
  l.max_h = std::max(m.screen_h, l.min_h);
  return l;
}

WinRect ClampWindowSize(const WinRect& window, int width, int height, const SizeLimits& limits,
                        bool keep_right) {
  int w = width < 0 ? window.w : width;
  int h = height < 0 ? window.h : height;
  // Limit to the maximum first, then raise to the minimum: the minimum wins.
  w = std::max(std::min(w, limits.max_w), limits.min_w);
  h = std::max(std::min(h, limits.max_h), limits.min_h);
  if (w == window.w && h == window.h) return window;
  WinRect out = window;
  out.w = w;
  out.h = h;
  // Growing moves the left edge out by the growth; shrinking moves it in.
  if (keep_right) out.x = window.x + window.w - w;
  return out;
}

namespace {

int OnAxis(int p, int z, int extent, int min_size) {
  if (extent < min_size) return std::min(0, std::max(p, extent - min_size));
  return std::max(0, std::min(p, extent - z));
}

}  // namespace

WinRect KeepOnScreen(const WinRect& window, int screen_w, int screen_h, int min_w, int min_h) {
  WinRect out = window;
  out.x = OnAxis(window.x, window.w, screen_w, min_w);
  out.y = OnAxis(window.y, window.h, screen_h, min_h);
  return out;
}

WinRect CenterOnOwner(const WinRect& owner, const WinRect& dialog, int screen_w, int screen_h) {
  auto place = [](int centre, int size, int extent) {
    const int p = centre - size / 2;
    return extent < size ? std::clamp(p, extent - size, 0) : std::clamp(p, 0, extent - size);
  };
  WinRect out = dialog;
  out.x = place((owner.x + owner.Right()) / 2, dialog.w, screen_w);
  out.y = place((owner.y + owner.Bottom()) / 2, dialog.h, screen_h);
  return out;
}

std::int32_t SplitterOctave(int client_x, int client_left, int client_right, bool picture_right) {
  const int a = picture_right ? client_right - client_x - client_left - 4 : client_x;
  if (a <= 488) return 0;
  if (a <= 614) return 1;
  if (a <= 740) return 2;
  return 3;
}

std::int32_t PictureSideAfterDrag(int frame_x, int window_left, int window_right,
                                  int picture_w) {
  return frame_x >= (window_right + window_left - picture_w - 4) / 2 ? 1 : 0;
}

}  // namespace vk
