#include "VelSysColors.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QImage>
#include <QPalette>

namespace {

struct SystemRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The classic 3D colours map onto Qt's bevel roles one to one: button highlight is Light, the 3D
// light Midlight, button shadow Dark and the dark shadow Shadow.
SystemRole RoleOf(unsigned Index)
{
    constexpr auto A = QPalette::Active;
    switch (Index) {
    case 0: return {A, QPalette::Mid};                  // scroll bar
    case 1: return {A, QPalette::Dark};                 // desktop
    case 2: return {A, QPalette::Highlight};            // active caption
    case 3: return {QPalette::Inactive, QPalette::Mid}; // inactive caption
    case 4: return {A, QPalette::Window};               // menu
    case 5: return {A, QPalette::Base};                 // window
    case 6: return {A, QPalette::WindowText};           // window frame
    case 7: return {A, QPalette::WindowText};           // menu text
    case 8: return {A, QPalette::Text};                 // window text
    case 9: return {A, QPalette::HighlightedText};      // caption text
    case 10: return {A, QPalette::Button};              // active border
    case 11: return {A, QPalette::Button};              // inactive border
    case 12: return {A, QPalette::Dark};                // application work space
    case 13: return {A, QPalette::Highlight};
    case 14: return {A, QPalette::HighlightedText};
    case 15: return {A, QPalette::Button};                // button face
    case 16: return {A, QPalette::Dark};                  // button shadow
    case 17: return {QPalette::Disabled, QPalette::Text}; // grey text
    case 18: return {A, QPalette::ButtonText};
    case 19: return {QPalette::Inactive, QPalette::WindowText};
    case 20: return {A, QPalette::Light};    // button highlight
    case 21: return {A, QPalette::Shadow};   // 3D dark shadow
    case 22: return {A, QPalette::Midlight}; // 3D light
    case 23: return {A, QPalette::ToolTipText};
    case 24: return {A, QPalette::ToolTipBase};
    case 26: return {A, QPalette::Link}; // hot light
    case 27: return {A, QPalette::Highlight};
    case 28: return {QPalette::Inactive, QPalette::Mid};
    case 29: return {A, QPalette::Highlight}; // menu highlight
    case 30: return {A, QPalette::Window};    // menu bar
    default: return {A, QPalette::Window};
    }
}

} // namespace

QColor VelColorToQColor(TColor Color, const QPalette& Palette)
{
    if (Color == clNone)
        return QColor(Qt::transparent);
    if (IsSystemColor(Color)) {
        const SystemRole r = RoleOf(Color & 0xFFu);
        return Palette.color(r.group, r.role);
    }
    // clDefault and other tagged values keep their colour in the low three bytes.
    return QColor(static_cast<int>(Color & 0xFF), static_cast<int>((Color >> 8) & 0xFF),
                  static_cast<int>((Color >> 16) & 0xFF));
}

QColor VelColorToQColor(TColor Color, const QPalette* Palette)
{
    if (Palette)
        return VelColorToQColor(Color, *Palette);
    return VelColorToQColor(Color, QGuiApplication::palette());
}

TColor VelColorFromQColor(const QColor& Color)
{
    const QColor c = Color.toRgb();
    return VelRGB(c.red(), c.green(), c.blue());
}

bool VelIsDarkPalette(const QPalette& Palette)
{
    return qGray(Palette.color(QPalette::Active, QPalette::Window).rgb()) <= 128;
}

QColor VelFixedColor(TVelFixedColor Which, const QPalette& Palette)
{
    struct Pair {
        QColor light;
        QPalette::ColorRole dark;
    };
    const auto pair = [Which]() -> Pair {
        switch (Which) {
        case TVelFixedColor::Arrow: return {QColor(0, 0, 0), QPalette::ButtonText};
        case TVelFixedColor::LightGrey: return {QColor(192, 192, 192), QPalette::Midlight};
        case TVelFixedColor::White: return {QColor(255, 255, 255), QPalette::Light};
        case TVelFixedColor::DarkGrey: return {QColor(128, 128, 128), QPalette::Dark};
        case TVelFixedColor::Ink: return {QColor(0, 0, 0), QPalette::Text};
        case TVelFixedColor::Frame: return {QColor(0, 0, 0), QPalette::WindowText};
        case TVelFixedColor::Paper: break;
        }
        return {QColor(255, 255, 255), QPalette::Base};
    }();
    return VelIsDarkPalette(Palette) ? Palette.color(QPalette::Active, pair.dark) : pair.light;
}

namespace {

// Relative luminance and contrast ratio as the web's accessibility guidelines define them.
double Luminance(const QColor& C)
{
    const auto channel = [](float F) {
        const auto V = static_cast<double>(F);
        return V <= 0.03928 ? V / 12.92 : std::pow((V + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(C.redF()) + 0.7152 * channel(C.greenF()) + 0.0722 * channel(C.blueF());
}

double Contrast(const QColor& A, const QColor& B)
{
    const double a = Luminance(A), b = Luminance(B);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

} // namespace

QColor VelLegibleOnDark(const QColor& Ink, const QColor& Face)
{
    constexpr double kReadable = 4.5;
    const QColor ink = Ink.toHsl();
    if (Contrast(ink, Face) >= kReadable)
        return Ink;
    // Each channel grows with the lightness, so the first lightness that is light enough is found
    // by walking up from the colour's own.
    for (int l = ink.lightness() + 1; l < 255; ++l) {
        const QColor lighter = QColor::fromHsl(ink.hslHue(), ink.hslSaturation(), l);
        if (Luminance(lighter) > Luminance(Face) && Contrast(lighter, Face) >= kReadable)
            return lighter.toRgb();
    }
    return QColor(Qt::white);
}

QImage VelInkOnPaper(const QImage& BlackOnWhite, const QPalette& Palette)
{
    if (!VelIsDarkPalette(Palette))
        return BlackOnWhite;
    const QColor ink = VelFixedColor(TVelFixedColor::Ink, Palette);
    const QColor paper = VelFixedColor(TVelFixedColor::Paper, Palette);
    QImage out = BlackOnWhite.convertToFormat(QImage::Format_RGB32);
    // A 1-bit picture has two colours; only those are swapped, never a photo's tones inverted.
    auto mix = [](int a, int b, int g) { return qRound(a + (b - a) * g / 255.0); };
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const int g = qGray(line[x]);
            line[x] = qRgb(mix(ink.red(), paper.red(), g), mix(ink.green(), paper.green(), g),
                           mix(ink.blue(), paper.blue(), g));
        }
    }
    return out;
}
