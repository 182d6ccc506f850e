// The ring reports wait in: oldest first across the wrap, and a full ring
// loses the newest report and counts it rather than overwriting one.
#include <gtest/gtest.h>

#include "common/MessageRing.h"

namespace vk {
namespace {

TEST(MessageRingTest, KeepsOrderAcrossTheWrapAndCountsWhatAFullRingDrops) {
  MessageRing ring;
  QueuedMessage m;
  EXPECT_FALSE(ring.Pop(&m));
  // Move the head past the middle so the fill below wraps.
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(ring.Push({0x8008, i, -i}));
  for (int i = 0; i < 40; ++i) ASSERT_TRUE(ring.Pop(&m));
  EXPECT_TRUE(ring.Empty());

  for (int i = 0; i < MessageRing::kCapacity; ++i) ASSERT_TRUE(ring.Push({0x8000, i, 2 * i}));
  EXPECT_FALSE(ring.Push({0x8005, 999, 0}));
  EXPECT_FALSE(ring.Push({0x8005, 998, 0}));
  EXPECT_EQ(ring.Dropped(), 2);
  for (int i = 0; i < MessageRing::kCapacity; ++i) {
    ASSERT_TRUE(ring.Pop(&m));
    EXPECT_EQ(m.message, 0x8000u);
    EXPECT_EQ(m.wparam, i);
    EXPECT_EQ(m.lparam, 2 * i);
  }
  EXPECT_FALSE(ring.Pop(&m));
  // Room again once taken.
  EXPECT_TRUE(ring.Push({0x8007, 1, 1}));
  EXPECT_EQ(ring.Dropped(), 2);
}

}  // namespace
}  // namespace vk
