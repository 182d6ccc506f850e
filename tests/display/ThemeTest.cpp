// Themes: the shipped file, sections by name, missing keys and files, and
// values outside a byte.
#include <gtest/gtest.h>

#include <string>

#include "display/KeyboardView.h"
#include "display/Theme.h"
#include "support/TestFiles.h"

namespace vk {
namespace {

const std::string kShipped = std::string(VK_SOURCE_DIR) + "/resources/THEMES.INI";

TEST(ThemeTest, ShippedThemesAreCompleteAndDistinct) {
  const std::vector<std::string> names = ListThemes(kShipped.c_str());
  ASSERT_GE(names.size(), 6u);
  std::vector<ThemeColours> themes;
  for (const std::string& n : names) {
    ThemeColours t;
    ASSERT_TRUE(LoadTheme(kShipped.c_str(), n.c_str(), &t)) << n;
    // Every theme glows, draws its spectrum and never uses pure black for
    // lyrics text or shadows (black is the transparent colour of rendered text).
    EXPECT_GT(t.KeyHLThkWht, 0) << n;
    EXPECT_FALSE(t.GrpLine.bgr() == t.GrpBackWht1.bgr()) << n;
    for (const ThemeColour* c : {&t.GrpLrcsBefFont, &t.GrpLrcsBefShdw, &t.GrpLrcsAftFont,
                                 &t.GrpLrcsAftShdw, &t.GrpLrcsStaFont, &t.GrpLrcsStaShdw}) {
      EXPECT_FALSE(c->bgr() == Bgr{}) << n;
    }
    themes.push_back(t);
  }
  // Each theme lights its keys in a colour of its own.
  for (std::size_t i = 0; i < themes.size(); ++i) {
    for (std::size_t j = i + 1; j < themes.size(); ++j) {
      EXPECT_FALSE(themes[i].KeyWhite.bgr() == themes[j].KeyWhite.bgr()) << names[i] << names[j];
    }
  }
}

TEST(ThemeTest, SectionsByExactNameMissingKeysAndFiles) {
  vktest::TempDir dir;
  const std::string path = dir.File("THEMES.INI");
  vktest::WriteFile(path,
                    "[Dark Two]\r\nKeyWhiteB=9\r\n"
                    "[Dark]\r\nKeyWhiteB=300\r\nKeyWhiteG=1\r\nKeyHLAttWht=-7\r\n"
                    "[Dark]\r\nKeyWhiteB=5\r\nKeyHLThkWht=3\r\n");
  std::string name;
  EXPECT_EQ(ThemeName(path.c_str(), 2, &name), kThemeFound);
  EXPECT_EQ(name, "Dark");
  EXPECT_EQ(ThemeName(path.c_str(), 3, &name), kThemeNoSection);
  EXPECT_EQ(ThemeName(dir.File("none.ini").c_str(), 0, &name), kThemeNoFile);
  EXPECT_EQ(ListThemes(path.c_str()).size(), 3u);  // the duplicate is listed too

  ThemeColours t;
  ASSERT_TRUE(LoadTheme(path.c_str(), "Dark", &t));  // the first of the two, not "Dark Two"
  EXPECT_EQ(t.KeyWhite.B, 300);
  EXPECT_EQ(t.KeyWhite.bgr().b, 44);  // only the low byte is drawn
  EXPECT_EQ(t.KeyHLAttWht, -7);      // no range limit
  EXPECT_EQ(t.KeyHLThkWht, 0);       // missing in the first section: no glow rings

  EXPECT_FALSE(LoadTheme(path.c_str(), "Light", &t));
  EXPECT_EQ(t.KeyWhite.B, 0);
  EXPECT_FALSE(LoadTheme(dir.File("none.ini").c_str(), "Dark", &t));
  EXPECT_EQ(t.TxtFont.R, 0);
}

TEST(ThemeTest, GraphTilesBlendFiveBandsWithBlackKeyStripes) {
  ThemeColours t;
  t.GrpBackWht1 = {200, 100, 0};
  t.GrpBackWht2 = {0, 100, 200};
  t.GrpBackBlk1 = {40, 40, 40};
  t.GrpBackBlk2 = {0, 0, 0};
  GraphTiles tiles;
  PaintGraphTiles(tiles, t);
  auto at = [](const PixelBuffer& b, int x, int y) {
    const std::uint8_t* p = PixelRow(b, y) + 3 * x;
    return Bgr{p[0], p[1], p[2]};
  };
  EXPECT_EQ(at(tiles.Octave, 0, 0), (Bgr{200, 100, 0}));
  EXPECT_EQ(at(tiles.Octave, 0, 39), (Bgr{150, 100, 50}));
  EXPECT_EQ(at(tiles.Octave, 0, 100), (Bgr{0, 100, 200}));
  EXPECT_EQ(at(tiles.Octave, 6, 0), (Bgr{40, 40, 40}));    // over C#
  EXPECT_EQ(at(tiles.Octave, 11, 0), (Bgr{200, 100, 0}));  // between C# and D#
  EXPECT_EQ(at(tiles.Margin, 23, 100), (Bgr{0, 0, 0}));
}

}  // namespace
}  // namespace vk
