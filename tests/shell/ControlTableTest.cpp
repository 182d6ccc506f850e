#include "shell/ControlTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/CommandIds.h"
#include "shell/ValueRules.h"

namespace vk {
namespace {

TEST(FocusOrder, EachPageAddsItsBoxesAndTrackbarsInPairs) {
  const int counts[kEffectPageCount] = {20, 26, 32, 30, 30, 32};
  for (int page = 0; page < kEffectPageCount; ++page) {
    const std::vector<int> order = FocusOrder(page);
    EXPECT_EQ(static_cast<int>(order.size()), counts[page]) << "page " << page;
    EXPECT_EQ(order.front(), kIdThemeList);
    // The transport buttons follow the search box, in their order on screen.
    EXPECT_EQ(order[8], cmd::kBtnStop);
    EXPECT_EQ(order[11], cmd::kBtnNext);
    EXPECT_EQ(order[15], kIdVolumeTrackbar);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size());
    for (std::size_t i = 16; i < order.size(); i += 2) {
      EXPECT_EQ(order[i + 1], TrackbarOf(order[i]));
      EXPECT_NE(FindParam(order[i]), nullptr);
    }
  }
  // The first entry of each page is the one a page chosen from the menu focuses.
  EXPECT_EQ(PageParams(0)[0].key, &Settings::TmstWndSiz);
  EXPECT_EQ(PageParams(3)[0].key, &Settings::ChrsDelayTime);
  EXPECT_EQ(PageParams(5)[0].key, &Settings::RvrbDelayTap);
}

TEST(FocusCycle, WrapsBothWaysSkipsUnfocusableAndStaysWhenAlone) {
  const bool list[] = {true, false, true, true, false};
  EXPECT_EQ(FocusCycle(list, 0, true), 2);
  EXPECT_EQ(FocusCycle(list, 3, true), 0);   // skips the hidden last entry and wraps
  EXPECT_EQ(FocusCycle(list, 0, false), 3);  // backwards from the first wraps to the end
  EXPECT_EQ(FocusCycle(list, 2, false), 0);
  // From a control outside the list: forward to the first focusable, back to the last.
  EXPECT_EQ(FocusCycle(list, -1, true), 0);
  EXPECT_EQ(FocusCycle(list, -1, false), 3);
  // Nothing else can take the focus: it stays.
  const bool alone[] = {false, true, false};
  EXPECT_EQ(FocusCycle(alone, 1, true), 1);
  EXPECT_EQ(FocusCycle(alone, 1, false), 1);
}

TEST(ParamTable, RangesAgreeWithTheSettingsKeysAndTrackbarsRunUpsideDown) {
  for (int page = 0; page < kEffectPageCount; ++page) {
    for (const ParamDef& p : PageParams(page)) {
      if (p.speed_percent) continue;
      const KeyDef* key = nullptr;
      for (const SectionDef& s : SettingSections()) {
        for (const KeyDef& k : s.keys) {
          if (k.int_field == p.key) key = &k;
        }
      }
      ASSERT_NE(key, nullptr) << p.label;
      EXPECT_EQ(p.min, key->min) << key->name;
      EXPECT_EQ(p.max, key->max) << key->name;
      EXPECT_EQ(p.chars, static_cast<int>(std::to_string(p.min < 0 ? p.min : p.max).size()))
          << key->name;
      // Maximum at the top (position 0), minimum at the bottom, and back.
      EXPECT_EQ(ParamTrackbarPos(p, p.max), 0) << key->name;
      EXPECT_EQ(ParamTrackbarPos(p, p.min), ParamTrackbarMax(p)) << key->name;
      EXPECT_EQ(ParamValueFromTrackbar(p, ParamTrackbarPos(p, p.min + 1)), p.min + 1);
    }
  }
  // The compressor gain: position = −value.
  const ParamDef* gain = FindParam(2551);
  ASSERT_NE(gain, nullptr);
  EXPECT_EQ(ParamTrackbarPos(*gain, -42), 42);
  // The time-stretch page's speed trackbar holds 35 − Speed.
  const ParamDef* speed = FindParam(TrackbarOf(kIdSpeedBox));
  ASSERT_NE(speed, nullptr);
  EXPECT_EQ(ParamTrackbarMax(*speed), 35);
  EXPECT_EQ(ParamValueFromTrackbar(*speed, 20), 15);
  EXPECT_EQ(FindParam(2999), nullptr);
}

TEST(ValueRules, ThresholdBoxesDragEachOtherAndClamp) {
  Thresholds t{-45, -40};
  t = SetLowerThreshold(t, -30);  // above the upper one: drags it along
  EXPECT_EQ(t.dw, -30);
  EXPECT_EQ(t.up, -30);
  t = SetUpperThreshold(t, -60);  // below the lower one: drags it down
  EXPECT_EQ(t.dw, -60);
  EXPECT_EQ(t.up, -60);
  t = SetUpperThreshold(t, 25);  // clamped to 0, the lower one stays
  EXPECT_EQ(t.up, 0);
  EXPECT_EQ(t.dw, -60);
  t = SetLowerThreshold(t, -999);
  EXPECT_EQ(t.dw, -100);
  EXPECT_EQ(t.up, 0);
  EXPECT_EQ(ThresholdFromTrackbar(ThresholdTrackbarPos(-37)), -37);
}

TEST(ValueRules, BoxTextReadsAsADecimalNumber) {
  EXPECT_EQ(ParseBoxNumber("42"), 42);
  EXPECT_EQ(ParseBoxNumber("  -12dB"), -12);
  EXPECT_EQ(ParseBoxNumber("+7"), 7);
  EXPECT_FALSE(ParseBoxNumber(""));
  EXPECT_FALSE(ParseBoxNumber("-"));
  EXPECT_FALSE(ParseBoxNumber("abc"));
  EXPECT_EQ(ParseBoxNumber("99999999999999"), INT32_MAX);
  EXPECT_EQ(ParseBoxNumber("-99999999999999"), INT32_MIN);
}

}  // namespace
}  // namespace vk
