// The search box alone: Enter asks for a search down, Shift+Enter up; other
// keys edit the text.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ui/SearchBox.h"

namespace vk {
namespace {

TEST(SearchBoxAlone, EnterAsksDownAndShiftEnterUp) {
  SearchBox box(nullptr);
  QSignalSpy searches(&box, &SearchBox::searchRequested);
  QTest::keyClicks(&box, QStringLiteral("tar"));
  EXPECT_EQ(searches.count(), 0);
  QTest::keyClick(&box, Qt::Key_Return);
  QTest::keyClick(&box, Qt::Key_Enter, Qt::ShiftModifier);
  ASSERT_EQ(searches.count(), 2);
  EXPECT_FALSE(searches.at(0).at(0).toBool());
  EXPECT_TRUE(searches.at(1).at(0).toBool());
  EXPECT_EQ(box.text(), "tar");
}

}  // namespace
}  // namespace vk
