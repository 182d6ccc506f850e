// The main window's three layouts and its placement: normal, max mode (the
// effect pages below) and mini mode (little more than the picture); always on
// top; the picture's side; the octave count; the size limits of each layout
// with the right edge kept in place when the picture is on the right; the
// placement restored at start-up, kept on the screen and saved at exit.
//
// Sizes follow the platform's rules in outer window pixels (frame included);
// the client area is the part below the menu bar, status bar included.
#pragma once

#include <QObject>
#include <functional>

#include "shell/WindowGeometry.h"
#include "ui/ControlWidgets.h"

class QMainWindow;
class QWidget;

namespace vk {

// The main window's own children that the layouts place and show.
struct ShellWidgets {
  QWidget* picture = nullptr;
  QWidget* seek_bar = nullptr;
  QWidget* playlist = nullptr;
  QWidget* search_box = nullptr;
  QWidget* status_bar = nullptr;
};

class WindowModes : public QObject {
 public:
  struct Hooks {
    // Re-creates the keyboard picture at the new octave count under DrawLock.
    std::function<void(std::int32_t octave)> recreate_picture;
    // Check and radio marks after a mode, side or octave change.
    std::function<void()> refresh_menus;
    // Button faces after a mode or side change (top-most, mini, max buttons).
    std::function<void()> refresh_faces;
  };

  WindowModes(QMainWindow* window, ControlWidgets* controls, ShellWidgets shell, Hooks hooks);

  // The limits of the current layout, in outer window pixels.
  SizeLimits Limits() const;
  // ComputeSizeLimits: applies the limits, then clamps the window to them
  // (−1 keeps the current width or height).
  void ApplySizeLimits(int width, int height, bool keep_right);
  // Places every child for the current layout and client width.
  void LayOut();
  // Shows the children of the current layout and page, hides the rest.
  void ShowControls();

  void ToggleMiniMode();
  void ToggleMaxMode();
  void ToggleTopMost();
  // Puts the window into the platform's top-most band or out of it, from TopMost.
  void ApplyTopMost();
  void SetPictureSide(std::int32_t side);
  void SetOctave(std::int32_t octave);
  // A page chosen from the menu: leaves mini mode, enters max mode and shows it.
  void ShowPageFromMenu(int page);
  // The splitter released with its left edge at client x.
  void SplitterReleased(int client_x);

  // Start-up: the stored placement (NormalSize), the limits, back onto the
  // screen; made again once the window manager has framed the window.
  void RestorePlacement();
  // MainWndPos/Siz from the window, or from NormalSize while in mini mode.
  void StorePlacement();

  // The outer rectangle of the window, and the normal-mode placement.
  WinRect OuterRect() const;
  const WinRect& NormalSize() const { return normal_size_; }

 protected:
  // The children follow every size change of the client area.
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  bool KeepRight() const;
  void SetOuterRect(const WinRect& r);
  int ClientWidth() const;
  bool HasFrame() const;  // the window manager's frame is known

  QMainWindow* window_;
  ControlWidgets* controls_;
  ShellWidgets shell_;
  Hooks hooks_;
  WinRect normal_size_;
  bool placement_pending_ = false;  // restored before the frame was known
  bool watching_window_ = false;
};

}  // namespace vk
