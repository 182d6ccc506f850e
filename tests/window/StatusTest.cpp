// What the status bar says about the list: remaining and total files and
// times, and the time they take at another speed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/StatusText.h"

namespace vktest {
namespace {

TEST(StatusText, TimesAddUpWithCarriesAndConvertForTheSpeed) {
  const std::vector<std::string> times = {"3:20", "4:50", "62:05"};
  vk::Hms total;
  vk::Hms remain;
  vk::SumTimes(times, 1, &total, &remain);
  EXPECT_EQ(vk::FilesAndTimeText("REMAIN", 2, remain, 15), "REMAIN  2 FILES  1:06:55");
  EXPECT_EQ(vk::FilesAndTimeText("TOTAL", 3, total, 15), "TOTAL  3 FILES  1:10:15");
  // At 200 % the list takes half as long.
  EXPECT_EQ(vk::FilesAndTimeText("TOTAL", 3, total, 35), "TOTAL  3 FILES  1:10:15 → 0:35:07");
  // At 25 % four times as long.
  EXPECT_EQ(vk::FilesAndTimeText("TOTAL", 3, total, 0), "TOTAL  3 FILES  1:10:15 → 4:41:00");
}

TEST(StatusText, AnUnreadableTimeAddsWhatCouldBeRead) {
  const std::vector<std::string> times = {"7", "abc", "1:5x", ""};
  vk::Hms total;
  vk::Hms remain;
  vk::SumTimes(times, 0, &total, &remain);
  EXPECT_EQ(total.m, 8);
  EXPECT_EQ(total.s, 5);
}

TEST(StatusText, TheTitleNamesTheFileAndItsFolder) {
  EXPECT_EQ(vk::PlayingTitle("/music/B/A.mp3"), "A.mp3 - /music/B/ - Velkaris");
  EXPECT_EQ(vk::PlayingTitle("song.wav"), "song.wav -  - Velkaris");
}

}  // namespace
}  // namespace vktest
