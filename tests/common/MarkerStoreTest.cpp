// Markers kept per audio file: found again after the file is renamed or moved,
// kept whole when a save dies midway, and the list operations the window's
// next / previous keys and "A-B to the next marker" use.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>

#include "common/FileHandle.h"
#include "common/Ini.h"
#include "common/MarkerStore.h"
#include "common/Path.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

vktest::Bytes Noise(std::size_t n, unsigned seed) {
  vktest::Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) {
    seed = seed * 1103515245u + 12345u;
    b[i] = static_cast<std::uint8_t>(seed >> 16);
  }
  return b;
}

std::vector<std::int32_t> Frames(const std::vector<Marker>& marks) {
  std::vector<std::int32_t> out;
  for (const Marker& m : marks) out.push_back(m.frame);
  return out;
}

TEST(MarkerStoreTest, MarkersFollowTheFileThroughARenameAndAMove) {
  vktest::TempDir dir;
  const std::string song = dir.File("song.wav");
  vktest::WriteFile(song, Noise(300000, 1));
  const std::string store = MarkerStorePath(dir.path() + "/");
  MarkedFile file{AudioFileKey(song.c_str()), song, {}};
  ASSERT_FALSE(file.key.empty());
  AddMarker(file.marks, 88200, "サビ 1");
  AddMarker(file.marks, 44100, "Intro");
  ASSERT_TRUE(SaveMarkers(store, file));

  std::filesystem::create_directory(dir.File("moved"));
  const std::string moved = dir.File("moved/renamed.wav");
  std::filesystem::rename(song, moved);
  const std::vector<Marker> back = LoadMarkers(store, AudioFileKey(moved.c_str()));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].frame, 44100);
  EXPECT_EQ(back[0].name, "Intro");
  EXPECT_EQ(back[1].frame, 88200);
  EXPECT_EQ(back[1].name, "サビ 1");

  // Another file of the same size, or one changed near its start or end, is
  // another file; a change in the middle beyond both 64 KiB ends is not seen.
  vktest::Bytes bytes = vktest::ReadFile(moved);
  const std::string key = AudioFileKey(moved.c_str());
  auto key_after = [&](std::size_t at) {
    vktest::Bytes changed = bytes;
    changed[at] ^= 1;
    vktest::WriteFile(dir.File("other.wav"), changed);
    return AudioFileKey(dir.File("other.wav").c_str());
  };
  EXPECT_NE(key_after(10), key);
  EXPECT_NE(key_after(bytes.size() - 10), key);
  EXPECT_EQ(key_after(150000), key);
  EXPECT_TRUE(AudioFileKey(dir.File("missing.wav").c_str()).empty());
}

TEST(MarkerStoreTest, SmallFilesAndOtherFilesSectionsStayApart) {
  vktest::TempDir dir;
  const std::string store = dir.File("MARKERS.INI");
  vktest::WriteFile(dir.File("a.wav"), Noise(100, 2));
  vktest::WriteFile(dir.File("b.wav"), Noise(100, 3));
  MarkedFile a{AudioFileKey(dir.File("a.wav").c_str()), dir.File("a.wav"), {{10, "A"}}};
  MarkedFile b{AudioFileKey(dir.File("b.wav").c_str()), dir.File("b.wav"), {{20, "B"}}};
  ASSERT_NE(a.key, b.key);
  ASSERT_TRUE(SaveMarkers(store, a));
  ASSERT_TRUE(SaveMarkers(store, b));
  a.marks.push_back({30, "A2"});
  ASSERT_TRUE(SaveMarkers(store, a));
  EXPECT_EQ(Frames(LoadMarkers(store, a.key)), (std::vector<std::int32_t>{10, 30}));
  EXPECT_EQ(Frames(LoadMarkers(store, b.key)), (std::vector<std::int32_t>{20}));
  // Deleting the last marker removes the file's section.
  b.marks.clear();
  ASSERT_TRUE(SaveMarkers(store, b));
  const vktest::Bytes text = vktest::ReadFile(store);
  EXPECT_EQ(std::string(text.begin(), text.end()).find(b.key), std::string::npos);
}

TEST(MarkerStoreTest, ReadingSkipsWhatItDoesNotUnderstand) {
  const std::string text =
      "Marker=5 outside any section\r\n"
      "[k1]\r\nPath=/a b/c.wav\r\nMarker=300 late\r\nMarker=100 early one\r\n"
      "Marker=-4 negative\nMarker=12x bad\nMarker=\nMarker=200\nOther=1\n\n"
      "[k1]\nMarker=999 second section of the same key\n"
      "[k2]\nMarker=7 " + std::string(300, 'x') + "\n";
  FileHandle f = OpenBytesForReading(text.data(), text.size());
  const std::vector<MarkedFile> files = ReadMarkerStore(f.get());
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].key, "k1");
  EXPECT_EQ(files[0].path, "/a b/c.wav");
  EXPECT_EQ(Frames(files[0].marks), (std::vector<std::int32_t>{100, 200, 300}));
  EXPECT_EQ(files[0].marks[0].name, "early one");
  EXPECT_EQ(files[0].marks[1].name, "");
  ASSERT_EQ(files[1].marks.size(), 1u);
  EXPECT_EQ(files[1].marks[0].name.size(), kMarkerNameBytes);
}

TEST(MarkerStoreTest, NamesStayOnOneLineAndWholeCharacters) {
  EXPECT_EQ(CleanMarkerName("a\nb\rc\td"), "a b c d");
  std::string name;
  for (int i = 0; i < 100; ++i) name += "あ";  // 3 bytes each
  const std::string cut = CleanMarkerName(name);
  EXPECT_LE(cut.size(), kMarkerNameBytes);
  EXPECT_EQ(cut.size() % 3, 0u);
  EXPECT_EQ(CleanMarkerName("ok\xE3\x81"), "ok");
}

// A save killed midway (here by the file-size limit, as a full disk or a crash
// would stop it) leaves the previous store whole, and only a temporary that the
// window's start removes.
TEST(MarkerStoreTest, ACrashWhileSavingKeepsThePreviousStore) {
  vktest::TempDir dir;
  const std::string store = dir.File("MARKERS.INI");
  MarkedFile file{"key-1", "/music/a.wav", {{1000, "kept"}}};
  ASSERT_TRUE(SaveMarkers(store, file));
  const vktest::Bytes before = vktest::ReadFile(store);

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    MarkedFile big{"key-1", "/music/a.wav", {}};
    for (int i = 0; i < 2000; ++i) AddMarker(big.marks, i * 10, "a marker with a longish name");
    SaveMarkers(store, big);
    _exit(0);  // not reached: the write past the limit kills the process
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGXFSZ);

  EXPECT_EQ(vktest::ReadFile(store), before);
  EXPECT_EQ(Frames(LoadMarkers(store, "key-1")), (std::vector<std::int32_t>{1000}));
  EXPECT_EQ(RemoveStaleTemporaries(store), 1);
}

TEST(MarkerStoreTest, AStoreThatCannotBeReadIsNotReplaced) {
  vktest::TempDir dir;
  const std::string store = dir.File("MARKERS.INI");
  std::filesystem::create_directory(store);  // a folder where the store should be
  EXPECT_FALSE(SaveMarkers(store, MarkedFile{"k", "/a.wav", {{1, "x"}}}));
  EXPECT_TRUE(std::filesystem::is_directory(store));
}

TEST(MarkerListTest, NextPreviousAndTheRangeToTheNextMarker) {
  std::vector<Marker> marks;
  EXPECT_EQ(NextMarker(marks, 0), -1);
  EXPECT_EQ(PreviousMarker(marks, 100, 0), -1);
  EXPECT_EQ(AddMarker(marks, 300, "c"), 0u);
  EXPECT_EQ(AddMarker(marks, 100, "a"), 0u);
  EXPECT_EQ(AddMarker(marks, 200, "b"), 1u);
  EXPECT_EQ(AddMarker(marks, 200, "again"), 1u);  // one marker per place
  EXPECT_EQ(marks[1].name, "b");
  EXPECT_EQ(AddMarker(marks, -5, "start"), 0u);
  EXPECT_EQ(marks[0].frame, 0);

  EXPECT_EQ(NextMarker(marks, 0), 1);
  EXPECT_EQ(NextMarker(marks, 100), 2);  // standing on a marker goes on to the next
  EXPECT_EQ(NextMarker(marks, 300), -1);
  EXPECT_EQ(PreviousMarker(marks, 250, 0), 2);
  EXPECT_EQ(PreviousMarker(marks, 210, 20), 1);  // just past b: back to a
  EXPECT_EQ(PreviousMarker(marks, 0, 0), -1);

  std::int32_t from = 0, to = 0;
  ASSERT_TRUE(MarkerRange(marks, 1, 1000, &from, &to));
  EXPECT_EQ(from, 100);
  EXPECT_EQ(to, 200);
  ASSERT_TRUE(MarkerRange(marks, 3, 1000, &from, &to));  // the last runs to the end
  EXPECT_EQ(to, 1000);
  EXPECT_FALSE(MarkerRange(marks, 3, 300, &from, &to));  // nothing after it
  EXPECT_FALSE(MarkerRange(marks, 4, 1000, &from, &to));
  EXPECT_FALSE(MarkerRange(marks, -1, 1000, &from, &to));
}

TEST(MarkerStoreTest, DataFolderIsBesideAPortableProgramOrUnderXdgDataHome) {
  vktest::TempDir dir;
  const char* saved = std::getenv("XDG_DATA_HOME");
  const std::string old = saved != nullptr ? saved : "";
  const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  setenv("XDG_DATA_HOME", dir.File("data").c_str(), 1);
  EXPECT_EQ(DataHomeDir(dir.path()), dir.File("data/velkaris/"));
  setenv("XDG_DATA_HOME", "relative", 1);
  setenv("HOME", dir.path().c_str(), 1);
  EXPECT_EQ(DataHomeDir(dir.path()), dir.File(".local/share/velkaris/"));
  vktest::WriteFile(dir.File("MAIN.INI"), std::string_view("[Play]\n"));
  EXPECT_EQ(DataHomeDir(dir.path()), dir.path() + "/");
  setenv("HOME", home.c_str(), 1);
  if (saved != nullptr) {
    setenv("XDG_DATA_HOME", old.c_str(), 1);
  } else {
    unsetenv("XDG_DATA_HOME");
  }
}

}  // namespace
}  // namespace vk
