#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

// Events are single-cast callbacks with the sender first, as the library's users expect.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// Colours: 0x00BBGGRR for plain colours; 0xFF000000 + n names system colour n, resolved against
// the running desktop's palette when drawn.
using TColor = std::uint32_t;

enum : TColor {
    clBlack = 0x000000,
    clWhite = 0xFFFFFF,
    clGray = 0x808080,
    clSilver = 0xC0C0C0,
    clTeal = 0x808000,
    clNone = 0x1FFFFFFF,
    clSystemColor = 0xFF000000,
    clScrollBar = clSystemColor + 0,
    clBackground = clSystemColor + 1,
    clWindow = clSystemColor + 5,
    clWindowFrame = clSystemColor + 6,
    clWindowText = clSystemColor + 8,
    clHighlight = clSystemColor + 13,
    clHighlightText = clSystemColor + 14,
    clBtnFace = clSystemColor + 15,
    clBtnShadow = clSystemColor + 16,
    clGrayText = clSystemColor + 17,
    clBtnText = clSystemColor + 18,
    clCaptionText = clSystemColor + 9,
    clBtnHighlight = clSystemColor + 20,
    cl3DDkShadow = clSystemColor + 21,
    cl3DLight = clSystemColor + 22,
};
