#pragma once

#include <QColor>
#include <QPalette>
#include <algorithm>
#include <cmath>

// Two real dark desktops as Qt 6 reports them: Breeze Dark read from KDE's kdeglobals by Qt's own
// KDE theme, and the Adwaita-Dark style (adwaita-qt). Qt derives the 3D shades itself, so Light
// can come out darker than Button.
inline QPalette RealPalette(QColor window, QColor button, QColor text, QColor base, QColor highlight,
                            QColor highlightedText, QColor light, QColor midlight, QColor dark, QColor grayText)
{
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::WindowText, text);
        p.setColor(group, QPalette::Button, button);
        p.setColor(group, QPalette::ButtonText, text);
        p.setColor(group, QPalette::Text, text);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::Highlight, highlight);
        p.setColor(group, QPalette::HighlightedText, highlightedText);
        p.setColor(group, QPalette::Light, light);
        p.setColor(group, QPalette::Midlight, midlight);
        p.setColor(group, QPalette::Dark, dark);
    }
    p.setColor(QPalette::Disabled, QPalette::Text, grayText);
    return p;
}

inline QPalette BreezeDark()
{
    return RealPalette({42, 46, 50}, {49, 54, 59}, {252, 252, 252}, {27, 30, 32}, {61, 174, 233}, {252, 252, 252},
                       {24, 27, 29}, {37, 41, 44}, {98, 108, 118}, {98, 108, 118});
}

inline QPalette AdwaitaDark()
{
    return RealPalette({53, 53, 53}, {55, 55, 55}, {238, 238, 236}, {45, 45, 45}, {21, 83, 158}, {255, 255, 255},
                       {81, 81, 81}, {68, 68, 68}, {30, 30, 30}, {145, 145, 144});
}

// WCAG contrast ratio of two colours.
inline double Contrast(const QColor& a, const QColor& b)
{
    auto lum = [](const QColor& c) {
        auto ch = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * ch(c.redF()) + 0.7152 * ch(c.greenF()) + 0.0722 * ch(c.blueF());
    };
    const double x = lum(a), y = lum(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}
