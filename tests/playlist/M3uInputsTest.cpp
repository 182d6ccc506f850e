// M3U files that are not what they seem: a line far longer than any path,
// lists saved as UTF-16, a FIFO in place of the list, and what a killed save
// leaves behind.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "PlaylistFiles.h"
#include "common/Ini.h"
#include "playlist/M3u.h"

namespace vk {
namespace {

using vktest::AddFixture;

TEST(M3uInputsTest, ALineLongerThanAnyPathIsSkippedWithoutNormalising) {
  // 5 MB of "a/../" components: normalising would cost some 400 MB.
  std::string huge;
  while (huge.size() < 5 * 1024 * 1024) huge += "a/../";
  const std::string bytes = "one.wav\n" + huge + "\r\ntwo.wav\n" + std::string(PATH_MAX - 1, 'x') + "\n";
  const long before = vktest::PeakResidentKb();
  const std::vector<std::string> entries = ParseM3u(bytes, "/x/");
  EXPECT_LT(vktest::PeakResidentKb() - before, 64 * 1024);
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], "/x/one.wav");
  EXPECT_EQ(entries[1], "/x/two.wav");
  EXPECT_EQ(entries[2], "/x/" + std::string(PATH_MAX - 1, 'x'));  // just short enough: kept
}

TEST(M3uInputsTest, Utf16ListsWithAByteOrderMarkAreRead) {
  const std::u16string text = u"\u3042.wav\r\n/abs/b.wav\r\n";
  for (const bool big : {false, true}) {
    std::string bytes = big ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t u : text) {
      const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
      bytes += big ? std::string{hi, lo} : std::string{lo, hi};
    }
    EXPECT_EQ(ParseM3u(bytes, "/lists/"),
              (std::vector<std::string>{"/lists/\xE3\x81\x82.wav", "/abs/b.wav"}))
        << big;
  }
}

TEST(M3uInputsTest, AFifoNamedAsTheListIsRefusedAtOnce) {
  vktest::TempDir dir;
  vktest::MakeFifo(dir.File("list.m3u"));
  AddFixture f;
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::string> entries;
  EXPECT_FALSE(ReadM3u(dir.File("list.m3u"), entries));
  EXPECT_FALSE(RestorePlaylist(f.ctx, dir.File("list.m3u")));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(M3uInputsTest, SavingLeavesNoTemporaryAndReplacesTheList) {
  vktest::TempDir dir;
  vktest::WritePcmWav(dir.File("a.wav"), 8000, 8);
  AddFixture f;
  AddPath(f.ctx, dir.File("a.wav"));
  const std::string list = dir.File("PLAYLIST.M3U");
  // What a save killed after its temporary was made leaves behind.
  vktest::WriteFile(list + ".aB3dE5", std::string_view("half"));
  vktest::WriteFile(list + ".tmp-aB3dE5", std::string_view("half"));
  EXPECT_EQ(RemoveStaleTemporaries(list), 2);
  ASSERT_EQ(SavePlaylist(f.list, list), 0);
  const vktest::Bytes saved = vktest::ReadFile(list);
  EXPECT_EQ(std::string(saved.begin(), saved.end()), dir.File("a.wav") + "\n");
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) files += e.is_regular_file();
  EXPECT_EQ(files, 2);  // a.wav and the list
}

}  // namespace
}  // namespace vk
