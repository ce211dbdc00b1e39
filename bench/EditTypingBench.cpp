// Typing into our edit against typing into Qt's line edit, in the same run: Home, a digit,
// Backspace and End, over and over, in a number the edit already holds, each keystroke a real key
// event followed by the paint it asks for (End brings the caret back, so every key moves it). The goal is our edit at
// no more than 0.6 times the line edit's cost per keystroke (compare the two "per_key" figures, or the instruction
// counts of bench/keycost.sh).
#include <QLineEdit>

#include "WidgetSteps.h"

#include "VelCustomEdit.h"

namespace {

template <class Edit, class Fill> TStepSession Typing(Fill fill)
{
    auto window = std::make_unique<QWidget>();
    auto* edit = new Edit(window.get());
    edit->setGeometry(10, 10, 200, 24);
    fill(*edit, QStringLiteral("1234.5"));
    window->resize(220, 44);
    ShowExposed(*window, *edit);
    SendKey(*edit, Qt::Key_End);
    PaintRequested();
    return {std::move(window), edit, [edit](long i) {
                switch (i % 4) {
                case 0: SendKey(*edit, Qt::Key_Home); break;
                case 1: SendKey(*edit, Qt::Key_7, QStringLiteral("7")); break;
                case 2: SendKey(*edit, Qt::Key_Backspace); break;
                default: SendKey(*edit, Qt::Key_End); break;
                }
                PaintRequested();
            }};
}

} // namespace

int main(int argc, char** argv)
{
    return StepBenchMain(
        argc, argv,
        {{"typing into a plain edit",
          {"BM_TypingVelEdit",
           [] { return Typing<TVelCustomEdit>([](TVelCustomEdit& e, const QString& t) { e.SetText(t); }); }},
          {"BM_TypingQLineEdit",
           [] { return Typing<QLineEdit>([](QLineEdit& e, const QString& t) { e.setText(t); }); }},
          0.6}});
}
