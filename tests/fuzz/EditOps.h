#pragma once

// Shared by the edit fuzz targets: a byte string read as a sequence of user operations delivered
// to an edit through real Qt events (so the event translation and the key map run as they do for
// a user), and the invariants every edit keeps after each of them.
//
// Operation byte, low nibble: 0 type a character, 1 a key of the key map with Shift/Ctrl,
// 2 a click or double click, 3 a drag, 4 a paste of arbitrary text, 5 undo, 6 a wheel step,
// 7 focus loss and return, 8 and up are left to the target (value and decimals assignments).

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <string>

#include "FuzzSupport.h"
#include "VelBaseEdit.h"
#include "VelClass.h"
#include "VelCustomMaskEdit.h"

// One QApplication for the life of the process, on the offscreen platform whatever the caller's
// environment says, so the fuzzer runs without a display.
inline void EnsureFuzzApplication()
{
    // Never destroyed: the library's own objects may outlive any static order we could pick.
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        auto* a = new QApplication(argc, argv);
        // A validation error would wait for a click on its message box.
        SetVelMessageBoxHook([](const QString&) {});
        return a;
    }();
    (void)app;
}

// Every input starts from the shared state of a fresh process: insert mode, no modifier held.
inline void ResetKeyboardState()
{
    VelApplication()->SetKeyboardState(ksInsertMode);
}

class EditDriver {
public:
    EditDriver(TVelBaseEdit& Edit, FuzzBytes& In) : edit_(Edit), in_(In) {}

    // Runs one of the shared operations; false when the byte names a target's own one.
    bool Run(uint8_t Op)
    {
        switch (Op & 15) {
        case 0: TypeChar(); return true;
        case 1: Key(); return true;
        case 2: Click(); return true;
        case 3: Drag(); return true;
        case 4: Paste(); return true;
        case 5: edit_.Perform(EM_UNDO, 0, 0); return true;
        case 6: Wheel(); return true;
        case 7: FocusOutAndIn(); return true;
        default: return false;
        }
    }

    // A character for the number edits is mostly one they accept, so runs get past the filter.
    QChar Character()
    {
        static const char16_t kLikely[] = u"0123456789.,-+ \u00A0e";
        const uint8_t b = in_.Byte();
        if (b < 0xA0)
            return QChar(kLikely[b % (sizeof kLikely / sizeof kLikely[0] - 1)]);
        if (b < 0xE0)
            return QChar(char16_t(b - 0xA0 + 0x20)); // printable ASCII
        return QChar(char16_t(in_.Raw<uint16_t>()));
    }

    QString Text(int MaxUnits)
    {
        const int n = in_.Byte() % (MaxUnits + 1);
        QString s;
        for (int i = 0; i < n && !in_.Empty(); ++i)
            s += Character();
        return s;
    }

    void SendKey(int Key, Qt::KeyboardModifiers Mods, const QString& Text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, Key, Mods, Text);
        QCoreApplication::sendEvent(&edit_, &press);
        QKeyEvent release(QEvent::KeyRelease, Key, Mods, Text);
        QCoreApplication::sendEvent(&edit_, &release);
    }

private:
    void TypeChar()
    {
        const QChar c = Character();
        SendKey(c.isDigit() && c.unicode() < 128 ? Qt::Key_0 + (c.unicode() - '0') : 0, Qt::NoModifier, QString(c));
    }

    void Key()
    {
        static const int kKeys[] = {Qt::Key_Backspace, Qt::Key_Return, Qt::Key_Escape,   Qt::Key_End,    Qt::Key_Home,
                                    Qt::Key_Left,      Qt::Key_Right,  Qt::Key_Insert,   Qt::Key_Delete, Qt::Key_Up,
                                    Qt::Key_Down,      Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_A,      Qt::Key_C,
                                    Qt::Key_V,         Qt::Key_X,      Qt::Key_Z,        Qt::Key_Tab,    Qt::Key_Enter};
        const uint8_t b = in_.Byte();
        const int key = kKeys[(b >> 2) % (sizeof kKeys / sizeof kKeys[0])];
        Qt::KeyboardModifiers mods;
        if (b & 1)
            mods |= Qt::ShiftModifier;
        if (b & 2)
            mods |= Qt::ControlModifier;
        // Letters without Ctrl carry their character, as a keyboard sends them.
        QString text;
        if (key >= Qt::Key_A && key <= Qt::Key_Z && !(b & 2))
            text = QChar(char16_t((b & 1 ? 'A' : 'a') + (key - Qt::Key_A)));
        else if (key == Qt::Key_Backspace)
            text = QStringLiteral("\b");
        else if (key == Qt::Key_Return || key == Qt::Key_Enter)
            text = QStringLiteral("\r");
        SendKey(key, mods, text);
    }

    QPoint Point()
    {
        const uint8_t x = in_.Byte();
        return QPoint(x % (edit_.width() + 8) - 4, edit_.height() / 2);
    }

    Qt::KeyboardModifiers MouseMods() { return (in_.Byte() & 1) ? Qt::ShiftModifier : Qt::NoModifier; }

    void Click()
    {
        const Qt::KeyboardModifiers mods = MouseMods();
        const QPoint at = Point();
        if (in_.Byte() & 1)
            QTest::mouseDClick(&edit_, Qt::LeftButton, mods, at);
        else
            QTest::mouseClick(&edit_, Qt::LeftButton, mods, at);
    }

    void Drag()
    {
        const QPoint from = Point();
        const QPoint to = Point();
        QTest::mousePress(&edit_, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), edit_.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(&edit_, &move);
        QTest::mouseRelease(&edit_, Qt::LeftButton, Qt::NoModifier, to);
    }

    void Paste()
    {
        const uint8_t how = in_.Byte();
        const QString text = how & 0x80 ? Text(255) + Text(255) : Text(24);
        QGuiApplication::clipboard()->setText(text);
        if (how & 1)
            SendKey(Qt::Key_Insert, Qt::ShiftModifier);
        else
            SendKey(Qt::Key_V, Qt::ControlModifier);
    }

    void Wheel()
    {
        const int delta = (in_.Byte() & 1) ? 120 : -120;
        const QPointF at(edit_.width() / 2.0, edit_.height() / 2.0);
        QWheelEvent wheel(at, edit_.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&edit_, &wheel);
    }

    void FocusOutAndIn()
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(&edit_, &out);
        QCoreApplication::sendPostedEvents();
        if (in_.Byte() & 1) {
            QFocusEvent back(QEvent::FocusIn, Qt::TabFocusReason);
            QCoreApplication::sendEvent(&edit_, &back);
        }
    }

    TVelBaseEdit& edit_;
    FuzzBytes& in_;
};

// The invariants of every edit: caret and selection inside the text, MaxLength kept, no more
// undo records than edits made, and no lone half of a surrogate pair, whatever was typed or pasted.
// MaxLength lowered below the text does not cut it; from then on no edit may make it longer.
inline void CheckEditState(const TVelBaseEdit& Edit, int Edits, int LengthBefore, const std::string& After)
{
    const QString text = Edit.Text();
    const int length = int(text.size());
    const std::string where = " after " + After + " on " + Quoted(text);
    FuzzCheck(Edit.CursorPos() >= 1 && Edit.CursorPos() <= length + 1,
              "CursorPos " + std::to_string(Edit.CursorPos()) + where);
    FuzzCheck(Edit.SelStart() >= 1 && Edit.SelLength() >= 0 && Edit.SelStart() + Edit.SelLength() <= length + 1,
              "selection " + std::to_string(Edit.SelStart()) + "+" + std::to_string(Edit.SelLength()) + where);
    FuzzCheck(Edit.MaxLength() <= 0 || length <= Edit.MaxLength() || length <= LengthBefore,
              "MaxLength " + std::to_string(Edit.MaxLength()) + where);
    FuzzCheck(QStringView(text).isValidUtf16(), "lone surrogate" + where);
    FuzzCheck(!VelSplitsPair(text, Edit.CursorPos()) && !VelSplitsPair(text, Edit.SelStart()) &&
                  !VelSplitsPair(text, Edit.SelStart() + Edit.SelLength()),
              "caret or selection inside a character" + where);
    FuzzCheck(Edit.UndoCount() <= Edits,
              "undo stack " + std::to_string(Edit.UndoCount()) + " after " + std::to_string(Edits) + " edits" + where);
}
