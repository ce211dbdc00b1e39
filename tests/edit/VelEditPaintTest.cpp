#include "EditTestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <QWidget>
#include <memory>

#include "VelSysColors.h"
#include "VelSystemCaret.h"

namespace {

// The calculator's edit: 201 x 25 in the window's own border, text in a 16-pixel font.
class PaintTest : public TwoEditWindowTest {
protected:
    void SetUp() override
    {
        EditTest::SetUp();
        OpenWindow(16);
    }
    QImage Grab() const { return edit->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QRgb Sys(TColor c) const { return VelColorToQColor(c, edit->palette()).rgb(); }
    // The darkest pixel inside the text area: the colour of fully covered glyph pixels.
    static QRgb Darkest(const QImage& image, const QRect& area)
    {
        QColor darkest = Qt::white;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (QColor c = image.pixelColor(x, y); c.lightness() < darkest.lightness())
                    darkest = c;
        return darkest.rgb();
    }
};

TEST_F(PaintTest, TheFocusedEditHasTheSunkenClientEdgeOutsideItsTextArea)
{
    edit->setFocus(Qt::TabFocusReason);
    const QImage image = Grab();
    struct Pixel {
        QPoint at;
        TColor colour;
    };
    const Pixel frame[] = {
        {{100, 0}, clBtnShadow},     {{0, 12}, clBtnShadow},      {{100, 1}, cl3DDkShadow}, {{1, 12}, cl3DDkShadow},
        {{100, 24}, clBtnHighlight}, {{200, 12}, clBtnHighlight}, {{100, 23}, cl3DLight},   {{199, 12}, cl3DLight},
        {{100, 2}, clWindow},        {{2, 12}, clWindow},         {{198, 12}, clWindow},
    };
    for (const Pixel& p : frame)
        EXPECT_EQ(image.pixel(p.at), Sys(p.colour)) << p.at.x() << "," << p.at.y();
    EXPECT_EQ(edit->ClientRect(), QRect(2, 2, 197, 21));
    EXPECT_EQ(edit->TextRect(), QRect(3, 3, 195, 19));
}

TEST_F(PaintTest, AnEmptyUnfocusedEditShowsItsCueBannerInGray)
{
    QFont f = edit->font();
    f.setPixelSize(22);
    f.setBold(true);
    edit->setFont(f);
    edit->SetCueBanner(QStringLiteral("IIII"));
    EXPECT_EQ(Darkest(Grab(), edit->TextRect()), Sys(clGray));
    edit->setFocus(Qt::TabFocusReason);
    VelSetCaretBlinkTime(kVelCaretNoBlink);
    const QImage focused = Grab();
    VelSetCaretBlinkTime(530);
    // Focused: no banner, only the caret's line.
    const QRect caret = TVelSystemCaret::ForThisThread().Rect();
    QImage withoutCaret = focused.copy(edit->TextRect().adjusted(caret.right() - 2, 0, 0, 0));
    EXPECT_EQ(Darkest(withoutCaret, withoutCaret.rect()), Sys(clWindow));
}

TEST_F(PaintTest, DisabledTextIsGrayText)
{
    QFont f = edit->font();
    f.setPixelSize(22);
    f.setBold(true);
    edit->setFont(f);
    edit->SetText(QStringLiteral("IIII"));
    struct Case {
        bool enabled;
        QRgb colour;
    };
    const Case cases[] = {{true, edit->palette().color(QPalette::Active, QPalette::Text).rgb()},
                          {false, Sys(clGrayText)}};
    for (const Case& c : cases) {
        edit->setEnabled(c.enabled);
        EXPECT_EQ(Darkest(Grab(), edit->TextRect()), c.colour) << c.enabled;
    }
}

TEST_F(PaintTest, TheHighlightStopsAtTheTextAreaEdge)
{
    // Blanks draw no ink, so the highlight is all one colour.
    edit->SetText(QString(200, QLatin1Char(' ')));
    edit->setFocus(Qt::TabFocusReason);
    edit->SetHideSelection(false);
    edit->Select(1, 200);
    const QImage image = Grab();
    const QRect text = edit->TextRect();
    const int y = text.top() + 5;
    // Off the caret, which stands at the start.
    EXPECT_EQ(image.pixel(text.left() + 2, y), Sys(clHighlight));
    EXPECT_EQ(image.pixel(text.right(), y), Sys(clHighlight));
    EXPECT_EQ(image.pixel(text.right() + 1, y), Sys(clWindow));
    EXPECT_EQ(image.pixel(text.left() - 1, y), Sys(clWindow));
}

TEST_F(PaintTest, WithHideSelectionTheUnfocusedSelectionIsNotHighlighted)
{
    edit->SetText(QStringLiteral("     "));
    edit->Select(2, 2);
    struct Case {
        bool hideSelection;
        bool shown;
    };
    for (const Case c : {Case{true, false}, Case{false, true}}) {
        edit->SetHideSelection(c.hideSelection);
        const QImage image = Grab();
        const int x = edit->CharPosToX(2) + 1;
        EXPECT_EQ(image.pixel(x, edit->TextRect().top()) == Sys(clHighlight), c.shown) << c.hideSelection;
    }
}

// In an edit taller than its line, text, highlight, caret and cue banner all hang from the top of
// the text area; the spare height stays below them.
TEST_F(PaintTest, TheLineHangsFromTheTopOfTheTextArea)
{
    edit->resize(201, 60);
    const QRect area = edit->TextRect();
    const int line = QFontMetrics(edit->font()).height();
    ASSERT_GT(area.height(), line + 10);
    const auto rowsOf = [](const QImage& image, const QRect& within, const auto& matches) {
        int first = -1, last = -1;
        for (int y = within.top(); y <= within.bottom(); ++y)
            for (int x = within.left(); x <= within.right(); ++x)
                if (matches(image.pixel(x, y))) {
                    first = first < 0 ? y : first;
                    last = y;
                    break;
                }
        return std::pair{first, last};
    };
    const auto ink = [&](QRgb c) { return qGray(c) < 128; };

    // Where the font puts its ink in a line box whose top is at 0.
    QImage reference(area.size(), QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter p(&reference);
        p.setFont(edit->font());
        p.setPen(Qt::black);
        p.drawText(reference.rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QStringLiteral("Hg"));
    }
    const auto inkRows = rowsOf(reference, reference.rect(), ink);
    ASSERT_GE(inkRows.first, 0);

    edit->SetCueBanner(QStringLiteral("Hg"));
    EXPECT_EQ(rowsOf(Grab(), area, [&](QRgb c) { return c == Sys(clGray); }).first, area.top() + inkRows.first)
        << "cue banner";
    edit->SetText(QStringLiteral("Hg"));
    EXPECT_EQ(rowsOf(Grab(), area, ink), std::pair(area.top() + inkRows.first, area.top() + inkRows.second)) << "text";

    edit->SetText(QStringLiteral("    "));
    edit->setFocus(Qt::TabFocusReason);
    edit->SetHideSelection(false);
    edit->Select(2, 2);
    VelSetCaretBlinkTime(kVelCaretNoBlink);
    const QImage focused = Grab();
    edit->Select(1, 0);
    const QImage withCaret = Grab();
    VelSetCaretBlinkTime(530);
    const QRect highlightColumns(edit->CharPosToX(2) + 2, area.top(), 2, area.height());
    EXPECT_EQ(rowsOf(focused, highlightColumns, [&](QRgb c) { return c == Sys(clHighlight); }),
              std::pair(area.top(), area.top() + line - 1))
        << "highlight";
    const QRect caretColumn(edit->CharPosToX(1), area.top(), 3, area.height());
    EXPECT_EQ(rowsOf(withCaret, caretColumn, [&](QRgb c) { return c != Sys(clWindow); }).first, area.top()) << "caret";
}

TEST_F(PaintTest, AutoSizeFitsTheHeightToTheFont)
{
    edit->SetAutoSize(true);
    for (const int pixels : {12, 16, 20, 28}) {
        QFont f = edit->font();
        f.setPixelSize(pixels);
        edit->setFont(f);
        const int line = QFontMetrics(f).height();
        EXPECT_EQ(edit->height(), line * 5 / 4 + 5) << pixels;
        EXPECT_EQ(edit->width(), 201);
    }
    // The window's font of the calculator measures 20 pixels a line: 30 pixels high.
    for (int pixels = 10; pixels < 30; ++pixels) {
        QFont f = edit->font();
        f.setPixelSize(pixels);
        if (QFontMetrics(f).height() != 20)
            continue;
        edit->setFont(f);
        EXPECT_EQ(edit->height(), 30);
        break;
    }
    // A drawn bevel takes its extent on both sides instead.
    edit->Bevel()->SetMode(bmStandard);
    edit->Bevel()->SetStandardStyle(lsLowered);
    edit->setFont(QFont());
    EXPECT_EQ(edit->height(), QFontMetrics(edit->font()).height() * 5 / 4 + 4);
}

TEST_F(PaintTest, AtTwiceTheScaleLinesStayWholeDevicePixels)
{
    edit->SetText(QStringLiteral("      "));
    edit->setFocus(Qt::TabFocusReason);
    edit->SetHideSelection(false);
    edit->Select(3, 2);
    VelSetCaretBlinkTime(kVelCaretNoBlink);
    QImage image(edit->size() * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    edit->render(&image);
    VelSetCaretBlinkTime(530);
    // The frame: each logical line is two device rows of one colour.
    const int x = 200;
    const TColor rows[] = {clBtnShadow, clBtnShadow, cl3DDkShadow, cl3DDkShadow, clWindow};
    for (int y = 0; y < 5; ++y)
        EXPECT_EQ(image.pixel(x, y), Sys(rows[y])) << y;
    // The highlight ends on an even device column, with nothing blended at its edge.
    const int y = (edit->TextRect().top() + 4) * 2;
    const int right = edit->CharPosToX(5) * 2;
    EXPECT_EQ(image.pixel(right - 1, y), Sys(clHighlight));
    EXPECT_EQ(image.pixel(right, y), Sys(clWindow));
    // The caret, at the selection's start, inverts two whole device columns.
    const QRect caret = TVelSystemCaret::ForThisThread().Rect();
    const int cx = caret.left() * 2, cy = (caret.top() + 2) * 2;
    EXPECT_NE(image.pixel(cx, cy), image.pixel(cx - 1, cy));
    EXPECT_EQ(image.pixel(cx, cy), image.pixel(cx + 1, cy));
    EXPECT_NE(image.pixel(cx + 2, cy), image.pixel(cx + 1, cy));
}

} // namespace
