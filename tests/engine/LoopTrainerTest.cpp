// The loop trainer's speed for each pass, as tables over start, step, every
// and end, including the ends of the speed range and plans that go down.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "common/Settings.h"
#include "engine/LoopTrainer.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

std::vector<std::int32_t> Speeds(const TrainerPlan& plan, int passes) {
  std::vector<std::int32_t> out;
  for (int pass = 1; pass <= passes; ++pass) out.push_back(TrainerSpeedPercent(plan, pass));
  return out;
}

struct Case {
  TrainerPlan plan;
  std::vector<std::int32_t> want;
};

TEST(LoopTrainerTest, SpeedSequencesForStartStepEveryEnd) {
  const Case cases[] = {
      // 60 → 100 in steps of 5, one pass each, then the end speed stays.
      {{60, 5, 1, 100, 0}, {60, 65, 70, 75, 80, 85, 90, 95, 100, 100, 100}},
      // Two passes per step.
      {{60, 10, 2, 100, 0}, {60, 60, 70, 70, 80, 80, 90, 90, 100, 100, 100}},
      // A step that overshoots stops at the end speed.
      {{70, 20, 1, 100, 0}, {70, 90, 100, 100}},
      // Step 0 keeps the start speed.
      {{80, 0, 1, 100, 0}, {80, 80, 80}},
      // Start equal to end: one speed throughout.
      {{100, 5, 1, 100, 0}, {100, 100, 100}},
      // An end below the start brings the speed down.
      {{120, 10, 3, 90, 0}, {120, 120, 120, 110, 110, 110, 100, 100, 100, 90, 90}},
      // The ends of the speed range.
      {{25, 25, 1, 200, 0}, {25, 50, 75, 100, 125, 150, 175, 200, 200}},
      {{200, 175, 1, 25, 0}, {200, 25, 25}},
      // Values off the 5 % grid land where the speed box puts them.
      {{62, 3, 1, 100, 0}, {60, 65, 70, 70, 75}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Speeds(c.plan, static_cast<int>(c.want.size())), c.want)
        << "start " << c.plan.start_percent << " step " << c.plan.step_percent << " every "
        << c.plan.every << " end " << c.plan.end_percent;
  }
}

TEST(LoopTrainerTest, OutOfRangeInputsStayInsideTheSpeedRange) {
  // Speeds outside 25 … 200, a pass count of 0 or below, every 0 and the
  // largest pass count never leave the range or overflow.
  EXPECT_EQ(TrainerSpeedPercent({10, 5, 1, 400, 0}, 1), 25);
  EXPECT_EQ(TrainerSpeedPercent({10, 5, 1, 400, 0}, 1000), 200);
  EXPECT_EQ(TrainerSpeedPercent({60, 5, 1, 100, 0}, 0), 60);
  EXPECT_EQ(TrainerSpeedPercent({60, 5, 1, 100, 0}, -7), 60);
  EXPECT_EQ(TrainerSpeedPercent({60, 5, 0, 100, 0}, 3), 70);
  EXPECT_EQ(TrainerSpeedPercent({60, INT_MAX, 1, 100, 0}, INT_MAX), 100);
  EXPECT_EQ(TrainerSpeedPercent({60, -5, 1, 100, 0}, 5), 60);
  EXPECT_EQ(TrainerSpeedIndex({60, 5, 1, 100, 0}, 9), 15);  // 100 %
}

TEST(LoopTrainerTest, GapIsMillisecondsAtTheFileRate) {
  EXPECT_EQ(TrainerGapFrames({60, 5, 1, 100, 500}, 44100), 22050);
  EXPECT_EQ(TrainerGapFrames({60, 5, 1, 100, 0}, 44100), 0);
  EXPECT_EQ(TrainerGapFrames({60, 5, 1, 100, 1}, 8000), 8);
  EXPECT_EQ(TrainerGapFrames({60, 5, 1, 100, 10000}, 192000), 1920000);
}

TEST(LoopTrainerTest, KeysAreValidatedAndSavedWithThePlayKeys) {
  Settings s;
  ResetSettings(s);
  EXPECT_EQ(s.TrainOnOff, 0);
  EXPECT_EQ(s.TrainStart, 60);
  EXPECT_EQ(s.TrainStep, 5);
  EXPECT_EQ(s.TrainEvery, 1);
  EXPECT_EQ(s.TrainEnd, 100);
  EXPECT_EQ(s.TrainGap, 0);
  s.TrainStart = 20;   // below the speed range
  s.TrainEnd = 205;    // above it
  s.TrainEvery = 0;
  s.TrainGap = -1;
  s.TrainStep = 50;    // inside its range: kept
  ValidateSettings(s);
  EXPECT_EQ(s.TrainStart, 60);
  EXPECT_EQ(s.TrainEnd, 100);
  EXPECT_EQ(s.TrainEvery, 1);
  EXPECT_EQ(s.TrainGap, 0);
  EXPECT_EQ(s.TrainStep, 50);

  // Written at exit and read back at the next start.
  s.TrainOnOff = 1;
  s.TrainStart = 70;
  s.TrainEvery = 4;
  s.TrainEnd = 110;
  s.TrainGap = 2500;
  vktest::TempDir dir;
  ASSERT_TRUE(SaveSettings(dir.File("MAIN.INI").c_str(), s));
  Settings back;
  ResetSettings(back);
  ASSERT_TRUE(LoadSettings(dir.File("MAIN.INI").c_str(), back));
  EXPECT_EQ(back.TrainOnOff, 1);
  EXPECT_EQ(back.TrainStart, 70);
  EXPECT_EQ(back.TrainStep, 50);
  EXPECT_EQ(back.TrainEvery, 4);
  EXPECT_EQ(back.TrainEnd, 110);
  EXPECT_EQ(back.TrainGap, 2500);
}

}  // namespace
}  // namespace vk
