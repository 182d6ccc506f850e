// A listener looks for a song by typing part of its name into the search box:
// Enter finds the next row down, Shift+Enter the next one up, both wrapping.
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "playlist/PlaylistModel.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

class SearchBoxTest : public WindowTest {};

void PressEnter(QWidget* w, Qt::KeyboardModifiers mods) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, mods);
  QCoreApplication::sendEvent(w, &press);
}

TEST_F(SearchBoxTest, EnterSearchesDownAndShiftEnterUpWrappingAtBothEnds) {
  QStringList files;
  for (const char* name : {"intro", "target-one", "interlude", "target-two"}) {
    files << QString::fromStdString(MakeWav(dir_, std::string(name) + ".wav", 0.5));
  }
  vk::MainWindow& w = Open(files);
  auto* box = w.findChild<QLineEdit*>(QStringLiteral("search"));
  ASSERT_NE(box, nullptr);
  vk::SelectRow(w.Playlist(), 0);
  vk::SetFocusItem(w.Playlist(), 0);
  box->setText(QStringLiteral("TARGET"));

  PressEnter(box, Qt::NoModifier);
  EXPECT_EQ(w.Playlist().FocusItem, 1);
  PressEnter(box, Qt::NoModifier);
  EXPECT_EQ(w.Playlist().FocusItem, 3);
  PressEnter(box, Qt::NoModifier);  // wraps to the top
  EXPECT_EQ(w.Playlist().FocusItem, 1);
  PressEnter(box, Qt::ShiftModifier);  // wraps to the bottom
  EXPECT_EQ(w.Playlist().FocusItem, 3);
  PressEnter(box, Qt::ShiftModifier);
  EXPECT_EQ(w.Playlist().FocusItem, 1);
}

}  // namespace
}  // namespace vktest
