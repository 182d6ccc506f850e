#include "app/WindowModes.h"

#include <QEvent>
#include <algorithm>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QWindow>

#include "common/Settings.h"
#include "shell/Layout.h"
#include "ui/Trackbar.h"

namespace vk {
namespace {

// How long a window manager may take to frame a new window.
constexpr int kFrameWaitMs = 3000;

QRect Q(const WinRect& r) { return QRect(r.x, r.y, r.w, r.h); }

QRect ScreenArea(const QWidget* w) {
  const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
}

}  // namespace

WindowModes::WindowModes(QMainWindow* window, ControlWidgets* controls, ShellWidgets shell,
                         Hooks hooks)
    : QObject(window), window_(window), controls_(controls), shell_(shell),
      hooks_(std::move(hooks)) {
  if (window_->centralWidget()) window_->centralWidget()->installEventFilter(this);
}

bool WindowModes::eventFilter(QObject* watched, QEvent* e) {
  if (watched == window_ && placement_pending_ && HasFrame()) {
    // The window manager has framed the window: the stored outer rectangle can
    // now be told from the inner one. Done once the event has been handled.
    placement_pending_ = false;
    QTimer::singleShot(0, this, [this] { RestorePlacement(); });
  }
  if (e->type() == QEvent::Resize && watched == window_->centralWidget() &&
      !window_->isMinimized()) {
    LayOut();
  }
  return false;
}

WinRect WindowModes::OuterRect() const {
  const QRect f = window_->frameGeometry();
  return WinRect{f.x(), f.y(), f.width(), f.height()};
}

bool WindowModes::KeepRight() const { return gSettings.BmpWndPos == 1; }

int WindowModes::ClientWidth() const {
  return window_->centralWidget() ? window_->centralWidget()->width() : window_->width();
}

SizeLimits WindowModes::Limits() const {
  const QRect outer = window_->frameGeometry();
  const QRect inner = window_->geometry();
  FrameMetrics m;
  m.frame_w = outer.width() - inner.width();
  // The menu bar is part of the frame: the client area starts below it.
  const int menu_h = window_->menuWidget() ? window_->menuWidget()->sizeHint().height() : 0;
  m.frame_h = outer.height() - inner.height() + menu_h;
  m.status_h = shell_.status_bar ? shell_.status_bar->sizeHint().height() : 0;
  m.screen_w = ScreenArea(window_).width();
  m.screen_h = ScreenArea(window_).height();
  return ComputeSizeLimits(gSettings.MiniMode != 0, gSettings.MaxMode != 0, gSettings.BmpOctave, m);
}

void WindowModes::SetOuterRect(const WinRect& r) {
  const QRect outer = window_->frameGeometry();
  const QRect inner = window_->geometry();
  const int fw = outer.width() - inner.width();
  const int fh = outer.height() - inner.height();
  window_->move(r.x, r.y);
  window_->resize(r.w - fw, r.h - fh);
}

void WindowModes::ApplySizeLimits(int width, int height, bool keep_right) {
  const SizeLimits l = Limits();
  const WinRect before = OuterRect();
  const QRect outer = window_->frameGeometry();
  const QRect inner = window_->geometry();
  const int fw = outer.width() - inner.width();
  const int fh = outer.height() - inner.height();
  // The platform confines dragging of the border to these.
  window_->setMinimumSize(l.min_w - fw, l.min_h - fh);
  window_->setMaximumSize(l.max_w - fw, l.max_h - fh);
  const WinRect after = ClampWindowSize(before, width, height, l, keep_right);
  if (after == before) return;
  SetOuterRect(after);
}

void WindowModes::LayOut() {
  const bool mini = gSettings.MiniMode != 0;
  MainLayout l =
      ComputeMainLayout(ClientWidth(), gSettings.BmpOctave, gSettings.BmpWndPos == 1, mini);
  if (!mini && window_->centralWidget() != nullptr) {
    const int mode_h = gSettings.MaxMode != 0 ? kMaxClientHeight : kNormalClientHeight;
    GiveExtraHeightToList(l, window_->centralWidget()->height() - mode_h);
  }
  if (shell_.picture) shell_.picture->setGeometry(Q(l.picture));
  if (!mini) {
    if (shell_.seek_bar) shell_.seek_bar->setGeometry(Q(l.seek_bar));
    if (shell_.playlist) shell_.playlist->setGeometry(Q(l.playlist));
    if (shell_.search_box) shell_.search_box->setGeometry(Q(l.search_box));
  }
  PlaceControlWidgets(*controls_, l);
}

void WindowModes::ShowControls() {
  const bool mini = gSettings.MiniMode != 0;
  ShowControlWidgets(*controls_, mini, gSettings.MaxMode != 0, gSettings.EfctPage);
  for (QWidget* w : {shell_.seek_bar, shell_.playlist, shell_.search_box, shell_.status_bar}) {
    if (w) w->setVisible(!mini);
  }
  if (shell_.picture) shell_.picture->setVisible(true);
}

void WindowModes::ToggleMiniMode() {
  if (gSettings.MiniMode == 0) {
    gSettings.MiniMode = 1;
    normal_size_ = OuterRect();
    ShowControls();
    ApplySizeLimits(-1, -1, KeepRight());
  } else {
    gSettings.MiniMode = 0;
    ShowControls();
    ApplySizeLimits(normal_size_.w, normal_size_.h, KeepRight());
  }
  LayOut();
  if (hooks_.refresh_menus) hooks_.refresh_menus();
  if (hooks_.refresh_faces) hooks_.refresh_faces();
}

void WindowModes::ToggleMaxMode() {
  // The height the user added for the playlist stays with it in either mode.
  const int extra = std::max(0, OuterRect().h - Limits().min_h);
  if (gSettings.MaxMode == 0) {
    gSettings.MaxMode = 1;
    ApplySizeLimits(-1, Limits().min_h + extra, KeepRight());
    ShowControls();
  } else {
    gSettings.MaxMode = 0;
    ShowControls();  // the page controls go first
    ApplySizeLimits(-1, Limits().min_h + extra, KeepRight());
  }
  LayOut();
  if (hooks_.refresh_menus) hooks_.refresh_menus();
  if (hooks_.refresh_faces) hooks_.refresh_faces();
}

void WindowModes::ToggleTopMost() {
  gSettings.TopMost = gSettings.TopMost == 0 ? 1 : 0;
  ApplyTopMost();
  if (hooks_.refresh_menus) hooks_.refresh_menus();
  if (hooks_.refresh_faces) hooks_.refresh_faces();
}

void WindowModes::ApplyTopMost() {
  const bool on = gSettings.TopMost != 0;
  if (QWindow* handle = window_->windowHandle()) {
    // A hint to the window manager on the live window: no re-creation, no move.
    handle->setFlag(Qt::WindowStaysOnTopHint, on);
  } else {
    window_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
  }
}

void WindowModes::SetPictureSide(std::int32_t side) {
  if (side != gSettings.BmpWndPos) {
    gSettings.BmpWndPos = side;
    LayOut();
    if (hooks_.refresh_menus) hooks_.refresh_menus();
    if (hooks_.refresh_faces) hooks_.refresh_faces();
  }
  window_->update();
}

void WindowModes::SetOctave(std::int32_t octave) {
  if (octave < 0 || octave > 3) return;
  if (octave == gSettings.BmpOctave) {
    window_->update();
    return;
  }
  const bool growing = octave >= gSettings.BmpOctave;
  if (hooks_.recreate_picture) {
    hooks_.recreate_picture(octave);  // sets BmpOctave under DrawLock
  } else {
    gSettings.BmpOctave = octave;
  }
  if (hooks_.refresh_menus) hooks_.refresh_menus();
  if (!growing) ShowControls();
  ApplySizeLimits(-1, -1, KeepRight());
  LayOut();
  if (growing) ShowControls();
  window_->update();
}

void WindowModes::ShowPageFromMenu(int page) {
  if (page < 0 || page >= kEffectPageCount) return;
  gSettings.EfctPage = page;
  const bool was_mini = gSettings.MiniMode != 0;
  const bool was_max = gSettings.MaxMode != 0;
  const int extra = was_mini ? 0 : std::max(0, OuterRect().h - Limits().min_h);
  gSettings.MiniMode = 0;
  gSettings.MaxMode = 1;
  if (was_mini) {
    ApplySizeLimits(normal_size_.w, normal_size_.h, KeepRight());
  } else if (!was_max) {
    ApplySizeLimits(-1, Limits().min_h + extra, KeepRight());
  } else {
    ApplySizeLimits(-1, -1, KeepRight());
  }
  LayOut();
  ShowControls();
  if (!controls_->pages[page].empty()) controls_->pages[page].front().trackbar->setFocus();
  if (hooks_.refresh_menus) hooks_.refresh_menus();
  if (hooks_.refresh_faces) hooks_.refresh_faces();
}

void WindowModes::SplitterReleased(int client_x) {
  SetOctave(SplitterOctave(client_x, 0, ClientWidth(), gSettings.BmpWndPos == 1));
}

void WindowModes::RestorePlacement() {
  normal_size_ = WinRect{gSettings.MainWndPosX, gSettings.MainWndPosY, gSettings.MainWndSizX,
                         gSettings.MainWndSizY};
  WinRect r = OuterRect();
  r.x = normal_size_.x;
  r.y = normal_size_.y;
  // A size of 0 (no MAIN.INI) is the mode's own size, whatever the platform
  // first gave the window.
  const SizeLimits first = Limits();
  r.w = normal_size_.w > 0 ? static_cast<int>(normal_size_.w) : first.min_w;
  r.h = normal_size_.h > 0 ? static_cast<int>(normal_size_.h) : first.min_h;
  SetOuterRect(r);
  ApplySizeLimits(-1, -1, false);
  const SizeLimits l = Limits();
  const QRect screen = ScreenArea(window_);
  const int caption = window_->geometry().y() - window_->frameGeometry().y();
  const WinRect now = OuterRect();
  const WinRect placed = KeepOnScreen(WinRect{now.x - screen.x(), now.y - screen.y(), now.w, now.h},
                                      screen.width(), screen.height() + caption, l.min_w, l.min_h);
  if (placed.x + screen.x() != now.x || placed.y + screen.y() != now.y) {
    window_->move(placed.x + screen.x(), placed.y + screen.y());
  }
  LayOut();
  ShowControls();
  // Before the window manager frames the window its frame reads as none, so
  // the stored outer size became the inner size here; the placement is made
  // again once the frame is known, or the window would grow by its frame on
  // every start. A window manager that never frames it leaves it as it is.
  if (!HasFrame() && !window_->isVisible()) {
    placement_pending_ = true;
    if (!watching_window_) {
      window_->installEventFilter(this);
      watching_window_ = true;
    }
    QTimer::singleShot(kFrameWaitMs, this, [this] { placement_pending_ = false; });
  }
}

bool WindowModes::HasFrame() const { return window_->frameGeometry() != window_->geometry(); }

void WindowModes::StorePlacement() {
  WinRect r = OuterRect();
  if (window_->isMinimized()) {
    // The normal rectangle, not the minimised one.
    const QRect normal = window_->normalGeometry();
    const QRect inner = window_->geometry();
    r = WinRect{normal.x() - (inner.x() - r.x), normal.y() - (inner.y() - r.y),
                normal.width() + (r.w - inner.width()), normal.height() + (r.h - inner.height())};
  }
  gSettings.MainWndPosX = r.x;
  gSettings.MainWndPosY = r.y;
  const bool mini = gSettings.MiniMode != 0;
  gSettings.MainWndSizX = mini ? normal_size_.w : r.w;
  gSettings.MainWndSizY = mini ? normal_size_.h : r.h;
}

}  // namespace vk
