#pragma once

#include <QDialog>

#include "FormControls.h"

class QPushButton;

// The product box: created hidden at start-up, shown modeless by the main window's About
// button, hidden again by OK, Enter or its close command. It lives until the program ends.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Shows the box without blocking the main window; a second call only brings it forward.
    void ShowModeless();

    TPanel* Panel1 = nullptr;
    TImage* ProgramIcon = nullptr;
    TLabel* ProductName = nullptr;
    TLabel* Version = nullptr;
    TLabel* Copyright = nullptr;
    TLabel* Comments = nullptr;
    QPushButton* OKButton = nullptr;
    TImage* Image1 = nullptr;

    void OKButtonClick(QObject* Sender);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

extern TAboutBox* AboutBox;
