// Every Japanese text the window can show has a finished English entry in
// resources/velkaris_en.ts. The texts are found two ways: the command and
// control tables as the window builds its menus and controls from them, and
// every string literal holding non-ASCII characters in the folders whose texts
// reach the window, so a text added later is caught without touching this test.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/CommandTable.h"
#include "shell/ControlTable.h"

namespace {

const std::string kSource = VK_SOURCE_DIR;
const char* const kTsFile = "resources/velkaris_en.ts";

// Folders whose literals may be shown: the window (app/, ui/), its rules
// (shell/), the picture (display/), and the core parts whose messages the
// window shows (playlist/ summaries, engine/ error texts). audio/ and common/
// write reports and files that stay Japanese, and cli/ prints for programs.
const char* const kShownFolders[] = {"app", "ui", "shell", "display", "playlist", "engine"};

// Literals in those folders that are never shown as they stand.
struct NotShown {
  const char* file;
  const char* text;
  const char* why;
};
const NotShown kNotShown[] = {
    {"shell/StatusText.cpp", " → %lld:%02lld:%02lld", "an arrow between two times, the same in every language"},
    {"shell/SliderTexts.cpp", "［", "a bracket cut from a unit label, never shown alone"},
    {"shell/SliderTexts.cpp", "］", "a bracket cut from a unit label, never shown alone"},
    {"shell/SliderTexts.cpp", "％", "a full-width unit read from a label and shown as %"},
};

struct Literal {
  std::string file;  // relative to the source folder
  int line;
  std::string text;  // escapes decoded, adjacent literals joined
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

bool IsIdentChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

char Escape(char e) {
  switch (e) {
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case '0': return '\0';
    default: return e;  // \" \\ \'
  }
}

// The string literals of a C++ source, comments and character literals skipped;
// literals separated only by blanks are one text, as the compiler joins them.
std::vector<Literal> Literals(const std::string& file, const std::string& src) {
  std::vector<Literal> out;
  bool open = false;  // the last token was a literal
  int line = 1;
  std::size_t i = 0;
  const std::size_t n = src.size();
  auto literal = [&](int at, const std::string& text) {
    if (open) {
      out.back().text += text;
    } else {
      out.push_back({file, at, text});
    }
    open = true;
  };
  while (i < n) {
    const char c = src[i];
    if (src.compare(i, 2, "//") == 0) {
      i = src.find('\n', i);
      if (i == std::string::npos) i = n;
    } else if (src.compare(i, 2, "/*") == 0) {
      const std::size_t end = std::min(n, src.find("*/", i + 2));
      line += static_cast<int>(std::count(src.begin() + static_cast<long>(i), src.begin() + static_cast<long>(end), '\n'));
      i = end + 2;
    } else if (c == '\n') {
      ++line;
      ++i;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      ++i;
    } else if (c == 'R' && i + 1 < n && src[i + 1] == '"' && (i == 0 || !IsIdentChar(src[i - 1]) || src[i - 1] == '8')) {
      const std::size_t paren = src.find('(', i + 2);
      const std::string close = ")" + src.substr(i + 2, paren - i - 2) + "\"";
      const std::size_t end = src.find(close, paren);
      const std::string text = src.substr(paren + 1, end - paren - 1);
      literal(line, text);
      line += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
      i = end + close.size();
    } else if (c == '"') {
      const int at = line;
      std::string text;
      for (++i; i < n && src[i] != '"'; ++i) {
        if (src[i] == '\\' && i + 1 < n) {
          text += Escape(src[++i]);
        } else {
          text += src[i];
        }
      }
      ++i;
      literal(at, text);
    } else if (c == '\'' && (i == 0 || !IsIdentChar(src[i - 1]))) {
      for (++i; i < n && src[i] != '\''; ++i) {
        if (src[i] == '\\') ++i;
      }
      ++i;
      open = false;
    } else {
      ++i;
      open = false;
    }
  }
  return out;
}

bool NonAscii(const std::string& s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::vector<Literal> ShownLiterals() {
  std::vector<Literal> found;
  for (const char* folder : kShownFolders) {
    std::vector<std::filesystem::path> files;
    for (const auto& e : std::filesystem::directory_iterator(kSource + "/" + folder)) {
      const std::string ext = e.path().extension().string();
      if (ext == ".cpp" || ext == ".h") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
      const std::string rel = std::string(folder) + "/" + path.filename().string();
      for (Literal& l : Literals(rel, ReadAll(path.string()))) {
        if (!NonAscii(l.text)) continue;
        const bool listed = std::any_of(std::begin(kNotShown), std::end(kNotShown), [&](const NotShown& x) {
          return rel == x.file && l.text == x.text;
        });
        if (!listed) found.push_back(std::move(l));
      }
    }
  }
  return found;
}

std::string Unescape(std::string s) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1)) {
      s.replace(at, std::strlen(from), to);
    }
  }
  return s;
}

struct Entry {
  std::string translation;
  bool finished = false;
};

// The messages of the .ts file by their Japanese source.
std::map<std::string, Entry> ReadTs(const std::string& path) {
  const std::string xml = ReadAll(path);
  std::map<std::string, Entry> entries;
  const std::regex message(
      "<message[^>]*>\\s*(?:<location[^>]*/>\\s*)*<source>([^<]*)</source>\\s*"
      "(?:<(?:extra)?comment>[^<]*</(?:extra)?comment>\\s*)*<translation([^>]*?)(/>|>([^<]*)</translation>)");
  for (std::sregex_iterator it(xml.begin(), xml.end(), message), end; it != end; ++it) {
    const std::string attrs = (*it)[2];
    Entry e;
    e.translation = Unescape((*it)[4]);
    e.finished = !e.translation.empty() && attrs.find("type=") == std::string::npos;
    entries[Unescape((*it)[1])] = e;
  }
  return entries;
}

std::string XmlEscaped(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else out += c;
  }
  return out;
}

std::string HowToAdd(const std::string& text) {
  return "; add to " + std::string(kTsFile) + " (context Velkaris):\n    <message>\n        <source>" +
         XmlEscaped(text) +
         "</source>\n        <translation>ENGLISH</translation>\n    </message>\n"
         "  and show it through Tr() (ui/ShownText.h) where app/ or ui/ shows it (a core text, the "
         "picture's included, is handed over or translated on the window's side); a literal the window "
         "never shows goes into kNotShown of tests/shell/TranslationCompleteTest.cpp with the reason.\n";
}

class TranslationComplete : public ::testing::Test {
 protected:
  void SetUp() override { entries_ = ReadTs(kSource + "/" + kTsFile); }

  // Fails with what to add when `text` has no finished entry.
  void ExpectEntry(const std::string& text, const std::string& where) {
    const auto it = entries_.find(text);
    if (it == entries_.end()) {
      ADD_FAILURE() << where << ": \"" << text << "\" has no English entry" << HowToAdd(text);
    } else if (!it->second.finished) {
      ADD_FAILURE() << where << ": \"" << text << "\" has an unfinished English entry in " << kTsFile;
    }
  }

  std::map<std::string, Entry> entries_;
};

TEST_F(TranslationComplete, TheTranslationFileHoldsMessages) {
  // A broken file would make every other check here pass vacuously.
  EXPECT_GT(entries_.size(), 150u);
  EXPECT_EQ(entries_["ファイル(&F)"].translation, "&File");
}

TEST_F(TranslationComplete, EveryShownLiteralHasAFinishedEntry) {
  const std::vector<Literal> shown = ShownLiterals();
  EXPECT_GT(shown.size(), 150u);  // the scan itself still finds the menus
  for (const Literal& l : shown) ExpectEntry(l.text, l.file + ":" + std::to_string(l.line));
}

void ExpectMenu(std::span<const vk::MenuEntry> entries, const std::string& where,
                const std::function<void(const std::string&, const std::string&)>& expect) {
  for (const vk::MenuEntry& e : entries) {
    if (e.title == nullptr) continue;
    expect(e.title, where);
    ExpectMenu(e.children, where + " > " + e.title, expect);
  }
}

TEST_F(TranslationComplete, EveryTableTextTheWindowBuildsHasAnEntry) {
  const auto expect = [this](const std::string& text, const std::string& where) {
    if (NonAscii(text)) ExpectEntry(text, where);
  };
  for (const vk::CommandLabel& c : vk::CommandLabels()) expect(c.label, "command " + std::to_string(c.id));
  for (const vk::MenuDef* menu : {&vk::MainMenu(), &vk::PlaylistMenu(), &vk::SeekBarMenu(), &vk::BitmapMenu()}) {
    ExpectMenu(menu->entries, menu->name, expect);
  }
  for (int page = 0; page < vk::kEffectPageCount; ++page) {
    for (const vk::ParamDef& p : vk::PageParams(page)) {
      expect(p.label, "box " + std::to_string(p.box_id));
      expect(p.unit, "box " + std::to_string(p.box_id));
    }
  }
}

// What a translation must keep of its source: the places the program fills in
// (%1, %d, %s ...) and one keyboard mnemonic where the source has one.
std::multiset<std::string> Kept(const std::string& s) {
  static const std::regex kept("%[0-9]+|%[-0-9.]*l*[dsu]|&[^ &]");
  std::multiset<std::string> found;
  for (std::sregex_iterator it(s.begin(), s.end(), kept), end; it != end; ++it) {
    const std::string m = it->str();
    found.insert(m[0] == '&' ? "&" : m);
  }
  return found;
}

TEST_F(TranslationComplete, TranslationsKeepPlaceholdersAndMnemonics) {
  for (const auto& [source, entry] : entries_) {
    EXPECT_EQ(Kept(source), Kept(entry.translation)) << "\"" << source << "\" -> \"" << entry.translation << "\"";
  }
}

TEST_F(TranslationComplete, NoEntryOutlivesItsText) {
  // An entry whose Japanese text is gone from the sources is a text that was
  // changed without its translation: the window would show the new Japanese.
  std::set<std::string> texts;
  for (const Literal& l : ShownLiterals()) texts.insert(l.text);
  for (const auto& [source, entry] : entries_) {
    EXPECT_TRUE(texts.count(source)) << "\"" << source << "\" in " << kTsFile
                                     << " is no longer shown anywhere; remove it or update its source";
  }
}

}  // namespace
