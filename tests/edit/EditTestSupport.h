#pragma once

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <initializer_list>
#include <memory>

#include "VelClass.h"
#include "VelCustomEdit.h"

// An edit that records its events and hooks in one list, so tests compare whole sequences.
class TTestEdit : public TVelCustomEdit {
public:
    explicit TTestEdit(QWidget* parent = nullptr) : TVelCustomEdit(parent)
    {
        OnChange = [this](QObject*) { log << "change"; };
        OnModified = [this](QObject*) { log << "modified"; };
        OnCursorPosChanged = [this](QObject*) { log << QStringLiteral("cursor %1").arg(CursorPos()); };
        OnTextChangedAt = [this](QObject*, int at) { log << QStringLiteral("changed at %1").arg(at); };
    }

    QStringList log;
    bool logHooks = false;
    QString removalText;
    bool refuse = false;

    // Selects Length characters from Start the way a caller of the public API does.
    void Select(int Start, int Length)
    {
        SetCursorPos(Start);
        SetSelStart(Start);
        SetSelLength(Length);
    }

    using TVelBaseEdit::CharIndexAtX;
    using TVelBaseEdit::IsDeletionEdit;
    using TVelBaseEdit::IsPasting;
    using TVelBaseEdit::IsTyping;
    using TVelBaseEdit::IsUndoing;
    using TVelBaseEdit::WndProc;
    bool deletionInAfterEdit = false;

protected:
    void GetRemovalText(QString& S) override { S = removalText; }
    bool CanModify(const QString& S) override { return !refuse && TVelCustomEdit::CanModify(S); }
    void BeforeEdit() override
    {
        if (logHooks)
            log << "before";
    }
    void AfterEdit() override
    {
        deletionInAfterEdit = IsDeletionEdit();
        if (logHooks)
            log << "after";
    }
    void FilterInsertText(int At, QString& S) override
    {
        if (logHooks)
            log << QStringLiteral("filter %1 '%2'").arg(At).arg(S);
    }
    void TextRemoved(int At, const QString& S) override
    {
        if (logHooks)
            log << QStringLiteral("removed %1 '%2'").arg(At).arg(S);
    }
};

// Every test starts from the shared state of a fresh process: insert mode, no modifier held.
class EditTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSharedState(); }
    void TearDown() override { ResetSharedState(); }
    static void ResetSharedState()
    {
        VelApplication()->OnKeyboardStateChange = nullptr;
        VelApplication()->SetKeyboardState(ksInsertMode);
    }
    static void SetShift(bool down)
    {
        const std::uint8_t s = VelApplication()->KeyboardState();
        VelApplication()->SetKeyboardState(static_cast<std::uint8_t>(down ? (s | ksShift) : (s & ~ksShift)));
    }
    static void SetInsertMode(bool on)
    {
        const std::uint8_t s = VelApplication()->KeyboardState();
        VelApplication()->SetKeyboardState(static_cast<std::uint8_t>(on ? (s | ksInsertMode) : (s & ~ksInsertMode)));
    }
    static QClipboard* Clipboard() { return QGuiApplication::clipboard(); }
};

// A window of the test's own, shown and active so focus and keys behave as on a desktop, and
// freed before the shared state is reset.
class EditWindowTest : public EditTest {
protected:
    // Stacks Widgets top to bottom in a new window, shows it and gives Focus the focus.
    void OpenStacked(std::initializer_list<QWidget*> Widgets, QWidget* Focus, QSize Size = {})
    {
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        for (QWidget* w : Widgets)
            layout->addWidget(w);
        if (Size.isValid())
            window->resize(Size);
        ShowActive();
        Focus->setFocus(Qt::OtherFocusReason);
        ASSERT_TRUE(Focus->hasFocus());
    }
    void ShowActive()
    {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void TearDown() override
    {
        window.reset();
        EditTest::TearDown();
    }

    std::unique_ptr<QWidget> window;
};

// Two edits in an active window, the second one focused, so the first gains the focus by Tab.
class TwoEditWindowTest : public EditWindowTest {
protected:
    void OpenWindow(int FontPixels = 0)
    {
        window = std::make_unique<QWidget>();
        window->resize(240, 80);
        edit = new TTestEdit(window.get());
        if (FontPixels > 0) {
            QFont f = edit->font();
            f.setPixelSize(FontPixels);
            edit->setFont(f);
        }
        edit->setGeometry(10, 10, 201, 25);
        other = new TTestEdit(window.get());
        other->setGeometry(10, 45, 201, 25);
        ShowActive();
        other->setFocus(Qt::TabFocusReason);
    }

    TTestEdit* edit = nullptr;
    TTestEdit* other = nullptr;
};
