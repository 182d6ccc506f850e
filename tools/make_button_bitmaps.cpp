// Draws every owner-drawn button bitmap of the main window and the splitter
// cursor into one folder, as PNG files named after their resources
// ("Vk_BMP_28X28_UP_STOP.png", "Vk_CUR_RB_HORZ.png"), and the Qt resource list
// bitmaps.qrc that puts them under ":/bitmaps/". All of them come from the same
// few drawing helpers, so the set can be restyled together.
//
//   vk_make_button_bitmaps OUTDIR      (the repository keeps them in resources/bitmaps)
//
// Style: dark graphite caps with rounded corners on a transparent ground, light
// glyphs, an amber lamp for switches that are on. A pressed cap is darker,
// lit from below, and its glyph sits one pixel lower.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const QColor kGlyph(0xdd, 0xe2, 0xe8);
const QColor kGlyphDim(0x9a, 0xa1, 0xab);
const QColor kGlyphOff(0x5d, 0x64, 0x6e);
const QColor kAmber(0xff, 0xb3, 0x3c);
const QColor kLampOff(0x3a, 0x3f, 0x47);
const QColor kEdge(0x10, 0x12, 0x16);

enum class Face { Up, Down, Flat };

struct Cap {
  Face face = Face::Up;
  bool accent = false;  // glyph drawn in amber (a selection that is current)
};

// The cap: body, edge, highlight. Returns the glyph offset (pressed: 1 px lower).
int DrawCap(QPainter& p, QRectF r, Face face, qreal radius = 3.0) {
  QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
  QLinearGradient g(body.topLeft(), body.bottomLeft());
  switch (face) {
    case Face::Up:
      g.setColorAt(0, QColor(0x4a, 0x50, 0x59));
      g.setColorAt(0.5, QColor(0x33, 0x38, 0x3f));
      g.setColorAt(1, QColor(0x26, 0x2a, 0x30));
      break;
    case Face::Down:
      g.setColorAt(0, QColor(0x17, 0x19, 0x1d));
      g.setColorAt(1, QColor(0x2a, 0x2e, 0x34));
      break;
    case Face::Flat:
      g.setColorAt(0, QColor(0x30, 0x34, 0x3a));
      g.setColorAt(1, QColor(0x2a, 0x2e, 0x33));
      break;
  }
  p.setPen(QPen(kEdge, 1));
  p.setBrush(g);
  p.drawRoundedRect(body, radius, radius);
  if (face == Face::Up) {
    p.setPen(QPen(QColor(255, 255, 255, 46), 1));
    p.drawLine(QPointF(body.left() + radius, body.top() + 1),
               QPointF(body.right() - radius, body.top() + 1));
  } else if (face == Face::Down) {
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.drawLine(QPointF(body.left() + radius, body.top() + 1),
               QPointF(body.right() - radius, body.top() + 1));
  }
  return face == Face::Down ? 1 : 0;
}

QColor GlyphColor(const Cap& c) {
  if (c.face == Face::Flat) return kGlyphOff;
  if (c.accent) return kAmber;
  return c.face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
}

QFont LabelFont(qreal px, bool bold = true) {
  QFont f("DejaVu Sans Condensed");
  f.setPixelSize(static_cast<int>(px));
  f.setBold(bold);
  f.setStretch(QFont::SemiCondensed);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

void Text(QPainter& p, QRectF r, const QString& s, QColor c, qreal px,
          int flags = Qt::AlignCenter) {
  p.setFont(LabelFont(px));
  p.setPen(c);
  p.drawText(r, flags, s);
}

// A round lamp; lit lamps carry a soft halo.
void Lamp(QPainter& p, QPointF centre, bool lit) {
  p.setPen(Qt::NoPen);
  if (lit) {
    QRadialGradient halo(centre, 5);
    halo.setColorAt(0, QColor(255, 179, 60, 150));
    halo.setColorAt(1, QColor(255, 179, 60, 0));
    p.setBrush(halo);
    p.drawEllipse(centre, 5, 5);
    p.setBrush(kAmber);
  } else {
    p.setBrush(kLampOff);
  }
  p.drawEllipse(centre, 2.2, 2.2);
  if (!lit) {
    p.setPen(QPen(QColor(0, 0, 0, 120), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 2.2, 2.2);
  }
}

void Polygon(QPainter& p, std::initializer_list<QPointF> pts, QColor c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(std::vector<QPointF>(pts).data(), static_cast<int>(pts.size()));
}

// A repeat loop: a rounded track with an arrow head on its top run.
void LoopGlyph(QPainter& p, QRectF r, QColor c) {
  p.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  QPainterPath path;
  path.moveTo(r.left() + r.width() * 0.55, r.top());
  path.lineTo(r.left() + 2.5, r.top());
  path.arcTo(QRectF(r.left(), r.top(), 5, r.height()), 90, 180);
  path.lineTo(r.right() - 2.5, r.bottom());
  path.arcTo(QRectF(r.right() - 5, r.top(), 5, r.height()), -90, 180);
  path.lineTo(r.right() - 4, r.top());
  p.drawPath(path);
  const qreal x = r.left() + r.width() * 0.55, y = r.top();
  Polygon(p, {{x + 2.8, y}, {x - 0.2, y - 2.6}, {x - 0.2, y + 2.6}}, c);
}

// A straight arrow from `from` to `to` with a filled head.
void Arrow(QPainter& p, QPointF from, QPointF to, QColor c, qreal head = 3.6) {
  QLineF line(from, to);
  QLineF unit = line.unitVector();
  const QPointF d(unit.dx(), unit.dy()), n(-d.y(), d.x());
  p.setPen(QPen(c, 1.5, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(from, to - d * head * 0.8);
  Polygon(p, {to, to - d * head * 1.3 + n * head, to - d * head * 1.3 - n * head}, c);
}

// A small triangle pointing up (dir -1) or down (dir 1).
void Chevron(QPainter& p, QPointF centre, int dir, QColor c, qreal s = 3.2) {
  Polygon(p,
          {{centre.x() - s, centre.y() - dir * s * 0.55},
           {centre.x() + s, centre.y() - dir * s * 0.55},
           {centre.x(), centre.y() + dir * s * 0.75}},
          c);
}

void Magnifier(QPainter& p, QPointF centre, QColor c) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(c, 1.5));
  p.drawEllipse(centre, 3.6, 3.6);
  p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(centre + QPointF(2.8, 2.8), centre + QPointF(5.6, 5.6));
}

// ---- the buttons ----------------------------------------------------------

struct Bitmap {
  std::string name;
  int w, h;
  std::function<void(QPainter&, QRectF)> draw;
};

std::vector<Bitmap> gBitmaps;

void Add(std::string name, int w, int h, std::function<void(QPainter&, QRectF)> draw) {
  gBitmaps.push_back({std::move(name), w, h, std::move(draw)});
}

Face FaceOf(const std::string& state) { return state == "UP" ? Face::Up : Face::Down; }

// A switch cap: lamp on the left, label beside it.
void SwitchCap(QPainter& p, QRectF r, Face face, bool lit, const QString& label, qreal px,
               std::function<void(QPainter&, QRectF, QColor)> glyph = {}) {
  const int dy = DrawCap(p, r, face);
  Lamp(p, QPointF(r.left() + 7.5, r.center().y() + dy), lit);
  QRectF rest(r.left() + 12, r.top() + dy, r.width() - 14, r.height());
  const QColor c = lit ? kGlyph : kGlyphDim;
  if (glyph) {
    glyph(p, rest, c);
  } else {
    Text(p, rest, label, c, px);
  }
}

void AddWindowButtons() {
  for (std::string state : {"UP", "DW"}) {
    const Face face = FaceOf(state);
    // TOON: top-most is off, the button switches it on; TOOFF: it is on.
    for (auto [suffix, lit] : {std::pair{"TOON", false}, std::pair{"TOOFF", true}}) {
      Add("Vk_BMP_48X20_TOPMOST_" + state + "_" + suffix, 48, 20, [=](QPainter& p, QRectF r) {
        SwitchCap(p, r, face, lit, "TOP", 9);
      });
    }
    // The arrow tells where the window goes: up-left/up-right shrink towards the
    // picture's side, down-right/down-left grow back away from it.
    struct Dir {
      const char* tag;
      int dx, dy;
    };
    for (Dir d : {Dir{"UPLF", -1, -1}, Dir{"UPRG", 1, -1}, Dir{"DWRG", 1, 1}, Dir{"DWLF", -1, 1}}) {
      Add("Vk_BMP_48X20_MINIMODE_" + state + "_" + d.tag, 48, 20, [=](QPainter& p, QRectF r) {
        const int off = DrawCap(p, r, face);
        const QColor c = face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
        const qreal ax = d.dx < 0 ? r.left() + 10 : r.right() - 10;
        const QPointF mid(ax, r.center().y() + off);
        Arrow(p, mid - QPointF(d.dx * 4.0, d.dy * 4.0), mid + QPointF(d.dx * 4.0, d.dy * 4.0), c,
              2.6);
        QRectF text = d.dx < 0 ? QRectF(r.left() + 17, r.top() + off, r.width() - 20, r.height())
                               : QRectF(r.left() + 3, r.top() + off, r.width() - 20, r.height());
        Text(p, text, "MINI", c, 9);
      });
    }
    for (auto [suffix, lit] : {std::pair{"ON", true}, std::pair{"OFF", false}}) {
      Add("Vk_BMP_48X20_REPEATONE_" + state + "_" + suffix, 48, 20, [=](QPainter& p, QRectF r) {
        SwitchCap(p, r, face, lit, {}, 9, [](QPainter& p, QRectF rest, QColor c) {
          LoopGlyph(p, QRectF(rest.left() + 4, rest.center().y() - 3.5, 15, 7), c);
          Text(p, QRectF(rest.left() + 21, rest.top(), 12, rest.height()), "1", c, 10);
        });
      });
      Add("Vk_BMP_48X20_REPEATALL_" + state + "_" + suffix, 48, 20, [=](QPainter& p, QRectF r) {
        SwitchCap(p, r, face, lit, {}, 9, [](QPainter& p, QRectF rest, QColor c) {
          LoopGlyph(p, QRectF(rest.left() + 2, rest.center().y() - 3.5, 11, 7), c);
          Text(p, QRectF(rest.left() + 14, rest.top(), 20, rest.height()), "ALL", c, 8.5);
        });
      });
    }
    // SEARCH_x_DW finds the next row (down the list), SEARCH_x_UP the previous.
    for (auto [dirTag, dir] : {std::pair{"DW", 1}, std::pair{"UP", -1}}) {
      Add("Vk_BMP_40X20_SEARCH_" + state + "_" + dirTag, 40, 20, [=](QPainter& p, QRectF r) {
        const int off = DrawCap(p, r, face);
        const QColor c = face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
        Magnifier(p, QPointF(r.left() + 14, r.center().y() - 1.5 + off), c);
        Chevron(p, QPointF(r.left() + 28, r.center().y() + off), dir, c, 3.6);
      });
    }
    Add("Vk_BMP_88X20_" + state + "_DW", 88, 20, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face);
      const QColor c = face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
      Text(p, QRectF(r.left() + 6, r.top() + off, 62, r.height()), "EFFECTS", c, 9);
      Chevron(p, QPointF(r.right() - 13, r.center().y() + off), 1, c, 3.6);
    });
    Add("Vk_BMP_88X20_" + state + "_UP", 88, 20, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face);
      const QColor c = face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
      Text(p, QRectF(r.left() + 6, r.top() + off, 62, r.height()), "EFFECTS", c, 9);
      Chevron(p, QPointF(r.right() - 13, r.center().y() + off), -1, c, 3.6);
    });
  }
}

void AddTransportButtons() {
  for (std::string state : {"UP", "DW"}) {
    const Face face = FaceOf(state);
    auto glyphColor = [face] { return face == Face::Down ? kGlyphDim.lighter(115) : kGlyph; };
    Add("Vk_BMP_28X28_" + state + "_STOP", 28, 28, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face, 4);
      p.setPen(Qt::NoPen);
      p.setBrush(glyphColor());
      p.drawRoundedRect(QRectF(r.center().x() - 4.5, r.center().y() - 4.5 + off, 9, 9), 1, 1);
    });
    for (auto [tag, dir] : {std::pair{"PREV", -1}, std::pair{"NEXT", 1}}) {
      Add("Vk_BMP_28X28_" + state + "_" + tag, 28, 28, [=](QPainter& p, QRectF r) {
        const int off = DrawCap(p, r, face, 4);
        const QColor c = glyphColor();
        const QPointF m(r.center().x(), r.center().y() + off);
        // Two triangles and a bar: the bar stands at the end the button goes to.
        for (qreal shift : {-3.5, 3.5}) {
          const qreal tip = m.x() + shift + dir * 3.5, base = m.x() + shift - dir * 3.5;
          Polygon(p, {{tip, m.y()}, {base, m.y() - 4.5}, {base, m.y() + 4.5}}, c);
        }
        p.setBrush(c);
        const qreal barX = dir > 0 ? m.x() + 7.2 : m.x() - 8.8;
        p.drawRect(QRectF(barX, m.y() - 4.5, 1.6, 9));
      });
    }
    Add("Vk_BMP_32X28_" + state + "_START", 32, 28, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face, 4);
      const QPointF m(r.center().x() + 1, r.center().y() + off);
      Polygon(p, {{m.x() + 6, m.y()}, {m.x() - 5, m.y() - 6.5}, {m.x() - 5, m.y() + 6.5}},
              glyphColor());
    });
    Add("Vk_BMP_32X28_" + state + "_PAUSE", 32, 28, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face, 4);
      const QPointF m(r.center().x(), r.center().y() + off);
      p.setPen(Qt::NoPen);
      p.setBrush(glyphColor());
      p.drawRoundedRect(QRectF(m.x() - 5, m.y() - 6, 3.5, 12), 0.8, 0.8);
      p.drawRoundedRect(QRectF(m.x() + 1.5, m.y() - 6, 3.5, 12), 0.8, 0.8);
    });
  }
}

void AddAbButtons() {
  struct Ab {
    const char* tag;
    QString label;
    bool cancel;
  };
  for (Ab ab : {Ab{"A", "A", false}, Ab{"B", "B", false}, Ab{"OFF", "AB", true}}) {
    for (std::string variant : {"UP_ENBL", "DW_ENBL", "UP_DSBL"}) {
      Cap cap;
      cap.face = variant == "UP_ENBL" ? Face::Up : variant == "DW_ENBL" ? Face::Down : Face::Flat;
      Add(std::string("Vk_BMP_24X24_AB_") + variant + "_" + ab.tag, 24, 24,
          [=](QPainter& p, QRectF r) {
            const int off = DrawCap(p, r, cap.face);
            const QColor c = GlyphColor(cap);
            QRectF box = r.translated(0, off);
            if (!ab.cancel) {
              // A bracket marks the point: A opens the stretch, B closes it.
              Text(p, box.adjusted(0, -1, 0, 0), ab.label, c, 12);
              p.setPen(QPen(c, 1.2));
              const qreal y = box.bottom() - 5.5;
              p.drawLine(QPointF(box.left() + 6, y), QPointF(box.right() - 6, y));
            } else {
              Text(p, box.adjusted(0, -1, 0, 0), ab.label, c, 10);
              p.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap));
              p.drawLine(QPointF(box.left() + 5, box.bottom() - 6),
                         QPointF(box.right() - 5, box.top() + 6));
            }
          });
    }
  }
}

void AddChannelButtons() {
  struct Ch {
    const char* tag;
    QString label;
    qreal px;
  };
  for (Ch ch : {Ch{"STEREO", "LR", 9.5}, Ch{"ADD", "L+R", 8}, Ch{"LFT", "L", 11},
                Ch{"RGT", "R", 11}, Ch{"SUB", "L-R", 8}}) {
    for (std::string state : {"UP", "DW"}) {
      Cap cap;
      cap.face = FaceOf(state);
      cap.accent = cap.face == Face::Down;  // the pressed look doubles as "selected"
      Add("Vk_BMP_24X24_" + state + "_" + ch.tag, 24, 24, [=](QPainter& p, QRectF r) {
        const int off = DrawCap(p, r, cap.face);
        Text(p, r.translated(0, off), ch.label, GlyphColor(cap), ch.px);
      });
    }
  }
}

struct Effect {
  const char* tag;
  QString label;
};
const Effect kEffects[] = {{"TMST", "TIME STRETCH"}, {"PSFT", "PITCH SHIFT"},
                           {"TONE", "TONE CONTROL"}, {"CHRS", "CHORUS"},
                           {"DLAY", "DELAY"},        {"RVRB", "REVERB"}};

void AddEffectButtons() {
  for (const Effect& e : kEffects) {
    for (std::string sw : {"ON", "OFF"}) {
      for (std::string state : {"UP", "DW"}) {
        Add("Vk_BMP_116X20_" + sw + "_" + state + "_" + e.tag, 116, 20,
            [=](QPainter& p, QRectF r) { SwitchCap(p, r, FaceOf(state), sw == "ON", e.label, 9.5); });
      }
    }
    // A tab: square bottom corners; the shown page is lighter with an amber rule.
    for (std::string shown : {"ON", "OFF"}) {
      Add("Vk_BMP_116X20_TAB_" + shown + "_" + e.tag, 116, 20, [=](QPainter& p, QRectF r) {
        const bool on = shown == "ON";
        QPainterPath path;
        QRectF b = r.adjusted(0.5, 0.5, -0.5, 0);
        path.moveTo(b.bottomLeft());
        path.lineTo(b.left(), b.top() + 4);
        path.quadTo(b.topLeft(), QPointF(b.left() + 4, b.top()));
        path.lineTo(b.right() - 4, b.top());
        path.quadTo(b.topRight(), QPointF(b.right(), b.top() + 4));
        path.lineTo(b.bottomRight());
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0, on ? QColor(0x4e, 0x55, 0x5f) : QColor(0x2c, 0x30, 0x36));
        g.setColorAt(1, on ? QColor(0x3a, 0x40, 0x48) : QColor(0x23, 0x26, 0x2b));
        p.setPen(QPen(kEdge, 1));
        p.setBrush(g);
        p.drawPath(path);
        if (on) {
          p.setPen(Qt::NoPen);
          p.setBrush(kAmber);
          p.drawRect(QRectF(r.left() + 1, r.bottom() - 2, r.width() - 2, 2));
        }
        Text(p, r.adjusted(0, 0, 0, on ? -1 : 0), e.label, on ? QColor(Qt::white) : kGlyphDim,
             9.5);
      });
    }
  }
}

void AddPageButtons() {
  for (std::string state : {"UP", "DW"}) {
    const Face face = FaceOf(state);
    // Shown page back to its recommended values: a counter-clockwise arrow.
    Add("Vk_BMP_88X34_" + state + "_PDEF", 88, 34, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face, 4);
      const QColor c = face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
      const QPointF m(r.left() + 15, r.center().y() + off);
      p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(m.x() - 6, m.y() - 6, 12, 12), 110 * 16, 290 * 16);
      Polygon(p, {{m.x() - 3.8, m.y() - 8.6}, {m.x() + 1.6, m.y() - 6.0}, {m.x() - 3.2, m.y() - 2.6}},
              c);
      Text(p, QRectF(r.left() + 26, r.top() + 3 + off, 58, 14), "PAGE TO", c, 9);
      Text(p, QRectF(r.left() + 26, r.top() + 16 + off, 58, 14), "DEFAULT", c, 9);
    });
    // Vocal cancel: a microphone with a stroke through it.
    Add("Vk_BMP_88X34_" + state + "_VCAN", 88, 34, [=](QPainter& p, QRectF r) {
      const int off = DrawCap(p, r, face, 4);
      const QColor c = face == Face::Down ? kGlyphDim.lighter(115) : kGlyph;
      const QPointF m(r.left() + 15, r.center().y() + off);
      p.setPen(Qt::NoPen);
      p.setBrush(c);
      p.drawRoundedRect(QRectF(m.x() - 2.8, m.y() - 8, 5.6, 10), 2.8, 2.8);
      p.setPen(QPen(c, 1.3));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(m.x() - 5, m.y() - 5, 10, 10), 200 * 16, 140 * 16);
      p.drawLine(QPointF(m.x(), m.y() + 5), QPointF(m.x(), m.y() + 8));
      p.drawLine(QPointF(m.x() - 3, m.y() + 8), QPointF(m.x() + 3, m.y() + 8));
      p.setPen(QPen(kAmber, 1.6, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(m.x() - 7, m.y() - 8), QPointF(m.x() + 7, m.y() + 7));
      Text(p, QRectF(r.left() + 26, r.top() + 3 + off, 58, 14), "VOCAL", c, 9);
      Text(p, QRectF(r.left() + 26, r.top() + 16 + off, 58, 14), "CANCEL", c, 9);
    });
  }
}

// The splitter's cursor: a double arrow across two bars, black with a white
// outline so it shows on any ground; the hot spot is the centre (16, 16).
void AddCursor() {
  Add("Vk_CUR_RB_HORZ", 32, 32, [](QPainter& p, QRectF) {
    QPainterPath shape;
    const qreal cy = 16;
    shape.addRect(QRectF(13, 7, 2, 18));
    shape.addRect(QRectF(17, 7, 2, 18));
    QPainterPath left;
    left.moveTo(3, cy);
    left.lineTo(9, cy - 5);
    left.lineTo(9, cy - 1.5);
    left.lineTo(13, cy - 1.5);
    left.lineTo(13, cy + 1.5);
    left.lineTo(9, cy + 1.5);
    left.lineTo(9, cy + 5);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(29, cy);
    right.lineTo(23, cy - 5);
    right.lineTo(23, cy - 1.5);
    right.lineTo(19, cy - 1.5);
    right.lineTo(19, cy + 1.5);
    right.lineTo(23, cy + 1.5);
    right.lineTo(23, cy + 5);
    right.closeSubpath();
    shape = shape.united(left).united(right);
    p.setPen(QPen(Qt::white, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPath(shape);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(shape);
  });
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: vk_make_button_bitmaps OUTDIR\n");
    return 2;
  }
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  if (!QDir().mkpath(outDir)) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 1;
  }
  AddWindowButtons();
  AddTransportButtons();
  AddAbButtons();
  AddChannelButtons();
  AddEffectButtons();
  AddPageButtons();
  AddCursor();
  for (const Bitmap& b : gBitmaps) {
    QImage img(b.w, b.h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
      QPainter p(&img);
      p.setRenderHint(QPainter::Antialiasing);
      p.setRenderHint(QPainter::TextAntialiasing);
      b.draw(p, QRectF(0, 0, b.w, b.h));
    }
    const QString path = outDir + "/" + QString::fromStdString(b.name) + ".png";
    if (!img.save(path, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", path.toLocal8Bit().constData());
      return 1;
    }
  }
  QFile qrc(outDir + "/bitmaps.qrc");
  if (!qrc.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "cannot write bitmaps.qrc\n");
    return 1;
  }
  qrc.write("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/bitmaps\">\n");
  for (const Bitmap& b : gBitmaps) {
    qrc.write(("  <file>" + b.name + ".png</file>\n").c_str());
  }
  qrc.write("</qresource>\n</RCC>\n");
  std::printf("%zu bitmaps written to %s\n", gBitmaps.size(), argv[1]);
  return 0;
}
