#include "display/Theme.h"

#include <string_view>

#include "common/FileHandle.h"
#include "common/Ini.h"

namespace vk {
namespace {

// The keys in the order they are read: a colour is three keys, name + "B", "G", "R".
struct ThemeKey {
  const char* name;
  ThemeColour ThemeColours::*colour;  // null for the plain integers
  int ThemeColours::*number;
};

constexpr ThemeKey C(const char* name, ThemeColour ThemeColours::*c) { return {name, c, nullptr}; }
constexpr ThemeKey I(const char* name, int ThemeColours::*n) { return {name, nullptr, n}; }

using T = ThemeColours;
constexpr ThemeKey kThemeKeys[] = {
    C("TimBack", &T::TimBack),         C("BarLft", &T::BarLft),
    C("BarRgt", &T::BarRgt),           C("BarBack", &T::BarBack),
    C("GrpBackWht1", &T::GrpBackWht1), C("GrpBackWht2", &T::GrpBackWht2),
    C("GrpBackBlk1", &T::GrpBackBlk1), C("GrpBackBlk2", &T::GrpBackBlk2),
    C("GrpThresDw", &T::GrpThresDw),   C("GrpThresUp", &T::GrpThresUp),
    C("GrpLine", &T::GrpLine),         C("GrpLvlTop", &T::GrpLvlTop),
    C("GrpLvlBtm", &T::GrpLvlBtm),     C("GrpLvlSrcTop", &T::GrpLvlSrcTop),
    C("GrpLvlSrcBtm", &T::GrpLvlSrcBtm), C("GrpLvlOutTop", &T::GrpLvlOutTop),
    C("GrpLvlOutBtm", &T::GrpLvlOutBtm), C("GrpLrcsBefFont", &T::GrpLrcsBefFont),
    C("GrpLrcsBefShdw", &T::GrpLrcsBefShdw), C("GrpLrcsAftFont", &T::GrpLrcsAftFont),
    C("GrpLrcsAftShdw", &T::GrpLrcsAftShdw), C("GrpLrcsStaFont", &T::GrpLrcsStaFont),
    C("GrpLrcsStaShdw", &T::GrpLrcsStaShdw), C("KeyWhite", &T::KeyWhite),
    C("KeyBlkMin1", &T::KeyBlkMin1),   C("KeyBlkMin2", &T::KeyBlkMin2),
    C("KeyBlkMax1", &T::KeyBlkMax1),   C("KeyBlkMax2", &T::KeyBlkMax2),
    I("KeyHLThkWht", &T::KeyHLThkWht), I("KeyHLThkBlk", &T::KeyHLThkBlk),
    I("KeyHLAttWht", &T::KeyHLAttWht), I("KeyHLAttBlk", &T::KeyHLAttBlk),
    C("KeyHLWhtI", &T::KeyHLWhtI),     C("KeyHLWhtO", &T::KeyHLWhtO),
    C("KeyHLBlkI", &T::KeyHLBlkI),     C("KeyHLBlkO", &T::KeyHLBlkO),
    C("TxtBkTop", &T::TxtBkTop),       C("TxtBkBtm", &T::TxtBkBtm),
    C("TxtFont", &T::TxtFont),
};

int ReadThemeInt(std::FILE* f, long offset, const char* section, const std::string& key) {
  int v = 0;
  // min > max: values are taken without any range limit.
  IniReadInt(f, offset, section, key.c_str(), 0, 1, 0, &v);
  return v;
}

}  // namespace

int ThemeName(const char* themes_path, int n, std::string* name) {
  const int code = IniSectionName(themes_path, n, name);
  if (code == kIniFound) return kThemeFound;
  return code == kIniNoFile ? kThemeNoFile : kThemeNoSection;
}

std::vector<std::string> ListThemes(const char* themes_path) {
  std::vector<std::string> names;
  std::string name;
  for (int n = 0; ThemeName(themes_path, n, &name) == kThemeFound; ++n) names.push_back(name);
  return names;
}

bool LoadTheme(const char* themes_path, const char* name, ThemeColours* theme) {
  *theme = ThemeColours();
  FileHandle f = OpenForReading(themes_path);
  if (!f) return false;
  long offset = 0;
  if (IniFindSection(f.get(), name, &offset) != kIniFound) return false;
  std::string key;
  for (const ThemeKey& k : kThemeKeys) {
    if (k.number != nullptr) {
      theme->*k.number = ReadThemeInt(f.get(), offset, name, k.name);
      continue;
    }
    ThemeColour& c = theme->*k.colour;
    key = k.name;
    c.B = ReadThemeInt(f.get(), offset, name, key + "B");
    c.G = ReadThemeInt(f.get(), offset, name, key + "G");
    c.R = ReadThemeInt(f.get(), offset, name, key + "R");
  }
  return true;
}

ThemeColour BlendColour(const ThemeColour& ca, int a, const ThemeColour& cb, int b, int d) {
  return {(a * ca.B + b * cb.B) / d, (a * ca.G + b * cb.G) / d, (a * ca.R + b * cb.R) / d};
}

bool ThemeIsLight(const ThemeColours& t) {
  const Bgr c = t.GrpBackWht1.bgr();
  return c.b + c.g + c.r > 3 * 160;
}

}  // namespace vk
