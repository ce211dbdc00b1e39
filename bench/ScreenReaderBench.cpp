// What a screen reader costs a keystroke: one Up or Down on the calculator's Amp input through the
// whole path (the step, the reformat, Calculation, the result labels, the paint, then the event
// loop's turn, where the changed result is told) with a listener, against the same keystroke with
// nobody listening, in the same run. Without a listener the figure must match the plain
// keystroke's; with one, the edits' text events and the result's announcement are built and
// handed over (offscreen, Qt's own bridge and the bus are not in it). Compare the "per_key"
// figures, or the instruction counts of bench/keycost.sh.
#include <QApplication>

#include "WidgetSteps.h"

#include "Main.h"
#include "VelAnnouncement.h"
#include "VelEditAccessible.h"
#include "VelExtSpinEdit.h"

namespace {

TStepSession Calculator(bool listening)
{
    auto form = std::make_unique<TForm1>();
    TVelExtSpinEdit* amp = form->Amp;
    form->Resistance->SetValue(3.3);
    ShowExposed(*form, *amp);
    // The hooks stand for an assistive technology on the bus; each case sets them as it needs.
    SetVelAccessibleEventHook(listening ? [](QAccessibleEvent*) {} : TVelAccessibleEventHook());
    SetVelAnnouncementHook(listening ? [](QAccessibleInterface*, const QString&) {} : TVelAnnouncementHook());
    return {std::move(form), amp, [amp](long i) {
                SendKey(*amp, i % 2 ? Qt::Key_Down : Qt::Key_Up);
                PaintRequested();
                QCoreApplication::processEvents();
            }};
}

} // namespace

int main(int argc, char** argv)
{
    return StepBenchMain(argc, argv,
                         {
                             {"Up keystroke with a screen reader listening",
                              {"BM_KeystrokeScreenReaderListening", [] { return Calculator(true); }},
                              {"BM_KeystrokeNobodyListening", [] { return Calculator(false); }},
                              0},
                         });
}
