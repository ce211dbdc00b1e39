#pragma once

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

#include "ProgramIcon.h"
#include "VelTypes.h"

class QRadioButton;

// The plain toolkit controls the two windows are made of, each a thin layer over its Qt widget
// that adds just what the windows' descriptions set and their handlers read.

// A picture from the program's resources for the screen it will be shown on: on a screen at a
// scale above 1 the "@2x" drawing when there is one, which Qt then shows at the picture's own
// size. A 1-bit picture is turned into plain RGB so it stays black on white: should it ever reach
// a painter as a bitmap, Qt would draw its set bits in the pen's colour on a transparent ground.
QPixmap LoadPicture(const QString& path);

// A caption that keeps its size fitted to its text, so that rewriting a result label never
// cuts it off.
class TLabel : public QLabel {
    Q_OBJECT
public:
    explicit TLabel(QWidget* parent = nullptr);
    void SetCaption(const QString& text);
    QString Caption() const { return text(); }
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);

    // After SetCaption has changed the text, with the text it replaced.
    std::function<void(const QString& previous)> OnCaptionChange;

protected:
    void changeEvent(QEvent* event) override;

private:
    void FitToText();

    bool autoSize_ = true;
    // The text the label's size was measured for; none once the font or style has changed.
    std::optional<QString> fittedTo_;
};

// A lowered 3D rectangle drawn around a group of controls; it paints no background, so the
// controls it frames show through.
class TBevel : public QFrame {
    Q_OBJECT
public:
    explicit TBevel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A picture. AutoSize fits the control to the picture; Stretch scales the picture to the
// control; with neither the picture sits unscaled at the top left. A screen whose scale the
// picture was not drawn for gets it smoothly resampled to whole device pixels.
class TImage : public QLabel {
    Q_OBJECT
public:
    explicit TImage(QWidget* parent = nullptr);
    void SetPicture(const QPixmap& picture);
    QPixmap Picture() const { return picture_; }
    void SetAutoSize(bool on);
    void SetStretch(bool on);
    // A black-on-white picture, drawn in the palette's ink and paper (VelInkOnPaper).
    void SetInkOnPaper(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Apply();
    QImage Shown(const QSize& deviceSize) const;

    QPixmap picture_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool inkOnPaper_ = false;
    // The last picture as shown, with what it was made for.
    mutable QImage shown_;
    mutable qint64 shownPalette_ = 0;
};

// A raised bevel inside a lowered one, filled with the window's colour.
class TPanel : public QFrame {
    Q_OBJECT
public:
    explicit TPanel(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A push button that Enter presses as well as Space, as buttons did on the desktop the window was
// designed for; Qt leaves Enter to a dialog's default button. Dialogs keep plain QPushButtons so
// their default button keeps its own rule.
class TButton : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// A button that could carry a glyph; the calculator's carry none, so it is a TButton.
class TBitBtn : public TButton {
    Q_OBJECT
public:
    using TButton::TButton;
};

// Radio buttons in one column inside a captioned frame. ItemIndex is the selected item (-1 for
// none). OnClick fires when the user selects another item by mouse, keyboard or an assistive
// technology, never for an assignment from code, so loading the window's description runs no
// handler.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    void SetItems(const QStringList& items);
    int Count() const { return int(buttons_.size()); }
    QRadioButton* Button(int index) const { return buttons_.value(index); }

    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index);

    TNotifyEvent OnClick;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ButtonClicked(int index);
    void ArrangeButtons();

    QVector<QRadioButton*> buttons_;
    int itemIndex_ = -1;
    bool assigning_ = false;
};
