#include "shell/WindowGeometry.h"

#include <gtest/gtest.h>

namespace vk {
namespace {

const FrameMetrics kFrame{.frame_w = 8, .frame_h = 50, .status_h = 22, .screen_w = 1280};

TEST(SizeLimits, EachLayoutFixesItsHeightAndBoundsItsWidth) {
  // Mini: picture plus a margin, height and width both fixed.
  EXPECT_EQ(ComputeSizeLimits(true, false, 0, kFrame), (SizeLimits{438, 368, 438, 368}));
  // MaxMode is ignored for the size while in mini mode.
  EXPECT_EQ(ComputeSizeLimits(true, true, 3, kFrame), (SizeLimits{816, 368, 816, 368}));
  // Normal: room for the controls beside the picture, up to the screen width.
  EXPECT_EQ(ComputeSizeLimits(false, false, 1, kFrame), (SizeLimits{920, 438, 1280, 438}));
  EXPECT_EQ(ComputeSizeLimits(false, true, 1, kFrame), (SizeLimits{920, 640, 1280, 640}));
  // A screen narrower than the minimum: the maximum is the minimum.
  FrameMetrics narrow = kFrame;
  narrow.screen_w = 1024;
  EXPECT_EQ(ComputeSizeLimits(false, false, 3, narrow), (SizeLimits{1172, 438, 1172, 438}));
  EXPECT_EQ(PictureWidth(2), 678);
  EXPECT_EQ(PictureWidth(7), 426);
}

TEST(ClampWindowSize, KeepRightGrowsAndShrinksTowardsTheLeftEdge) {
  const SizeLimits limits{900, 438, 1280, 438};
  const WinRect w{300, 100, 950, 438};
  // Unchanged: the same rectangle (the caller then does nothing).
  EXPECT_EQ(ClampWindowSize(w, -1, -1, limits, true), w);
  // Growing with keepRight: the right edge stays at 1250.
  WinRect grown = ClampWindowSize(w, 1100, -1, limits, true);
  EXPECT_EQ(grown, (WinRect{150, 100, 1100, 438}));
  // Shrinking below the minimum: raised to it, right edge kept.
  WinRect shrunk = ClampWindowSize(w, 500, 900, limits, true);
  EXPECT_EQ(shrunk, (WinRect{350, 100, 900, 438}));
  // Without keepRight the left edge stays; above the maximum is cut to it.
  EXPECT_EQ(ClampWindowSize(w, 5000, -1, limits, false), (WinRect{300, 100, 1280, 438}));
  // When the minimum exceeds the maximum the minimum wins.
  EXPECT_EQ(ClampWindowSize(w, -1, -1, SizeLimits{1000, 300, 800, 300}, false).w, 1000);
}

TEST(Placement, StoredPositionsArePulledBackOntoTheScreen) {
  // A stored MainWndPosX of −5000 starts the window at x = 0.
  EXPECT_EQ(KeepOnScreen({-5000, 40, 900, 438}, 1280, 823, 900, 438), (WinRect{0, 40, 900, 438}));
  // Past the right and bottom edges: moved back so the whole window shows.
  EXPECT_EQ(KeepOnScreen({1000, 700, 900, 438}, 1280, 823, 900, 438),
            (WinRect{380, 385, 900, 438}));
  // A screen smaller than the minimum: left at most 0, no further out than the excess.
  EXPECT_EQ(KeepOnScreen({-500, 10, 1200, 438}, 1024, 823, 1200, 438).x, -176);
  EXPECT_EQ(KeepOnScreen({50, 10, 1200, 438}, 1024, 823, 1200, 438).x, 0);
  // A dialog centred on its owner, then kept on the screen.
  EXPECT_EQ(CenterOnOwner({100, 100, 800, 400}, {0, 0, 200, 100}, 1280, 823),
            (WinRect{400, 250, 200, 100}));
  EXPECT_EQ(CenterOnOwner({-400, 700, 300, 200}, {0, 0, 200, 100}, 1280, 823),
            (WinRect{0, 723, 200, 100}));
}

TEST(Drags, SplitterThresholdsAndPictureSide) {
  // Picture on the left: the splitter's client x is the distance.
  EXPECT_EQ(SplitterOctave(488, 0, 1200, false), 0);
  EXPECT_EQ(SplitterOctave(489, 0, 1200, false), 1);
  EXPECT_EQ(SplitterOctave(500, 0, 1200, false), 1);
  EXPECT_EQ(SplitterOctave(614, 0, 1200, false), 1);
  EXPECT_EQ(SplitterOctave(615, 0, 1200, false), 2);
  EXPECT_EQ(SplitterOctave(740, 0, 1200, false), 2);
  EXPECT_EQ(SplitterOctave(741, 0, 1200, false), 3);
  // Picture on the right: measured from the right edge, minus the splitter's 4 px.
  EXPECT_EQ(SplitterOctave(1200 - 4 - 488, 0, 1200, true), 0);
  EXPECT_EQ(SplitterOctave(1200 - 4 - 489, 0, 1200, true), 1);
  EXPECT_EQ(SplitterOctave(1200 - 4 - 741, 0, 1200, true), 3);
  // The picture frame: past the middle goes right, where it started stays left.
  EXPECT_EQ(PictureSideAfterDrag(102, 100, 1000, 426), 0);
  EXPECT_EQ(PictureSideAfterDrag(335, 100, 1000, 426), 1);
  EXPECT_EQ(PictureSideAfterDrag(334, 100, 1000, 426), 0);
}

}  // namespace
}  // namespace vk
