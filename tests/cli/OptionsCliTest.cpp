// The options every file command shares (FILE, --set, --ini) and each
// command's own: a mistake is refused with status 2 and a message naming it.
#include <gtest/gtest.h>

#include <string>

#include "cli/CliRun.h"

namespace {

TEST(OptionsCliTest, EachCommandNamesWhatIsWrongWithItsOptions) {
  struct Case {
    const char* args;
    const char* message;
  };
  const Case cases[] = {
      {"play", "velkaris-cli play: no FILE given"},
      {"play a.wav b.wav", "only one FILE may be given (also got \"b.wav\")"},
      {"play a.wav --set", "--set needs a value"},
      {"play a.wav --bogus", "unknown option --bogus"},
      {"play a.wav -o x.wav", "unknown option -o"},
      {"play a.wav --audio speakers", "--audio takes sdl, null or wav:PATH, not \"speakers\""},
      {"export a.wav --audio null -o x.wav", "unknown option --audio"},
      {"export a.wav --ini", "--ini needs a value"},
      {"export a.wav", "export needs -o OUT.wav"},
      {"keys a.wav", "keys: give the position with --pos FRAMES or --at SECONDS"},
      {"keys a.wav --pos 1 --theme x", "unknown option --theme"},
      {"keys a.wav --pos -5", "--pos takes a frame count 0..2147483647, not \"-5\""},
      {"keys a.wav --at x", "--at takes seconds (0 or more), not \"x\""},
      {"keys --ini /no/such/main.ini a.wav --at 1", "cannot read /no/such/main.ini"},
      {"render a.wav --pos 0", "render: render needs -o OUT.png"},
      {"render a.wav --pos 0 -o", "-o needs a value"},
      {"render a.wav a.wav --pos 0", "only one FILE may be given"},
  };
  for (const Case& c : cases) {
    const vktest::CliRun run = vktest::RunCli(c.args);
    EXPECT_EQ(run.status, 2) << c.args;
    EXPECT_NE(run.text.find(c.message), std::string::npos) << c.args << "\n" << run.text;
  }
}

}  // namespace
