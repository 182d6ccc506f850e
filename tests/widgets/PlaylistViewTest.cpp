// The playlist view alone over a model: it shows the rows, keeps the model's
// selection and focus in step with the user's clicks, and says what the user
// asked for without doing it.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "ui/PlaylistView.h"

namespace vk {
namespace {

class PlaylistViewAlone : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.wav", "b.mp3", "c.wav"}) {
      PlaylistRow row;
      row.Text[kColFile] = name;
      row.Text[kColFullPath] = std::string("/music/") + name;
      AppendRow(list, row);
    }
    view = std::make_unique<PlaylistView>(list, nullptr);
    list.Listener = view.get();
    view->resize(600, 300);
    view->LayOutColumns(600);
    view->show();
  }
  QPoint RowCentre(int row) {
    return view->visualRect(view->model()->index(row, kColFile)).center();
  }
  PlaylistModel list;
  std::unique_ptr<PlaylistView> view;
};

TEST_F(PlaylistViewAlone, ClicksMoveTheModelAndTheModelMovesTheView) {
  EXPECT_EQ(view->model()->rowCount(), 3);
  EXPECT_EQ(view->model()->data(view->model()->index(1, kColFile)).toString(), "b.mp3");
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(2));
  EXPECT_EQ(list.FocusItem, 2);
  EXPECT_TRUE(list.Rows[2].Selected);
  EXPECT_FALSE(list.Rows[0].Selected);
  SelectRow(list, 0);
  EXPECT_EQ(view->currentIndex().row(), 0);
  EXPECT_TRUE(view->selectionModel()->isRowSelected(0, QModelIndex()));
  EXPECT_FALSE(view->selectionModel()->isRowSelected(2, QModelIndex()));
}

TEST_F(PlaylistViewAlone, KeysAndTheRightButtonAreReportedNotActedOn) {
  QSignalSpy play(view.get(), &PlaylistView::playRequested);
  QSignalSpy remove(view.get(), &PlaylistView::removeRequested);
  QSignalSpy move(view.get(), &PlaylistView::moveRequested);
  QSignalSpy menu(view.get(), &QWidget::customContextMenuRequested);
  SelectRow(list, 1);
  QTest::keyClick(view.get(), Qt::Key_Return);
  EXPECT_EQ(play.count(), 1);
  QTest::keyClick(view.get(), Qt::Key_Delete);
  EXPECT_EQ(remove.count(), 1);
  EXPECT_EQ(list.Rows.size(), 3u);  // the window removes; the view only asks
  QTest::keyClick(view.get(), Qt::Key_Up, Qt::ControlModifier);
  QTest::keyClick(view.get(), Qt::Key_Down, Qt::ControlModifier);
  ASSERT_EQ(move.count(), 2);
  EXPECT_EQ(move.at(0).at(0).toInt(), -1);
  EXPECT_EQ(move.at(1).at(0).toInt(), 1);
  EXPECT_EQ(list.FocusItem, 1);  // Ctrl+arrows do not walk the focus
  QTest::mousePress(view->viewport(), Qt::RightButton, Qt::NoModifier, RowCentre(1));
  ASSERT_EQ(menu.count(), 1);
  EXPECT_EQ(menu.at(0).at(0).toPoint(), RowCentre(1));
}

TEST_F(PlaylistViewAlone, ADoubleClickAnywhereInTheListPlaysTheFocusedRow) {
  QSignalSpy play(view.get(), &PlaylistView::playRequested);
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, RowCentre(1));
  EXPECT_EQ(play.count(), 1);
  EXPECT_EQ(list.FocusItem, 1);
  // Below the last row: the focused row still plays.
  const QPoint empty(RowCentre(2).x(), view->viewport()->height() - 5);
  ASSERT_FALSE(view->indexAt(empty).isValid());
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, empty);
  EXPECT_EQ(play.count(), 2);
  // The right button's double click is no play.
  QTest::mouseDClick(view->viewport(), Qt::RightButton, Qt::NoModifier, RowCentre(0));
  EXPECT_EQ(play.count(), 2);
}

}  // namespace
}  // namespace vk
