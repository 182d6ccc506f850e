// The heard position and the A-B repeat decision as a table: at every speed
// the device's heard output frames become file frames run by run.
#include <gtest/gtest.h>

#include <vector>

#include "engine/PlayPosition.h"

namespace vk {
namespace {

struct Row {
  const char* what;
  std::vector<SpeedRun> speeds;
  std::int64_t held;
  std::int32_t frame;  // expected
};

HeardInput Input(const Row& row, std::int32_t base, std::int32_t total) {
  HeardInput in;
  for (const SpeedRun& run : row.speeds) in.handed += run.frames;
  in.held = row.held;
  in.speeds = row.speeds;
  in.base = base;
  in.total = total;
  return in;
}

TEST(PlayPositionTest, HeardFrameAtEverySpeed) {
  // Four blocks of 800 output frames handed from file frame 10 000 on.
  const Row rows[] = {
      {"25 %, nothing heard", {{3200, 0}}, 3200, 10000},
      {"25 %, one block heard", {{3200, 0}}, 2400, 10200},
      {"25 %, 1 frame heard rounds to 0", {{3200, 0}}, 3199, 10000},
      {"25 %, 2 frames heard round to 1", {{3200, 0}}, 3198, 10001},
      {"50 %, half a block heard", {{3200, 5}}, 2800, 10200},
      {"75 %, 333 frames heard", {{3200, 10}}, 2867, 10250},
      {"100 %, all heard", {{3200, 15}}, 0, 13200},
      {"135 %, one block heard", {{3200, 22}}, 2400, 11080},
      {"135 %, 7 frames heard", {{3200, 22}}, 3193, 10009},
      {"200 %, three blocks heard", {{3200, 35}}, 800, 14800},
      {"100 % then 200 %: the first run whole, half the second", {{1600, 15}, {1600, 35}}, 800, 13200},
      {"200 % then 50 %: inside the first run", {{800, 35}, {2400, 5}}, 2800, 10800},
      {"more played than handed counts nothing extra", {{3200, 15}}, -50, 13200},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const HeardResult r = HeardPosition(Input(row, 10000, 100000));
    EXPECT_EQ(r.frame, row.frame);
    EXPECT_EQ(r.ab_state, kABOff);
    EXPECT_FALSE(r.jump_to_a);
  }
}

TEST(PlayPositionTest, HeardFrameStaysInsideTheFile) {
  const Row past_end{"", {{3200, 35}}, 0, 0};
  EXPECT_EQ(HeardPosition(Input(past_end, 10000, 12000)).frame, 12000);
  const Row empty{"", {}, 0, 0};
  EXPECT_EQ(HeardPosition(Input(empty, 500, 12000)).frame, 500);
  EXPECT_EQ(HeardPosition(Input(empty, 500, 0)).frame, 0);
}

TEST(PlayPositionTest, RepeatJumpsToAOnlyWhenBIsReachedFromBeforeIt) {
  struct Case {
    const char* what;
    std::int32_t speed;
    std::int64_t held;
    std::int32_t a, b, state;
    bool finished;
    std::int32_t frame, next_state;
    bool jump, still_finished;
  };
  // 3200 output frames handed from file frame 20 000; total 40 000.
  const Case cases[] = {
      {"before B at 100 %", 15, 2000, 20500, 22000, kABBeforeB, false, 21200, kABBeforeB, false, false},
      {"B reached at 100 %", 15, 1000, 20500, 22000, kABBeforeB, false, 22200, kABBeforeB, true, false},
      {"B reached exactly at 200 %", 35, 2700, 20500, 21000, kABBeforeB, false, 21000, kABBeforeB, true, false},
      {"B reached at 25 %", 0, 0, 20100, 20800, kABBeforeB, false, 20800, kABBeforeB, true, false},
      {"just before B at 135 %", 22, 2460, 20000, 21000, kABBeforeB, false, 20999, kABBeforeB, false, false},
      {"past B after seeking past it: no jump", 15, 1000, 20500, 21000, kABOff, false, 22200, kABAtB, false, false},
      {"stays at B without jumping again", 15, 1000, 20500, 21000, kABAtB, false, 22200, kABAtB, false, false},
      {"B past the end: the end jumps", 10, 0, 25000, 50000, kABBeforeB, true, 22400, kABBeforeB, true, false},
      {"A not below B: off, the end holds", 5, 0, 30000, 30000, kABBeforeB, true, 21600, kABOff, false, true},
      {"repeat off while playing", 15, 0, 0, 0, kABOff, false, 23200, kABOff, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<SpeedRun> runs{{3200, c.speed}};
    HeardInput in;
    in.handed = 3200;
    in.held = c.held;
    in.speeds = runs;
    in.base = 20000;
    in.total = 40000;
    in.a = c.a;
    in.b = c.b;
    in.ab_state = c.state;
    in.finished = c.finished;
    const HeardResult r = HeardPosition(in);
    EXPECT_EQ(r.frame, c.frame);
    EXPECT_EQ(r.ab_state, c.next_state);
    EXPECT_EQ(r.jump_to_a, c.jump);
    EXPECT_EQ(r.finished, c.still_finished);
  }
  EXPECT_EQ(RepeatStateAfterSeek(100, 50, 200), kABBeforeB);
  EXPECT_EQ(RepeatStateAfterSeek(200, 50, 200), kABOff);
  EXPECT_EQ(RepeatStateAfterSeek(100, 200, 200), kABOff);
}

}  // namespace
}  // namespace vk
