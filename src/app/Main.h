#pragma once

#include <QString>
#include <QWidget>
#include <functional>

#include "FormControls.h"

class QPushButton;
class StringGrid;
class TSaveDialog;
class TVelExtSpinEdit;
class TVelSpinEdit;
class TResultAnnouncer;

// Reports each handler of the main window as it starts: its name and its sender. Lets a test
// see exactly which handlers ran, start-up included.
using THandlerTrace = std::function<void(const QString& handler, QObject* Sender)>;

// The calculator's main window. Built from its description; FormCreate runs once when every
// control exists. The calculated quantity is RadioGroup1's ItemIndex, the inputs are the spin
// edits' values, the results are the labels' texts and the table's cells: the window keeps no
// other state.
class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr, THandlerTrace trace = {});

    TImage* Image1 = nullptr;
    TBevel* Bevel1 = nullptr;
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TLabel* Label3 = nullptr;
    TLabel* Label4 = nullptr;
    TLabel* Label5 = nullptr;
    TBevel* Bevel2 = nullptr;
    TLabel* Label6 = nullptr;
    TLabel* Label7 = nullptr;
    TLabel* Label8 = nullptr;
    TLabel* Label9 = nullptr;
    TBevel* Bevel3 = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    StringGrid* ResultSG = nullptr;
    TBitBtn* StoreBB = nullptr;
    TLabel* Label10 = nullptr;
    TButton* DeleteBB = nullptr;
    TVelExtSpinEdit* Volt = nullptr;
    TVelExtSpinEdit* Amp = nullptr;
    TVelExtSpinEdit* Resistance = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TBitBtn* ExportBB = nullptr;
    TBitBtn* PrintBB = nullptr;
    TBitBtn* AboutBB = nullptr;
    TBitBtn* ExitBB = nullptr;
    TVelSpinEdit* DecimalR = nullptr;
    TLabel* Label11 = nullptr;

    void Calculation(QObject* Sender);
    void RadioGroup1Click(QObject* Sender);
    void FormCreate(QObject* Sender);
    void DeleteBBClick(QObject* Sender);
    void ExportBBClick(QObject* Sender);
    void PrintBBClick(QObject* Sender);
    void ExitBBClick(QObject* Sender);
    void AboutBBClick(QObject* Sender);
    void DecimalRChange(QObject* Sender);

    // Places the window in the middle of the desktop's available area.
    void CenterOnDesktop();

private:
    void Trace(const char* handler, QObject* Sender) const;

    THandlerTrace trace_;
    TResultAnnouncer* announcer_ = nullptr;
};

extern TForm1* Form1;

// Ohm's law on the three inputs, the way the calculator computes it: the product or quotient in
// extended precision, rounded once to double. A zero divisor raises EVelMathError rather than
// giving an infinity. Mode 0 computes the voltage, 1 the amperage, 2 the resistance; any other
// mode leaves the values as they are.
struct TOhmValues {
    double V = 0, A = 0, R = 0;
};
TOhmValues SolveOhm(int mode, TOhmValues in);

// The three result label texts, with "s" on the unit only for values above 1.
QString VoltageText(double v);
QString AmperageText(double a);
QString ResistanceText(double r);
