// Every refusal names its file and says why on standard error, and exits
// non-zero; a FIFO in place of a file is refused at once, never waited on.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "cli/CliRun.h"
#include "support/TestFiles.h"

namespace {

using vktest::CliRun;

// Only standard error; a command that hangs is cut off after 20 s (status 124).
CliRun Refused(const std::string& args) {
  return vktest::RunCli(args, vktest::Stderr::kOnly, "timeout 20");
}

TEST(RefusalCliTest, ReadersNameTheFileTheSystemMessageAndTheReadersCode) {
  vktest::TempDir dir;
  const std::string fifo = dir.File("song.mp3");
  vktest::MakeFifo(fifo);
  const std::string cut = dir.File("cut.mp3");
  vktest::WriteFile(cut, std::string_view("\xFF\xFB\x90\x00 far too short"));
  const std::string norif = dir.File("plain.wav");
  vktest::WriteFile(norif, std::string_view("RIFFxxxx"));
  const std::string kCannotOpen = ": ファイルをオープンできません。 (";

  for (const char* command : {"probe", "export", "keys", "render"}) {
    std::string tail;
    if (std::string(command) == "export") tail = " -o " + dir.File("out.wav");
    if (std::string(command) == "keys") tail = " --pos 0";
    if (std::string(command) == "render") tail = " --pos 0 -o " + dir.File("out.png");
    CliRun r = Refused(std::string(command) + " " + fifo + tail);
    EXPECT_EQ(r.status, 1) << command << r.text;
    EXPECT_EQ(r.text, "velkaris-cli " + std::string(command) + ": " + fifo + kCannotOpen +
                          "a FIFO, not a regular file)\n")
        << command;
    r = Refused(std::string(command) + " " + cut + tail);
    EXPECT_EQ(r.status, 1) << command;
    EXPECT_EQ(r.text, "velkaris-cli " + std::string(command) + ": " + cut + kCannotOpen +
                          "MP3 reader code 3: ファイルが途切れている。 - the file is cut off)\n")
        << command;
  }
  // A .wav tries both readers; both are named.
  const CliRun r = Refused("probe " + norif);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli probe: " + norif + kCannotOpen +
                        "WAV reader code 2: shorter than 8 bytes or no \"RIFF\"; "
                        "MP3 reader code 3: ファイルが途切れている。 - the file is cut off)\n");
  EXPECT_EQ(Refused("probe " + dir.File("missing.mp3")).text,
            "velkaris-cli probe: " + dir.File("missing.mp3") + kCannotOpen + "No such file or directory)\n");
}

TEST(RefusalCliTest, LyricsSayWhyNoLineCameOut) {
  vktest::TempDir dir;
  const std::string audio = dir.File("song.mp3");
  const std::string lrc = dir.File("song.lrc");
  CliRun r = Refused("lyrics " + audio);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli lyrics: " + audio +
                        ": no lyrics file beside it (.kra, .lrc or .txt of the same name) "
                        "(lyrics reader code 2)\n");

  vktest::MakeFifo(lrc);
  r = Refused("lyrics " + audio);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli lyrics: " + lrc +
                        ": the lyrics file cannot be read (a FIFO, not a regular file)\n");
  ::unlink(lrc.c_str());

  const std::string tags_but_no_time =
      ": no lyrics lines (lines holding \"[\": 2, but none starts a valid time tag [mm:ss], "
      "[mm:ss:xx] or [mm:ss.xx] (unterminated or malformed tags, or bytes that are not text))\n";
  vktest::WriteFile(lrc, std::string_view("[00:01\n[ar:someone]\n"));
  r = Refused("lyrics " + audio);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli lyrics: " + lrc + tags_but_no_time);

  vktest::WriteFile(lrc, std::string_view("just words\nmore words\n"));
  r = Refused("lyrics " + audio);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli lyrics: " + lrc +
                        ": no lyrics lines (none of its lines (2) has a time tag such as [01:23] "
                        "or [01:23.45])\n");

  vktest::WriteFile(lrc, std::string_view(""));
  EXPECT_EQ(Refused("lyrics " + audio).text,
            "velkaris-cli lyrics: " + lrc + ": no lyrics lines (the file holds no text)\n");

  ASSERT_EQ(::truncate(lrc.c_str(), 5 << 20), 0);
  r = Refused("lyrics " + audio);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli lyrics: " + lrc +
                        ": the lyrics file is larger than 4 MB and is not read (lyrics reader code 6)\n");
}

TEST(RefusalCliTest, APlaylistThatAddsNoRowSaysWhatTheWindowSays) {
  vktest::TempDir dir;
  vktest::WriteFile(dir.File("bad.mp3"), std::string_view("junk"));
  CliRun r = Refused("playlist " + dir.File("bad.mp3"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli playlist: no row was added: このファイルは本ソフトで開くことができません。\n");
  vktest::MakeFifo(dir.File("fifo.mp3"));
  r = Refused("playlist " + dir.File("bad.mp3") + " " + dir.File("fifo.mp3"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text,
            "velkaris-cli playlist: no row was added: 本ソフトで開くことのできるファイルが１つもありません。\n");
  vktest::TempDir texts;
  vktest::WriteFile(texts.File("notes.txt"), std::string_view("text"));
  r = Refused("playlist " + texts.path());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.text, "velkaris-cli playlist: no row was added: no file of a type the player "
                    "reads among the paths\n");
}

}  // namespace
