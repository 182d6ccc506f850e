// A steady start on the offscreen platform (the same under a real window
// manager is tests/desktop/window_manager_test.sh): the placement comes back
// as it was saved, run after run, and a second start without paths brings the
// running window back without touching its playlist.
#include <QGuiApplication>
#include <QScreen>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "common/Settings.h"
#include "window/WindowTestSupport.h"

namespace {

std::string IniValue(const std::string& ini, const std::string& key) {
  std::ifstream in(ini);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return {};
}

class SteadyStartTest : public vktest::WindowTest {};

TEST_F(SteadyStartTest, ThePlacementComesBackUnchangedRunAfterRun) {
  vk::MainWindow& first = Open();
  first.show();
  const int height = first.frameGeometry().height();
  CloseWindow();
  std::string ini;
  {
    std::ifstream in(MainIni());
    ini.assign(std::istreambuf_iterator<char>(in), {});
  }
  // A wider window away from the corner than the first start gave (the
  // offscreen screen is 800 pixels wide).
  const std::pair<std::string, std::string> placement[] = {
      {"MainWndPosX=", "5"}, {"MainWndPosY=", "40"}, {"MainWndSizX=", "795"}};
  for (const auto& [key, value] : placement) {
    const auto at = ini.find(key);
    ASSERT_NE(at, std::string::npos) << key;
    ini.replace(at, ini.find_first_of("\r\n", at) - at, key + value);
  }
  std::ofstream(MainIni()) << ini;

  for (int run = 0; run < 3; ++run) {
    vk::MainWindow& w = Open();
    w.show();
    ASSERT_TRUE(vktest::WaitFor([&] { return w.isVisible(); }));
    vktest::Spin(100);
    EXPECT_EQ(w.frameGeometry(), QRect(5, 40, 795, height)) << "run " << run;
    CloseWindow();
    EXPECT_EQ(IniValue(MainIni(), "MainWndPosX"), "5") << "run " << run;
    EXPECT_EQ(IniValue(MainIni(), "MainWndPosY"), "40") << "run " << run;
    EXPECT_EQ(IniValue(MainIni(), "MainWndSizX"), "795") << "run " << run;
    EXPECT_EQ(IniValue(MainIni(), "MainWndSizY"), std::to_string(height)) << "run " << run;
  }
}

TEST_F(SteadyStartTest, ASecondStartWithoutPathsBringsTheWindowBackAsItWas) {
  const std::string a = vktest::MakeWav(dir_, "a.wav", 4.0);
  const std::string b = vktest::MakeWav(dir_, "b.wav", 4.0);
  vk::MainWindow& w = Open({QString::fromStdString(a), QString::fromStdString(b)});
  w.show();
  ASSERT_TRUE(WaitForPosition(1));
  w.showMinimized();
  ASSERT_TRUE(vktest::WaitFor([&] { return w.isMinimized(); }));

  w.CopyData("\"/usr/bin/velkaris\"");
  EXPECT_TRUE(vktest::WaitFor([&] { return !w.isMinimized(); }));
  EXPECT_TRUE(w.isVisible());
  // Still the same list, still playing the same row.
  EXPECT_EQ(w.ItemCount(), 2);
  EXPECT_TRUE(w.Playing());
  EXPECT_EQ(w.Playlist().CurrentItem, 0);
}

}  // namespace
