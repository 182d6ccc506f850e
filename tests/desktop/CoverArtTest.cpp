// The picture inside an audio file reaches the desktop as a file in the cache
// folder, written once however often it is asked for.
#include <gtest/gtest.h>

#include <QDir>
#include <QUrl>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "app/DesktopSession.h"
#include "support/CoverFiles.h"

namespace {

using vktest::kCoverPng;
using vktest::Mp3WithPicture;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

TEST(CoverCacheTest, TheCoverIsWrittenOnceAndSharedByFilesWithTheSamePicture) {
  vktest::TempDir dir;
  const QString cache = Q(dir.File("cache/velkaris/covers"));
  const QString first = vk::CoverArtUrl(Q(Mp3WithPicture(dir, "a.mp3", "image/png", kCoverPng)), cache);
  ASSERT_FALSE(first.isEmpty());
  const QString file = QUrl(first).toLocalFile();
  EXPECT_TRUE(file.startsWith(cache + QLatin1Char('/')));
  EXPECT_TRUE(file.endsWith(QStringLiteral(".png")));
  EXPECT_EQ(ReadAll(file.toStdString()), kCoverPng);

  const auto written = std::filesystem::last_write_time(file.toStdString());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const QString second = vk::CoverArtUrl(Q(Mp3WithPicture(dir, "b.mp3", "image/png", kCoverPng)), cache);
  EXPECT_EQ(second, first);
  EXPECT_EQ(std::filesystem::last_write_time(file.toStdString()), written);
  EXPECT_EQ(QDir(cache).entryList(QDir::Files).size(), 1);

  EXPECT_TRUE(vk::CoverArtUrl(Q(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_notag_44k.mp3"), cache).isEmpty());
  // A cache folder that cannot be made gives no URL, and no failure.
  std::ofstream(dir.File("blocked")) << "a file where the folder would go";
  EXPECT_TRUE(vk::CoverArtUrl(Q(Mp3WithPicture(dir, "d.mp3", "image/png", kCoverPng)), Q(dir.File("blocked/covers")))
                  .isEmpty());
}

}  // namespace
