// The main window's size and placement rules, free of any toolkit: the size
// limits of each layout, clamping a requested size, pulling a stored placement
// back onto the screen, centring a dialog, and the two drags that change the
// layout (the picture to the other side, the splitter to another octave count).
// All rectangles are in screen pixels unless a name says client.
#pragma once

#include <cstdint>

namespace vk {

struct WinRect {
  int x = 0, y = 0, w = 0, h = 0;
  int Right() const { return x + w; }
  int Bottom() const { return y + h; }
  bool operator==(const WinRect&) const = default;
};

// Keyboard picture width by BmpOctave 0…3 (6, 8, 10, 12 octaves); any other
// value gives the 6-octave width.
int PictureWidth(std::int32_t bmp_octave);

// The differences between the window's outer and client sizes, the status bar's
// height and the screen's full-screen width.
struct FrameMetrics {
  int frame_w = 0, frame_h = 0, status_h = 0, screen_w = 0;
  int screen_h = 0;  // 0: the height stays fixed
};

struct SizeLimits {
  int min_w = 0, min_h = 0, max_w = 0, max_h = 0;
  bool operator==(const SizeLimits&) const = default;
};

// Client heights of the three layouts (status bar excluded).
inline constexpr int kMiniClientHeight = 318;
inline constexpr int kNormalClientHeight = 366;
inline constexpr int kMaxClientHeight = 568;
// Room beside the picture in normal and max mode, and the margin in mini mode.
inline constexpr int kNormalExtraWidth = 360;
inline constexpr int kMiniExtraWidth = 4;

// The limits for a layout: the height is always fixed, and in mini mode the
// width as well; otherwise the width may grow up to the screen.
SizeLimits ComputeSizeLimits(bool mini_mode, bool max_mode, std::int32_t bmp_octave,
                             const FrameMetrics& m);

// The window rectangle after asking for `width` × `height` (−1 keeps the current
// one) within the limits. With keepRight the right edge stays where it was;
// otherwise the left edge does. An unchanged size gives the same rectangle.
WinRect ClampWindowSize(const WinRect& window, int width, int height, const SizeLimits& limits,
                        bool keep_right);

// Where a window must go to be on the screen. `screen_w` is the full-screen width,
// `screen_h` the full-screen height plus the caption height; `min_w`, `min_h` the
// smallest window size on each axis. A window larger than the screen keeps its
// top-left corner at most at 0 and no further out than the excess.
WinRect KeepOnScreen(const WinRect& window, int screen_w, int screen_h, int min_w, int min_h);

// A dialog centred on its owner and kept on the screen (same screen extents as
// KeepOnScreen); the dialog keeps its size.
WinRect CenterOnOwner(const WinRect& owner, const WinRect& dialog, int screen_w, int screen_h);

// The octave setting (BmpOctave 0…3) chosen by releasing the splitter with its
// left edge at client x. The distance from the picture's outer edge decides;
// each threshold is one pixel below the midpoint of two picture widths.
std::int32_t SplitterOctave(int client_x, int client_left, int client_right, bool picture_right);

// The picture side (BmpWndPos) after dropping the dragged picture frame with its
// left edge at screen x `frame_x` over a main window spanning [window_left,
// window_right): 1 (right) past the middle, else 0.
std::int32_t PictureSideAfterDrag(int frame_x, int window_left, int window_right,
                                  int picture_w);

}  // namespace vk
