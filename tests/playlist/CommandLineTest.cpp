#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PlaylistFiles.h"
#include "playlist/CommandLine.h"

namespace vk {
namespace {

using Tokens = std::vector<std::string>;

TEST(CommandLineTest, TokensSplitAtBlanksOutsideQuotesAndLoseTheirQuotes) {
  EXPECT_EQ(TokenizeCommandLine("velkaris   a.mp3  \"My Music/b c.wav\" x\"y z\"w \"\""),
            (Tokens{"velkaris", "a.mp3", "My Music/b c.wav", "xy zw", ""}));
  EXPECT_EQ(TokenizeCommandLine("  "), Tokens{});
  EXPECT_EQ(TokenizeCommandLine("p\ta"), Tokens{"p\ta"});  // only the blank separates
  EXPECT_EQ(TokenizeCommandLine("p \"open quote"), (Tokens{"p", "open quote"}));
  const Tokens args{"velkaris", "/m/a b.mp3", "", "/m/日本語.wav"};
  EXPECT_EQ(TokenizeCommandLine(JoinCommandLine(args)), args);
}

TEST(CommandLineTest, ArgumentsAreLookedUpAndAWildcardAddsItsFirstMatchOnly) {
  vktest::TempDir dir;
  vktest::WritePcmWav(dir.File("b.mp3.wav"), 8000, 80);
  vktest::CopyTaggedMp3(dir.File("c.mp3"));
  vktest::CopyTaggedMp3(dir.File("B.MP3"));
  vktest::CopyTaggedMp3(dir.File(".hidden.mp3"));
  EXPECT_EQ(LookUpArgument(dir.File("*.mp3")), dir.File("B.MP3"));
  EXPECT_EQ(LookUpArgument(dir.File("c.mp?")), dir.File("c.mp3"));
  EXPECT_EQ(LookUpArgument(dir.File("*.ogg")), std::nullopt);
  EXPECT_EQ(LookUpArgument(""), std::nullopt);

  vktest::AddFixture f;
  AddCommandLineArgs(f.ctx, {dir.File("*.mp3"), dir.File("nothing.wav")});
  ASSERT_EQ(ItemCount(f.list), 1);
  EXPECT_EQ(f.list.Rows[0].Text[kColFullPath], dir.File("B.MP3"));
  EXPECT_STREQ(ChooseSummary(f.state).Text, "本ソフトで開くことのできないファイルがあります。");

  // A relative argument is stored absolute and lexically tidied, so the saved
  // list still finds it from any folder.
  const std::string cwd = std::filesystem::current_path().string();
  ASSERT_EQ(::chdir(dir.path().c_str()), 0);
  const auto found = LookUpArgument("./sub/../c.mp3");
  ASSERT_EQ(::chdir(cwd.c_str()), 0);
  EXPECT_EQ(found, dir.File("c.mp3"));
}

}  // namespace
}  // namespace vk
