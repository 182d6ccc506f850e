// The command-line conventions other programs rely on: help and version on
// standard output with status 0; an unknown command or option refused with the
// usage on standard error and status 2, before any file is touched.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/CliRun.h"
#include "support/TestFiles.h"

namespace {

using vktest::CliRun;
using vktest::RunCli;
using vktest::Stderr;

TEST(ConventionsCliTest, HelpAndVersionGoToStandardOutputWithStatusZero) {
  CliRun r = RunCli("--help", Stderr::kDropped);
  EXPECT_EQ(r.status, 0);
  for (const char* command : {"probe", "diag", "play", "export", "playlist", "keys", "render", "lyrics"}) {
    EXPECT_NE(r.text.find(std::string("velkaris-cli ") + command + " "), std::string::npos) << command;
  }
  EXPECT_EQ(RunCli("--help", Stderr::kOnly).text, "");

  r = RunCli("--version", Stderr::kDropped);
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.text.rfind("velkaris-cli ", 0), 0u) << r.text;

  // A command's own help, wherever it stands among that command's arguments;
  // a value that looks like an option is still the option's value.
  for (const char* args : {"probe --help", "render song.wav --pos 0 -h", "keys x --pos -5 --help"}) {
    r = RunCli(args, Stderr::kDropped);
    EXPECT_EQ(r.status, 0) << args;
    const std::string command = std::string(args).substr(0, std::string(args).find(' '));
    EXPECT_EQ(r.text.rfind("usage: velkaris-cli " + command + " ", 0), 0u) << args << r.text;
  }
}

TEST(ConventionsCliTest, UnknownCommandsAndOptionsGiveTheUsageOnStandardErrorAndStatusTwo) {
  vktest::TempDir dir;
  const std::string out = dir.File("out.wav");
  for (const std::string& args : {std::string(""), std::string("frobnicate"),
                                 std::string("--frob"), std::string("probe --frob x.wav"),
                                 "export x.wav -o " + out + " --speed 2",
                                 std::string("playlist --restore a.m3u --shuffle")}) {
    EXPECT_EQ(RunCli(args, Stderr::kOnly).status, 2) << args;
    EXPECT_EQ(RunCli(args, Stderr::kDropped).text, "") << args;  // nothing on standard output
    EXPECT_NE(RunCli(args, Stderr::kOnly).text.find("usage: velkaris-cli"), std::string::npos) << args;
  }
  // Refused before it ran: no output file appeared.
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
