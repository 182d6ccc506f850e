// The picture inside an audio file reaches the desktop as a file in the cache
// folder, written once however often it is asked for.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "app/DesktopSession.h"
#include "audio/CoverArt.h"
#include "support/TestFiles.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// An MP3 file with an ID3v2.3 tag holding one APIC frame of `picture`.
std::string Mp3WithPicture(const vktest::TempDir& dir, const std::string& name,
                           const std::string& mime, const std::string& picture) {
  std::string frame_body;
  frame_body += '\0';  // Latin-1
  frame_body += mime;
  frame_body += '\0';
  frame_body += '\x03';  // front cover
  frame_body += "cover";
  frame_body += '\0';
  frame_body += picture;
  std::string frame = "APIC";
  const auto n = static_cast<std::uint32_t>(frame_body.size());
  frame += static_cast<char>(n >> 24);
  frame += static_cast<char>(n >> 16);
  frame += static_cast<char>(n >> 8);
  frame += static_cast<char>(n);
  frame += std::string(2, '\0');
  frame += frame_body;
  const auto size = static_cast<std::uint32_t>(frame.size());
  std::string tag = "ID3";
  tag += '\x03';
  tag += '\0';
  tag += '\0';
  for (int shift : {21, 14, 7, 0}) tag += static_cast<char>((size >> shift) & 0x7F);
  tag += frame;
  const std::string audio = ReadAll(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_notag_44k.mp3");
  const std::string path = dir.File(name);
  std::ofstream(path, std::ios::binary) << tag << audio;
  return path;
}

const std::string kPng = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(200, 'p');

TEST(CoverArtTest, TheEmbeddedPictureIsFoundByItsBytesNotItsLabel) {
  vktest::TempDir dir;
  vk::CoverArt art;
  ASSERT_TRUE(vk::ReadCoverArt(Mp3WithPicture(dir, "a.mp3", "image/png", kPng), &art));
  EXPECT_EQ(art.Extension, "png");
  EXPECT_EQ(std::string(art.Bytes.begin(), art.Bytes.end()), kPng);

  // A label claiming JPEG over PNG bytes still gives a .png; bytes of no known
  // image give nothing rather than a file a listener cannot show.
  ASSERT_TRUE(vk::ReadCoverArt(Mp3WithPicture(dir, "b.mp3", "image/jpeg", kPng), &art));
  EXPECT_EQ(art.Extension, "png");
  EXPECT_FALSE(vk::ReadCoverArt(Mp3WithPicture(dir, "c.mp3", "image/png", std::string(64, 'z')), &art));
  EXPECT_TRUE(art.Bytes.empty());

  EXPECT_FALSE(vk::ReadCoverArt(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_notag_44k.mp3", &art));
  EXPECT_FALSE(vk::ReadCoverArt(dir.File("missing.flac"), &art));
  // A name with a colon is a file, not another protocol.
  EXPECT_TRUE(vk::ReadCoverArt(Mp3WithPicture(dir, "live: side a.mp3", "image/png", kPng), &art));
}

TEST(CoverArtTest, TheCoverIsWrittenOnceAndSharedByFilesWithTheSamePicture) {
  vktest::TempDir dir;
  const QString cache = QString::fromStdString(dir.File("cache/velkaris/covers"));
  const QString first = vk::CoverArtUrl(QString::fromStdString(Mp3WithPicture(dir, "a.mp3", "image/png", kPng)), cache);
  ASSERT_FALSE(first.isEmpty());
  const QString file = QUrl(first).toLocalFile();
  EXPECT_TRUE(file.startsWith(cache + QLatin1Char('/')));
  EXPECT_TRUE(file.endsWith(QStringLiteral(".png")));
  EXPECT_EQ(ReadAll(file.toStdString()), kPng);

  const auto written = std::filesystem::last_write_time(file.toStdString());
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  const QString second = vk::CoverArtUrl(QString::fromStdString(Mp3WithPicture(dir, "b.mp3", "image/png", kPng)), cache);
  EXPECT_EQ(second, first);
  EXPECT_EQ(std::filesystem::last_write_time(file.toStdString()), written);
  EXPECT_EQ(QDir(cache).entryList(QDir::Files).size(), 1);

  EXPECT_TRUE(vk::CoverArtUrl(QString::fromStdString(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_notag_44k.mp3"), cache).isEmpty());
  // A cache folder that cannot be made gives no URL, and no failure.
  std::ofstream(dir.File("blocked")) << "a file where the folder would go";
  EXPECT_TRUE(vk::CoverArtUrl(QString::fromStdString(Mp3WithPicture(dir, "d.mp3", "image/png", kPng)),
                              QString::fromStdString(dir.File("blocked/covers"))).isEmpty());
}

}  // namespace
