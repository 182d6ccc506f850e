// A FIFO beside the song: the window neither waits on it nor fails to save its
// settings when it closes; a save killed midway leaves nothing behind at the
// next start.
#include <chrono>
#include <filesystem>

#include "common/Ini.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

class FileSafetyWindowTest : public WindowTest {};

TEST_F(FileSafetyWindowTest, AFifoBesideTheSongNeitherFreezesNorKeepsTheWindowOpen) {
  const std::string song = MakeWav(dir_, "song.wav", 6.0);
  MakeFifo(dir_.File("song.lrc"));  // the drawing thread looks for lyrics here
  // What a save killed midway left in the settings folder.
  const std::string stale_ini = MainIni() + ".tmp-k1LLed";
  const std::string stale_list = paths_.PlaylistM3u() + ".k1LLed";
  WriteFile(stale_ini, std::string_view("half"));
  WriteFile(stale_list, std::string_view("half"));

  vk::MainWindow& w = Open({QString::fromStdString(song)});
  EXPECT_FALSE(std::filesystem::exists(stale_ini));
  EXPECT_FALSE(std::filesystem::exists(stale_list));
  EXPECT_EQ(vk::ItemCount(w.Playlist()), 1);
  ASSERT_TRUE(WaitForPosition(16000));  // playing on, pictures and all

  const auto start = std::chrono::steady_clock::now();
  CloseWindow();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_TRUE(std::filesystem::exists(MainIni()));
  EXPECT_TRUE(std::filesystem::exists(paths_.PlaylistM3u()));
  EXPECT_EQ(vk::RemoveStaleTemporaries(MainIni()), 0);
}

}  // namespace
}  // namespace vktest
