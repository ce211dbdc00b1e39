#include "About.h"

#include <QKeyEvent>
#include <QPushButton>

#include "FormDescription.h"

TAboutBox* AboutBox = nullptr;

namespace {

QFont AboutFont()
{
    QFont f;
    // Arial and its metric twin stand in where the classic face is missing, keeping the texts
    // inside the bounds they were laid out for.
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    f.setPixelSize(11);
    return f;
}

const TFormDescription<TAboutBox>& Description()
{
    static const TFormDescription<TAboutBox> description = {
        Control(&TAboutBox::Panel1, "Panel1", {8, 8, 281, 129}, 0, [](TPanel&) {}),
        ControlIn(&TAboutBox::Panel1, &TAboutBox::ProgramIcon, "ProgramIcon", {8, 8, 73, 65}, NoTab,
                  [](TImage& i) {
                      i.SetStretch(true);
                      i.SetPicture(LoadPicture(QStringLiteral(":/pictures/warning.png")));
                  }),
        ControlIn(&TAboutBox::Panel1, &TAboutBox::ProductName, "ProductName", At(88, 16), NoTab,
                  [](TLabel& l) { l.SetCaption(QStringLiteral("Velorin")); }),
        ControlIn(&TAboutBox::Panel1, &TAboutBox::Version, "Version", At(88, 40), NoTab,
                  [](TLabel& l) { l.SetCaption(QStringLiteral("Version 1.0")); }),
        ControlIn(&TAboutBox::Panel1, &TAboutBox::Copyright, "Copyright", At(8, 80), NoTab,
                  [](TLabel& l) { l.SetCaption(QStringLiteral("Copyright (c) 2026 Velorin developers")); }),
        ControlIn(&TAboutBox::Panel1, &TAboutBox::Comments, "Comments", {8, 104, 169, 34}, NoTab,
                  [](TLabel& l) {
                      l.SetAutoSize(false);
                      l.setWordWrap(true);
                      l.setAlignment(Qt::AlignLeft | Qt::AlignTop);
                      l.SetCaption(QStringLiteral("MIT licence; no warranty."));
                  }),
        Control(&TAboutBox::OKButton, "OKButton", {111, 140, 75, 29}, 1,
                [](QPushButton& b) {
                    b.setText(QStringLiteral("OK"));
                    b.setDefault(true);
                }),
        ControlIn(&TAboutBox::Panel1, &TAboutBox::Image1, "Image1", {184, 8, 105, 105}, NoTab,
                  [](TImage& i) { i.SetPicture(LoadPicture(QStringLiteral(":/pictures/emblem.png"))); }),
    };
    return description;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(::ProgramIcon());
    setFont(AboutFont());
    setFixedSize(298, 175);
    setModal(false);
    // Closing the main window must end the program even while this box is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    LoadForm(*this, Description());
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButtonClick(OKButton); });
}

void TAboutBox::OKButtonClick(QObject*)
{
    close();
}

void TAboutBox::ShowModeless()
{
    show();
    raise();
    activateWindow();
}

void TAboutBox::keyPressEvent(QKeyEvent* event)
{
    // The box is shown modeless and has no Cancel button: Escape is not a way to close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    // Centred over the main window the first time only; afterwards the box stays wherever it
    // was left.
    if (!placed_) {
        placed_ = true;
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        if (owner) {
            QRect frame = frameGeometry();
            frame.moveCenter(owner->frameGeometry().center());
            move(frame.topLeft());
        }
    }
    QDialog::showEvent(event);
}
