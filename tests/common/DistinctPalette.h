#pragma once

#include <QColor>
#include <QPalette>

// Every 3D role its own colour, so a pixel tells which role painted it.
inline QPalette DistinctPalette()
{
    QPalette p;
    p.setColor(QPalette::Button, QColor(200, 200, 200));
    p.setColor(QPalette::Light, QColor(255, 255, 255));
    p.setColor(QPalette::Midlight, QColor(230, 230, 230));
    p.setColor(QPalette::Dark, QColor(128, 128, 128));
    p.setColor(QPalette::Shadow, QColor(0, 0, 0));
    p.setColor(QPalette::Base, QColor(250, 250, 240));
    p.setColor(QPalette::WindowText, QColor(10, 0, 0));
    return p;
}
