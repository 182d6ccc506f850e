#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "common/Path.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value != nullptr) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ConfigDirTest, PortableInstallElseXdgConfigHomeElseHomeConfig) {
  vktest::TempDir dir;
  const std::string program = dir.path() + "/";
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/conf");
    EXPECT_EQ(ConfigDir(program), "/xdg/conf/velkaris/");
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/conf");  // not absolute: ignored
    ScopedEnv home("HOME", "/home/someone");
    EXPECT_EQ(ConfigDir(program), "/home/someone/.config/velkaris/");
  }
  vktest::WriteFile(dir.File("MAIN.INI"), std::string_view("[Window]\n"));
  ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg/conf");
  EXPECT_EQ(ConfigDir(program), program);
  EXPECT_EQ(ConfigDir(dir.path()), program);

  EXPECT_TRUE(MakeConfigDir(dir.File("a/b/velkaris/")));
  EXPECT_FALSE(ProgramDir().empty());
  EXPECT_EQ(ProgramDir().back(), '/');
}

// The shipped files: beside the program (build tree, portable install), else
// share/velkaris beside its bin/ (an installed package); neither: empty.
TEST(ConfigDirTest, DataFolderBesideTheProgramElseTheInstalledShareFolder) {
  vktest::TempDir dir;
  const std::string bin = dir.path() + "/usr/bin/";
  const std::string share = dir.path() + "/usr/share/velkaris/";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(share);
  EXPECT_EQ(FindDataDir(bin), "");
  vktest::WriteFile(share + "THEMES.INI", std::string_view("[x]\n"));
  EXPECT_EQ(FindDataDir(bin), bin + "../share/velkaris/");
  EXPECT_EQ(FindDataDir(dir.path() + "/usr/bin"), bin + "../share/velkaris/");  // no trailing slash
  vktest::WriteFile(bin + "THEMES.INI", std::string_view("[x]\n"));
  EXPECT_EQ(FindDataDir(bin), bin);
}

}  // namespace
}  // namespace vk
