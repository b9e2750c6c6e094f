// Twips and colours: the design's measures and 0x00BBGGRR colour values.
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "vb.h"

namespace vb {
namespace {

constexpr double kTwipsPerInch = 1440.0;

QScreen* screen() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen()
                                                                      : nullptr;
}

double dpiX() {
  QScreen* s = screen();
  return s && s->logicalDotsPerInchX() > 0 ? s->logicalDotsPerInchX() : 96.0;
}

double dpiY() {
  QScreen* s = screen();
  return s && s->logicalDotsPerInchY() > 0 ? s->logicalDotsPerInchY() : 96.0;
}

// Relative luminance and contrast ratio, as accessibility guidelines define them.
double luminance(const QColor& colour) {
  auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
  const QColor c = colour.toRgb();
  return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor& a, const QColor& b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour darkened step by step until text in it reads clearly (4.5:1) on
// each background.
QColor readableOn(QColor colour, std::initializer_list<QColor> backgrounds) {
  auto readable = [&] {
    for (const QColor& b : backgrounds)
      if (contrast(colour, b) < 4.5) return false;
    return true;
  };
  while (!readable() && colour.value() > 0) colour = colour.darker(105);
  return colour;
}

// VB's system colour indices (vbScrollBars = 0 ... vbInfoBackground = 24).
QColor systemColour(int index) {
  const QPalette pal = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                           ? QGuiApplication::palette()
                           : QPalette();
  using P = QPalette;
  switch (index) {
    case 0: return pal.color(P::Active, P::Button);            // scroll bars
    case 1: return pal.color(P::Active, P::Dark);              // desktop
    case 2: return pal.color(P::Active, P::Highlight);         // active title bar
    case 3:  // inactive title bar: a mid grey; programs write text in it on windows and tooltips
      return readableOn(pal.color(P::Active, P::Dark), {pal.color(P::Active, P::Base), pal.color(P::Active, P::ToolTipBase)});
    case 4: return pal.color(P::Active, P::Window);            // menu bar
    case 5: return pal.color(P::Active, P::Base);              // window background
    case 6: return pal.color(P::Active, P::Shadow);            // window frame
    case 7: return pal.color(P::Active, P::WindowText);        // menu text
    case 8: return pal.color(P::Active, P::Text);              // window text
    case 9: return pal.color(P::Active, P::HighlightedText);   // title bar text
    case 10: return pal.color(P::Active, P::Button);           // active border
    case 11: return pal.color(P::Active, P::Button);           // inactive border
    case 12: return pal.color(P::Active, P::Dark);             // application workspace
    case 13: return pal.color(P::Active, P::Highlight);        // highlight
    case 14: return pal.color(P::Active, P::HighlightedText);  // highlight text
    case 15: return pal.color(P::Active, P::Button);           // button face
    case 16: return pal.color(P::Active, P::Dark);             // button shadow
    case 17: return pal.color(P::Disabled, P::Text);           // grey text
    case 18: return pal.color(P::Active, P::ButtonText);       // button text
    case 19: return pal.color(P::Active, P::Midlight);         // inactive title bar text
    case 20: return pal.color(P::Active, P::Light);            // button highlight
    case 21: return pal.color(P::Active, P::Shadow);           // 3D dark shadow
    case 22: return pal.color(P::Active, P::Midlight);         // 3D light
    case 23: return pal.color(P::Active, P::ToolTipText);      // tooltip text
    case 24: return pal.color(P::Active, P::ToolTipBase);      // tooltip background
    default: return QColor(Qt::black);
  }
}

}  // namespace

int TwipsToPixelsX(double twips) { return static_cast<int>(std::lround(twips * dpiX() / kTwipsPerInch)); }
int TwipsToPixelsY(double twips) { return static_cast<int>(std::lround(twips * dpiY() / kTwipsPerInch)); }
double PixelsToTwipsX(int pixels) { return pixels * kTwipsPerInch / dpiX(); }
double PixelsToTwipsY(int pixels) { return pixels * kTwipsPerInch / dpiY(); }

QColor OleColor(quint32 value) {
  if (value & 0x80000000u) return systemColour(static_cast<int>(value & 0xFFu));
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

quint32 ToOleColor(const QColor& colour) {
  const QColor c = colour.toRgb();
  return static_cast<quint32>(c.red()) | (static_cast<quint32>(c.green()) << 8) |
         (static_cast<quint32>(c.blue()) << 16);
}

}  // namespace vb
