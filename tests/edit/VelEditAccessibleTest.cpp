// What a screen reader reads of an edit, through Qt's accessibility API.
#include "EditTestSupport.h"
#include "VelEditAccessible.h"

#include <QAccessible>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

namespace {

QStringList* recorded = nullptr;

void Record(QAccessibleEvent* Event)
{
    if (!recorded)
        return;
    switch (Event->type()) {
    case QAccessible::TextInserted: {
        auto* e = static_cast<QAccessibleTextInsertEvent*>(Event);
        *recorded << QStringLiteral("insert %1 '%2'").arg(e->changePosition()).arg(e->textInserted());
        break;
    }
    case QAccessible::TextRemoved: {
        auto* e = static_cast<QAccessibleTextRemoveEvent*>(Event);
        *recorded << QStringLiteral("remove %1 '%2'").arg(e->changePosition()).arg(e->textRemoved());
        break;
    }
    case QAccessible::TextCaretMoved:
        *recorded << QStringLiteral("caret %1").arg(static_cast<QAccessibleTextCursorEvent*>(Event)->cursorPosition());
        break;
    case QAccessible::TextSelectionChanged: {
        auto* e = static_cast<QAccessibleTextSelectionEvent*>(Event);
        *recorded << QStringLiteral("selection %1-%2").arg(e->selectionStart()).arg(e->selectionEnd());
        break;
    }
    default: break;
    }
}

class AccessibleTest : public EditTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        window = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window.get());
        auto* label = new QLabel("&Voltage");
        edit = new TTestEdit;
        layout->addWidget(label);
        layout->addWidget(edit);
        label->setBuddy(edit);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        edit->setFocus(Qt::OtherFocusReason);
        previous = SetVelAccessibleEventHook(Record);
        recorded = &events;
    }
    void TearDown() override
    {
        recorded = nullptr;
        SetVelAccessibleEventHook(previous);
        window.reset();
        EditTest::TearDown();
    }

    QAccessibleInterface* Accessible() const { return QAccessible::queryAccessibleInterface(edit); }

    std::unique_ptr<QWidget> window;
    TTestEdit* edit = nullptr;
    QStringList events;
    TVelAccessibleEventHook previous;
};

} // namespace

TEST_F(AccessibleTest, EditIsNamedEditableTextWithItsTextAndCaret)
{
    QAccessibleInterface* a = Accessible();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->role(), QAccessible::EditableText);
    EXPECT_EQ(a->text(QAccessible::Name), "Voltage");
    QTest::keyClicks(edit, "12.5");
    QTest::keyClick(edit, Qt::Key_Left, Qt::ShiftModifier);
    QAccessibleTextInterface* text = a->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), "12.5");
    EXPECT_EQ(a->text(QAccessible::Value), "12.5");
    EXPECT_EQ(text->cursorPosition(), 3);
    int start = -1, end = -1;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(3, 4));
    const QRect first = text->characterRect(0), second = text->characterRect(1);
    EXPECT_GT(first.width(), 0);
    EXPECT_EQ(first.right() + 1, second.left());
    EXPECT_EQ(text->offsetAtPoint(second.center()), 1);
}

TEST_F(AccessibleTest, EditsAnnounceWhatChanges)
{
    QTest::keyClicks(edit, "ab");
    EXPECT_TRUE(events.contains("insert 0 'a'"));
    EXPECT_TRUE(events.contains("insert 1 'b'"));
    EXPECT_EQ(events.last(), "caret 2");
    events.clear();
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_TRUE(events.contains("remove 1 'b'"));
    events.clear();
    QTest::keyClick(edit, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_TRUE(events.contains("selection 0-1"));
    EXPECT_TRUE(events.contains("caret 0"));
}

TEST_F(AccessibleTest, PasswordTextIsReadMasked)
{
    edit->SetText("secret");
    edit->Perform(EM_SETPASSWORDCHAR, '*');
    QAccessibleInterface* a = Accessible();
    EXPECT_TRUE(a->state().passwordEdit);
    EXPECT_EQ(a->text(QAccessible::Value), "******");
}

TEST_F(AccessibleTest, ScreenReaderEditsGoThroughTheEditsHooks)
{
    QAccessibleEditableTextInterface* e = Accessible()->editableTextInterface();
    ASSERT_NE(e, nullptr);
    e->insertText(0, "abc");
    e->replaceText(1, 2, "X");
    EXPECT_EQ(edit->Text(), "aXc");
    edit->SetReadOnly(true);
    e->deleteText(0, 3);
    EXPECT_EQ(edit->Text(), "aXc");
}
