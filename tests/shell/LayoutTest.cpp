#include "shell/Layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vk {
namespace {

bool Overlap(const WinRect& a, const WinRect& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

// Every control that a layout shows, with a name for the failure message.
std::vector<std::pair<std::string, WinRect>> Shown(const MainLayout& l, bool mini, bool max_mode) {
  std::vector<std::pair<std::string, WinRect>> v = {
      {"picture", l.picture}, {"top", l.top_most}, {"mini", l.mini_mode},
      {"themes", l.theme_list}, {"stop", l.stop}, {"play", l.play}, {"prev", l.prev},
      {"next", l.next}, {"volume", l.volume.bar}, {"volume scale", l.volume.scale}};
  if (mini) return v;
  const std::vector<std::pair<std::string, WinRect>> normal = {
      {"splitter", l.splitter}, {"seek", l.seek_bar}, {"list", l.playlist},
      {"search", l.search_box}, {"next hit", l.search_next}, {"prev hit", l.search_prev},
      {"A", l.point_a}, {"B", l.point_b}, {"AB off", l.ab_off}, {"repeat 1", l.repeat_one},
      {"repeat all", l.repeat_all}, {"speed", l.speed.bar}, {"speed scale", l.speed.scale},
      {"pitch", l.pitch.bar}, {"balance", l.balance.bar}, {"max", l.max_mode},
      {"auto", l.auto_adjust}, {"dw box", l.thres_dw.box}, {"dw arrows", l.thres_dw.arrows},
      {"dw bar", l.thres_dw.trackbar}, {"up box", l.thres_up.box},
      {"up arrows", l.thres_up.arrows}, {"up bar", l.thres_up.trackbar}};
  v.insert(v.end(), normal.begin(), normal.end());
  for (int i = 0; i < 5; ++i) v.push_back({"channel " + std::to_string(i), l.channel[i]});
  for (int i = 0; i < 6; ++i) v.push_back({"switch " + std::to_string(i), l.effect_switch[i]});
  if (max_mode) {
    for (int i = 0; i < 6; ++i) v.push_back({"tab " + std::to_string(i), l.tab[i]});
    v.push_back({"page default", l.page_default});
    v.push_back({"vocal cancel", l.vocal_cancel});
    for (int i = 0; i < 8; ++i) {
      const ParamSlot& s = l.param[i];
      for (auto [name, r] : {std::pair{"label", s.label}, std::pair{"bar", s.trackbar},
                             std::pair{"box", s.box}, std::pair{"arrows", s.arrows}}) {
        v.push_back({std::string("param ") + std::to_string(i) + " " + name, r});
      }
    }
  }
  return v;
}

TEST(Layout, NothingOverlapsAndEverythingFitsAtTheSmallestWidths) {
  for (int octave = 0; octave <= 3; ++octave) {
    for (bool right : {false, true}) {
      for (int mode = 0; mode < 3; ++mode) {
        const bool mini = mode == 0, max_mode = mode == 2;
        const int p = PictureWidth(octave);
        const int w = mini ? p + 4 : p + 360;
        const int h = mini ? 318 : max_mode ? 568 : 366;
        const MainLayout l = ComputeMainLayout(w, octave, right, mini);
        const auto shown = Shown(l, mini, max_mode);
        for (std::size_t i = 0; i < shown.size(); ++i) {
          const WinRect& a = shown[i].second;
          EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.Right() <= w && a.Bottom() <= h && a.w > 0)
              << shown[i].first << " octave " << octave << " mode " << mode;
          for (std::size_t j = i + 1; j < shown.size(); ++j) {
            EXPECT_FALSE(Overlap(a, shown[j].second))
                << shown[i].first << " / " << shown[j].first << " octave " << octave
                << " right " << right << " mode " << mode;
          }
        }
      }
    }
  }
}

TEST(Layout, StretchPageChecksClearTheirPagesColumnsAndButtons) {
  for (int octave = 0; octave <= 3; ++octave) {
    const int w = PictureWidth(octave) + 360;  // the narrowest max mode
    const MainLayout l = ComputeMainLayout(w, octave, false, false);
    for (const WinRect& check : {l.quality_check, l.formant_check}) {
      EXPECT_TRUE(check.x >= 0 && check.Right() <= w && check.Bottom() <= 568) << octave;
      // The pitch-shift page has five columns, the time-stretch page two.
      for (int i = 0; i < 5; ++i) {
        for (const WinRect& r : {l.param[i].label, l.param[i].unit, l.param[i].trackbar, l.param[i].box,
                                 l.param[i].arrows}) {
          EXPECT_FALSE(Overlap(check, r)) << "column " << i << " octave " << octave;
        }
      }
      EXPECT_FALSE(Overlap(check, l.page_default));
      EXPECT_FALSE(Overlap(check, l.vocal_cancel));
      for (const WinRect& tab : l.tab) EXPECT_FALSE(Overlap(check, tab));
    }
    EXPECT_FALSE(Overlap(l.quality_check, l.formant_check));
  }
}

TEST(Layout, PictureSplitterAndListFollowThePicturesSide) {
  const MainLayout left = ComputeMainLayout(1000, 0, false, false);
  EXPECT_EQ(left.picture, (WinRect{0, 0, 430, 244}));
  EXPECT_EQ(left.splitter, (WinRect{430, 0, 4, 266}));
  EXPECT_EQ(left.playlist.w, 1000 - 426 - 130);  // the list's width rule
  EXPECT_EQ(left.seek_bar, (WinRect{0, 272, 1000, 20}));
  const MainLayout right = ComputeMainLayout(1000, 0, true, false);
  EXPECT_EQ(right.picture.Right(), 1000);
  EXPECT_EQ(right.splitter.Right(), right.picture.x);
  EXPECT_EQ(right.playlist.Right(), right.splitter.x);
  EXPECT_EQ(right.tab_line, (WinRect{696, 387, 304, 1}));
}

}  // namespace
}  // namespace vk
