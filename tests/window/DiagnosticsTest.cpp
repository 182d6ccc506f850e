// A user asks for the MP3 diagnostics of a file: the question names the file
// and both reports, the analysis runs under its progress dialog, and the
// closing message says which reports were written.
#include <filesystem>

#include "app/Mp3DiagnosticsCommand.h"
#include "window/WindowTestSupport.h"

namespace vktest {
namespace {

class DiagnosticsTest : public WindowTest {};

TEST_F(DiagnosticsTest, AnMp3FileGetsBothReports) {
  vk::MainWindow& w = Open();
  const std::string mp3 = dir_.File("tone.mp3");
  std::filesystem::copy_file(std::string(VK_TEST_DATA_DIR) + "/mp3/cbr128_js_44k.mp3", mp3);
  const std::string message = vk::RunMp3DiagnosticsDialog(w, mp3);
  EXPECT_NE(message.find("MP3OPEN.TXTを出力しました。"), std::string::npos);
  EXPECT_NE(message.find("MP3READ.TXTを出力しました。"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("MP3OPEN.TXT")));
  EXPECT_TRUE(std::filesystem::exists(dir_.File("MP3READ.TXT")));
  EXPECT_EQ(vk::DiagnosticsQuestion(mp3).rfind(mp3 + "\nを、これがMP3ファイル", 0), 0u);
}

TEST_F(DiagnosticsTest, APcmWaveFileGetsOnlyTheOpenReport) {
  vk::MainWindow& w = Open();
  const std::string wav = MakeWav(dir_, "pcm.wav", 0.5);
  const std::string message = vk::RunMp3DiagnosticsDialog(w, wav);
  EXPECT_NE(message.find("MP3OPEN.TXTを出力しました。"), std::string::npos);
  EXPECT_EQ(message.find("MP3READ.TXT"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("MP3READ.TXT")));
}

}  // namespace
}  // namespace vktest
