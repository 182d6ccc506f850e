// Draws the five bitmaps of the keyboard picture (digits and status glyphs,
// the two side panels, the dB and Hz scale labels) as 24-bit bottom-up BMP
// files named after their resources. Pure blue (255, 0, 0 as blue, green, red)
// is the transparent colour. Run once; the results are committed:
//   vk_make_bitmaps resources/
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Colour {
  std::uint8_t b, g, r;
};
constexpr Colour kBlue{255, 0, 0};
constexpr Colour kShadow{16, 14, 12};
constexpr Colour kDigit{245, 240, 232};     // warm white, light on any status colour
constexpr Colour kLabel{228, 222, 214};     // scale labels
constexpr Colour kOutline{24, 20, 16};

struct Canvas {
  int w, h;
  std::vector<Colour> px;
  Canvas(int width, int height) : w(width), h(height), px(static_cast<size_t>(width * height), kBlue) {}
  void Set(int x, int y, Colour c) {
    if (x >= 0 && y >= 0 && x < w && y < h) px[static_cast<size_t>(y * w + x)] = c;
  }
  Colour Get(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
};

// A set of pixels to be stamped with a body colour and a shadow or outline.
struct Mask {
  int w, h;
  std::vector<std::uint8_t> on;
  Mask(int width, int height) : w(width), h(height), on(static_cast<size_t>(width * height), 0) {}
  void Set(int x, int y) {
    if (x >= 0 && y >= 0 && x < w && y < h) on[static_cast<size_t>(y * w + x)] = 1;
  }
  bool At(int x, int y) const {
    return x >= 0 && y >= 0 && x < w && y < h && on[static_cast<size_t>(y * w + x)] != 0;
  }
  void Rect(int x0, int y0, int x1, int y1) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) Set(x, y);
  }
};

// Body at (ox, oy) with a drop shadow one pixel down and right.
void StampShadow(Canvas& c, const Mask& m, int ox, int oy, Colour body) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.At(x, y)) c.Set(ox + x + 1, oy + y + 1, kShadow);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.At(x, y)) c.Set(ox + x, oy + y, body);
}

// Body with a one-pixel dark outline all round, legible over light and dark graphs.
void StampOutline(Canvas& c, const Mask& m, int ox, int oy, Colour body) {
  for (int y = -1; y <= m.h; ++y)
    for (int x = -1; x <= m.w; ++x) {
      if (m.At(x, y)) continue;
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) near = near || m.At(x + dx, y + dy);
      if (near) c.Set(ox + x, oy + y, kOutline);
    }
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x)
      if (m.At(x, y)) c.Set(ox + x, oy + y, body);
}

// ---- Seven-segment digits -------------------------------------------------
// Segments a..g: top, top right, bottom right, bottom, bottom left, top left, middle.
constexpr std::uint8_t kSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// A digit in a box w x h at (x0, y0) with strokes t pixels thick; segments
// stop one pixel short of the corners, so the joints show small notches, as on
// a display.
void SevenSegment(Mask& m, int x0, int y0, int w, int h, int t, int digit) {
  const std::uint8_t s = kSegments[digit];
  const int mid = y0 + (h - t) / 2;
  auto horizontal = [&](int y) {
    for (int r = 0; r < t; ++r) {
      for (int x = x0 + 1; x <= x0 + w - 2; ++x) m.Set(x, y + r);
    }
  };
  auto vertical = [&](int x, int ya, int yb) {
    for (int cidx = 0; cidx < t; ++cidx) {
      for (int y = ya + 1; y <= yb - 1; ++y) m.Set(x + cidx, y);
    }
  };
  if (s & 0x01) horizontal(y0);
  if (s & 0x40) horizontal(mid);
  if (s & 0x08) horizontal(y0 + h - t);
  if (s & 0x20) vertical(x0, y0, mid + t - 1);
  if (s & 0x02) vertical(x0 + w - t, y0, mid + t - 1);
  if (s & 0x10) vertical(x0, mid, y0 + h - 1);
  if (s & 0x04) vertical(x0 + w - t, mid, y0 + h - 1);
}

// ---- Pixel fonts ----------------------------------------------------------
struct Glyph {
  char ch;
  const char* rows[7];
};

// 3 x 5 for the scale labels.
constexpr Glyph kTiny[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}}, {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"###", "..#", "###", "#..", "###"}}, {'3', {"###", "..#", ".##", "..#", "###"}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}}, {'5', {"###", "#..", "###", "..#", "###"}},
    {'6', {"###", "#..", "###", "#.#", "###"}}, {'7', {"###", "..#", ".#.", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}}, {'9', {"###", "#.#", "###", "..#", "###"}},
    {'-', {"...", "...", "###", "...", "..."}}, {'.', {".", ".", ".", ".", "#"}},
    {'d', {"..#", "..#", "###", "#.#", "###"}}, {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'H', {"#.#", "#.#", "###", "#.#", "#.#"}}, {'z', {"...", "###", ".#.", "#..", "###"}},
};

// 7 x 10 bold digits for the speed in percent.
constexpr Glyph kBold[] = {
    {'0', {".#####.", "##...##", "##...##", "##...##", "##...##", "##...##", ".#####."}},
    {'1', {"...##..", "..###..", "...##..", "...##..", "...##..", "...##..", "..####."}},
    {'2', {".#####.", "##...##", ".....##", "...###.", ".###...", "##.....", "#######"}},
    {'3', {".#####.", "##...##", ".....##", "..####.", ".....##", "##...##", ".#####."}},
    {'4', {"....##.", "...###.", "..#.##.", ".#..##.", "#######", "....##.", "....##."}},
    {'5', {"#######", "##.....", "######.", ".....##", ".....##", "##...##", ".#####."}},
    {'6', {"..####.", ".##....", "##.....", "######.", "##...##", "##...##", ".#####."}},
    {'7', {"#######", ".....##", "....##.", "...##..", "..##...", "..##...", "..##..."}},
    {'8', {".#####.", "##...##", "##...##", ".#####.", "##...##", "##...##", ".#####."}},
    {'9', {".#####.", "##...##", "##...##", ".######", ".....##", "....##.", ".####.."}},
};

// 5 x 7 for the panel and channel labels.
constexpr Glyph kSmall[] = {
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'N', {"#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
    {' ', {"..", "..", "..", "..", "..", "..", ".."}},
};

template <size_t N>
const Glyph* Find(const Glyph (&font)[N], char ch) {
  for (const Glyph& g : font)
    if (g.ch == ch) return &g;
  return nullptr;
}

template <size_t N>
int TextWidth(const Glyph (&font)[N], const std::string& text) {
  int w = 0;
  for (char ch : text) {
    const Glyph* g = Find(font, ch);
    if (g != nullptr) w += static_cast<int>(std::strlen(g->rows[0])) + 1;
  }
  return w > 0 ? w - 1 : 0;
}

template <size_t N>
void Text(Mask& m, const Glyph (&font)[N], int rows, int x, int y, const std::string& text) {
  for (char ch : text) {
    const Glyph* g = Find(font, ch);
    if (g == nullptr) continue;
    const int gw = static_cast<int>(std::strlen(g->rows[0]));
    for (int r = 0; r < rows; ++r)
      for (int cidx = 0; cidx < gw; ++cidx)
        if (g->rows[r][cidx] == '#') m.Set(x + cidx, y + r);
    x += gw + 1;
  }
}

// ---- Vk_BMP_NUM ------------------------------------------------------------
void DrawStatusGlyph(Canvas& c, int x, int kind) {
  // stopped, paused, playing, faster, slower: a colour each so the state reads at a glance.
  static constexpr Colour kColours[] = {
      {200, 196, 230}, {96, 214, 250}, {120, 232, 140}, {80, 170, 255}, {250, 200, 110}};
  Mask m(12, 18);
  const int top = 4, bottom = 14;  // 11 rows centred on the digits' middle
  switch (kind) {
    case 0:  // stopped: a square
      m.Rect(1, top + 1, 9, bottom - 1);
      break;
    case 1:  // paused: two bars
      m.Rect(1, top, 3, bottom);
      m.Rect(7, top, 9, bottom);
      break;
    case 2:  // playing: a triangle pointing right
      for (int y = top; y <= bottom; ++y) {
        const int half = (bottom - top) / 2;
        const int d = std::abs(y - (top + half));
        m.Rect(1, y, 1 + (half - d) * 9 / half, y);
      }
      break;
    case 3:  // faster: two narrow triangles
    case 4:  // slower: one narrow triangle behind a bar
      for (int y = top; y <= bottom; ++y) {
        const int half = (bottom - top) / 2;
        const int d = std::abs(y - (top + half));
        const int len = (half - d) * 4 / half;
        if (kind == 3) {
          m.Rect(0, y, len, y);
          m.Rect(5, y, 5 + len, y);
        } else {
          m.Rect(5, y, 5 + len, y);
        }
      }
      if (kind == 4) m.Rect(1, top, 2, bottom);
      break;
  }
  StampShadow(c, m, x, 0, kColours[kind]);
}

Canvas DrawNum() {
  Canvas c(700, 18);
  // Colon at x 13, 5 wide: two dots level with the digits' halves.
  {
    Mask m(5, 18);
    m.Rect(1, 5, 2, 6);
    m.Rect(1, 11, 2, 12);
    StampShadow(c, m, 13, 0, kDigit);
  }
  // Big digits 13 x 18 at 18 + 13 d.
  for (int d = 0; d < 10; ++d) {
    Mask m(13, 18);
    SevenSegment(m, 1, 1, 10, 15, 2, d);
    StampShadow(c, m, 18 + 13 * d, 0, kDigit);
  }
  // Slash at 148, 13 wide.
  {
    Mask m(13, 18);
    for (int y = 1; y <= 15; ++y) {
      const int x = 9 - (y - 1) * 7 / 14;
      m.Rect(x, y, x + 1, y);
    }
    StampShadow(c, m, 148, 0, kDigit);
  }
  for (int k = 0; k < 5; ++k) DrawStatusGlyph(c, 161 + 12 * k, k);
  // Small digits 11 x 12 from row 6 at 221 + 11 d (rows 6..17 of the strip).
  for (int d = 0; d < 10; ++d) {
    Mask m(11, 12);
    const char text[2] = {static_cast<char>('0' + d), '\0'};
    // Seven font rows drawn with the middle row doubled and the outer rows
    // kept, so the digits stand 10 pixels tall like the percent sign.
    Mask small(7, 7);
    Text(small, kBold, 7, 0, 0, text);
    const int src_row[10] = {0, 1, 2, 2, 3, 3, 4, 4, 5, 6};
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 7; ++x)
        if (small.At(x, src_row[y])) m.Set(2 + x, 1 + y);
    StampShadow(c, m, 221 + 11 * d, 6, kDigit);
  }
  // Percent sign 17 x 12 at 331, from row 6.
  {
    Mask m(17, 12);
    m.Rect(2, 1, 5, 1);
    m.Rect(2, 4, 5, 4);
    m.Rect(2, 2, 2, 3);
    m.Rect(5, 2, 5, 3);
    m.Rect(9, 7, 12, 7);
    m.Rect(9, 10, 12, 10);
    m.Rect(9, 8, 9, 9);
    m.Rect(12, 8, 12, 9);
    for (int y = 1; y <= 10; ++y) {
      const int x = 12 - (y - 1) * 10 / 9;
      m.Set(x, y);
    }
    StampShadow(c, m, 331, 6, kDigit);
  }
  // Channel-mode labels 67 x 12 from row 6: a rounded frame with the mode inside.
  static const char* kModes[] = {"L / R", "L + R", "L ONLY", "R ONLY", "L - R"};
  for (int k = 0; k < 5; ++k) {
    Mask m(67, 12);
    for (int x = 2; x <= 63; ++x) {
      m.Set(x, 0);
      m.Set(x, 10);
    }
    for (int y = 2; y <= 8; ++y) {
      m.Set(0, y);
      m.Set(65, y);
    }
    m.Set(1, 1);
    m.Set(64, 1);
    m.Set(1, 9);
    m.Set(64, 9);
    const int tw = TextWidth(kSmall, kModes[k]);
    Text(m, kSmall, 7, (66 - tw) / 2, 2, kModes[k]);
    StampShadow(c, m, 348 + 67 * k, 6, kDigit);
  }
  return c;
}

// ---- Side panels ------------------------------------------------------------
// The ends of the keyboard: a dark lacquered block labelling the two meters
// above it ("L" over columns 3..10, "R" over 13..20) and whose meters they are.
Canvas DrawPanel(const std::string& role) {
  Canvas c(24, 56);
  for (int y = 0; y < 56; ++y)
    for (int x = 0; x < 24; ++x) {
      const int v = 34 - y / 4 + (x == 0 || x == 23 ? -10 : 0);
      const auto g = static_cast<std::uint8_t>(v < 8 ? 8 : v);
      c.Set(x, y, {static_cast<std::uint8_t>(g + 4), g, g});
    }
  for (int x = 0; x < 24; ++x) c.Set(x, 0, {96, 92, 90});  // highlight on the top edge
  const Colour label{210, 206, 200};
  Mask lr(24, 10);
  Text(lr, kSmall, 7, 4, 1, "L");
  Text(lr, kSmall, 7, 14, 1, "R");
  StampShadow(c, lr, 0, 4, label);
  // Marks under each meter's columns.
  for (int x = 3; x <= 10; ++x) c.Set(x, 2, {150, 150, 150});
  for (int x = 13; x <= 20; ++x) c.Set(x, 2, {150, 150, 150});
  Mask name(24, 10);
  Text(name, kSmall, 7, (24 - TextWidth(kSmall, role)) / 2, 1, role);
  StampShadow(c, name, 0, 24, {120, 200, 240});
  return c;
}

// ---- Scale labels -----------------------------------------------------------
// Labels 8 rows high, one every 10 rows from row 1: 5-row glyphs with an outline.
void Label(Canvas& c, int band, const std::string& text, bool right_aligned) {
  const int tw = TextWidth(kTiny, text);
  Mask m(tw, 5);
  Text(m, kTiny, 5, 0, 0, text);
  const int x = right_aligned ? c.w - 1 - tw : 1;
  StampOutline(c, m, x, 1 + 10 * band + 1, kLabel);
}

Canvas DrawGaugeDb() {
  Canvas c(20, 60);
  Label(c, 0, "dB", false);
  Label(c, 1, "dB", true);
  Label(c, 2, "-20", false);
  Label(c, 3, "-40", false);
  Label(c, 4, "-60", false);
  Label(c, 5, "-80", false);
  return c;
}

Canvas DrawGaugeHz() {
  Canvas c(32, 130);
  const char* labels[] = {"Hz",  "13.75", "27.5", "55",   "110",  "220",  "440",
                          "880", "1760",  "3520", "7040", "14080", "28160"};
  for (int i = 0; i < 13; ++i) Label(c, i, labels[i], true);
  return c;
}

// ---- BMP --------------------------------------------------------------------
void Le16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Le32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

bool WriteBmp(const std::string& path, const Canvas& c) {
  const int stride = (3 * c.w + 3) & ~3;
  const std::uint32_t pixels = static_cast<std::uint32_t>(stride * c.h);
  std::vector<std::uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Le32(out, 54 + pixels);
  Le32(out, 0);
  Le32(out, 54);
  Le32(out, 40);
  Le32(out, static_cast<std::uint32_t>(c.w));
  Le32(out, static_cast<std::uint32_t>(c.h));
  Le16(out, 1);
  Le16(out, 24);
  for (int i = 0; i < 6; ++i) Le32(out, 0);
  for (int y = c.h - 1; y >= 0; --y) {  // bottom-up
    for (int x = 0; x < c.w; ++x) {
      const Colour p = c.Get(x, y);
      out.push_back(p.b);
      out.push_back(p.g);
      out.push_back(p.r);
    }
    for (int k = 3 * c.w; k < stride; ++k) out.push_back(0);
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? std::string(argv[1]) + "/" : "resources/";
  const bool ok = WriteBmp(dir + "Vk_BMP_NUM.bmp", DrawNum()) &&
                  WriteBmp(dir + "Vk_BMP_KEYSRC.bmp", DrawPanel("SRC")) &&
                  WriteBmp(dir + "Vk_BMP_KEYOUT.bmp", DrawPanel("OUT")) &&
                  WriteBmp(dir + "Vk_BMP_GAUGEDB.bmp", DrawGaugeDb()) &&
                  WriteBmp(dir + "Vk_BMP_GAUGEHZ.bmp", DrawGaugeHz());
  if (!ok) std::fprintf(stderr, "vk_make_bitmaps: cannot write into %s\n", dir.c_str());
  return ok ? 0 : 1;
}
