// The automatic thresholds: targets from the frame summary, one-dB rises per
// report, and the fall timer's steps and periods.
#include <gtest/gtest.h>

#include "display/AutoThreshold.h"

namespace {

TEST(AutoThresholdTest, TargetsPreferMultiplesOfFive) {
  vk::ThresholdState s;
  vk::AutoThresholdStep(s, -30, -70);
  EXPECT_EQ(s.ThresUpTarget, -46);
  EXPECT_EQ(s.ThresDwTarget, -51);

  vk::AutoThresholdStep(s, -26, -70);
  EXPECT_EQ(s.ThresUpTarget, -45);
  EXPECT_EQ(s.ThresDwTarget, -50);

  // A loud, flat frame: the targets are held to -60..-20 and E never above M.
  vk::AutoThresholdStep(s, 0, -2);
  EXPECT_EQ(s.ThresUpTarget, -20);
  EXPECT_EQ(s.ThresDwTarget, -20);
  vk::AutoThresholdStep(s, -150, -190);
  EXPECT_EQ(s.ThresUpTarget, -60);
  EXPECT_EQ(s.ThresDwTarget, -60);
}

TEST(AutoThresholdTest, NothingAnalysedChangesNothing) {
  vk::ThresholdState s;
  s.ThresDw = -55;
  s.ThresUp = -52;
  const vk::ThresholdAction act = vk::AutoThresholdStep(s, -200, 0);
  EXPECT_EQ(act.timer_ms, 0);
  EXPECT_FALSE(act.dw_changed || act.up_changed);
  EXPECT_EQ(s.ThresDw, -55);
  EXPECT_EQ(s.ThresUpTarget, -40);
}

TEST(AutoThresholdTest, ThresholdsClimbOneDbPerReportAndArmTheFallTimer) {
  vk::ThresholdState s;
  s.ThresDw = -60;
  s.ThresUp = -55;
  vk::ThresholdAction act = vk::AutoThresholdStep(s, -26, -70);  // targets -45 / -50
  EXPECT_EQ(s.ThresUp, -54);
  EXPECT_EQ(s.ThresDw, -59);
  EXPECT_TRUE(act.up_changed && act.dw_changed);
  EXPECT_EQ(act.timer_ms, 4000);  // armed before the rise, from -60 and -55: both round
  for (int i = 0; i < 20; ++i) act = vk::AutoThresholdStep(s, -26, -70);
  EXPECT_EQ(s.ThresUp, -45);
  EXPECT_EQ(s.ThresDw, -50);
  EXPECT_FALSE(act.up_changed || act.dw_changed);
  EXPECT_EQ(act.timer_ms, 4000);  // both at their targets, both round

  // Above both targets: the report leaves the timer alone.
  s.ThresDw = -30;
  s.ThresUp = -25;
  act = vk::AutoThresholdStep(s, -26, -70);
  EXPECT_EQ(act.timer_ms, 0);
  EXPECT_EQ(s.ThresDw, -30);
}

TEST(AutoThresholdTest, FallTimerLowersByOneAndLingersOnMultiplesOfFive) {
  vk::ThresholdState s;
  s.ThresDwTarget = -50;
  s.ThresUpTarget = -45;
  s.ThresDw = -48;
  s.ThresUp = -40;
  EXPECT_EQ(vk::ThresholdFallPeriodMs(s), 3000);  // exactly one is round
  vk::ThresholdAction act = vk::ThresholdFallStep(s, true);
  EXPECT_EQ(s.ThresDw, -49);
  EXPECT_EQ(s.ThresUp, -41);
  EXPECT_EQ(act.timer_ms, 2000);  // neither is round
  act = vk::ThresholdFallStep(s, true);
  act = vk::ThresholdFallStep(s, true);
  act = vk::ThresholdFallStep(s, true);
  act = vk::ThresholdFallStep(s, true);
  EXPECT_EQ(s.ThresDw, -50);  // stops at its target
  EXPECT_EQ(s.ThresUp, -45);
  EXPECT_EQ(act.timer_ms, 4000);

  // Lower threshold above the upper target: the quick period.
  s.ThresDw = -30;
  EXPECT_EQ(vk::ThresholdFallPeriodMs(s), 1000);

  // Inactive (minimised, AutoThres off or no file): nothing moves, the timer re-arms.
  s.ThresDw = -30;
  act = vk::ThresholdFallStep(s, false);
  EXPECT_EQ(s.ThresDw, -30);
  EXPECT_FALSE(act.dw_changed);
  EXPECT_EQ(act.timer_ms, 1000);

  // Values outside -60..-20 (set by hand) are pulled back in.
  s.ThresDw = -80;
  s.ThresUp = -5;
  vk::ThresholdFallStep(s, true);
  EXPECT_EQ(s.ThresDw, -60);
  EXPECT_EQ(s.ThresUp, -20);
}

}  // namespace
