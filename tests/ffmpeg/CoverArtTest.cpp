// The picture inside an audio file, found by its bytes.
#include <gtest/gtest.h>

#include <string>

#include "audio/CoverArt.h"
#include "support/CoverFiles.h"

namespace {

using vktest::kCoverPng;
using vktest::Mp3WithPicture;

TEST(CoverArtTest, TheEmbeddedPictureIsFoundByItsBytesNotItsLabel) {
  vktest::TempDir dir;
  vk::CoverArt art;
  ASSERT_TRUE(vk::ReadCoverArt(Mp3WithPicture(dir, "a.mp3", "image/png", kCoverPng), &art));
  EXPECT_EQ(art.Extension, "png");
  EXPECT_EQ(std::string(art.Bytes.begin(), art.Bytes.end()), kCoverPng);

  // A label claiming JPEG over PNG bytes still gives a .png; bytes of no known
  // image give nothing rather than a file a listener cannot show.
  ASSERT_TRUE(vk::ReadCoverArt(Mp3WithPicture(dir, "b.mp3", "image/jpeg", kCoverPng), &art));
  EXPECT_EQ(art.Extension, "png");
  EXPECT_FALSE(vk::ReadCoverArt(Mp3WithPicture(dir, "c.mp3", "image/png", std::string(64, 'z')), &art));
  EXPECT_TRUE(art.Bytes.empty());

  EXPECT_FALSE(vk::ReadCoverArt(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_notag_44k.mp3", &art));
  EXPECT_FALSE(vk::ReadCoverArt(dir.File("missing.flac"), &art));
  // A name with a colon is a file, not another protocol.
  EXPECT_TRUE(vk::ReadCoverArt(Mp3WithPicture(dir, "live: side a.mp3", "image/png", kCoverPng), &art));
}

TEST(CoverArtTest, ImageFormatsAreToldByTheirFirstBytes) {
  const auto ext = [](const std::string& bytes) {
    return vk::CoverExtension(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  };
  EXPECT_EQ(ext(std::string("\xFF\xD8\xFF\xE0", 4) + "JFIF"), "jpg");
  EXPECT_EQ(ext(kCoverPng), "png");
  EXPECT_EQ(ext("GIF89a......"), "gif");
  EXPECT_EQ(ext(std::string("RIFF\x10\x00\x00\x00WEBPVP8 ", 16)), "webp");
  EXPECT_EQ(ext(std::string("RIFF\x10\x00\x00\x00WAVEfmt ", 16)), "");  // a RIFF that is sound, not a picture
  EXPECT_EQ(ext(std::string(3, '\xFF')), "");           // cut short
  EXPECT_EQ(vk::CoverExtension(nullptr, 10), "");
}

}  // namespace
