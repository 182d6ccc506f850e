// A number box alone: typed text is entered whole (Enter, leaving the box, a
// pause), a number written by the program or stepped by an arrow at once.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ui/NumberBox.h"

namespace vk {
namespace {

class NumberBoxAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    box = new NumberBox(2102, 3, &window);
    arrows = new UpDownArrows(box, 25, 200, 5, &window);
    other = new NumberBox(2103, 3, &window);
    box->ShowNumber(100);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    box->setFocus();
  }
  QStringList Entered(const QSignalSpy& spy) {
    QStringList texts;
    for (const QList<QVariant>& args : spy) texts << args.at(0).toString();
    return texts;
  }
  QWidget window;
  NumberBox* box = nullptr;
  NumberBox* other = nullptr;
  UpDownArrows* arrows = nullptr;
};

TEST_F(NumberBoxAlone, TypingIsEnteredOnlyWhenComplete) {
  QSignalSpy entered(box, &NumberBox::textEntered);
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("150"));
  EXPECT_EQ(entered.count(), 0);  // not "1", not "15"
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(Entered(entered), QStringList{"150"});
  // Enter again with nothing typed enters nothing more.
  QTest::keyClick(box, Qt::Key_Return);
  EXPECT_EQ(entered.count(), 1);

  // Leaving the box enters what was typed.
  QTest::keyClick(box, Qt::Key_Backspace);
  other->setFocus();
  EXPECT_EQ(Entered(entered), (QStringList{"150", "15"}));

  // So does a pause in the typing.
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("30"));
  EXPECT_TRUE(box->TypingPending());
  EXPECT_TRUE(QTest::qWaitFor([&] { return entered.count() == 3; },
                              NumberBox::kTypingPauseMs * 3));
  EXPECT_EQ(entered.last().at(0).toString(), "30");
  EXPECT_FALSE(box->TypingPending());
}

TEST_F(NumberBoxAlone, ProgramAndArrowNumbersAreEnteredAtOnce) {
  QSignalSpy entered(box, &NumberBox::textEntered);
  box->ShowNumber(75);
  EXPECT_EQ(Entered(entered), QStringList{"75"});
  arrows->Step(1);
  arrows->Step(-1);
  arrows->Step(-1);
  EXPECT_EQ(Entered(entered), (QStringList{"75", "80", "75", "70"}));
  // An arrow while typing enters the stepped number and drops the pending text.
  box->selectAll();
  QTest::keyClicks(box, QStringLiteral("4"));
  arrows->Step(1);  // an empty or short number steps from what it reads: 4 → 25 → 30
  EXPECT_FALSE(box->TypingPending());
  EXPECT_EQ(entered.count(), 5);
  EXPECT_EQ(box->text(), entered.last().at(0).toString());
}

}  // namespace
}  // namespace vk
