#include "ResultAnnouncer.h"

#include <utility>

#include "FormControls.h"
#include "Main.h"
#include "StringGrid.h"
#include "VelAnnouncement.h"
#include "VelExtSpinEdit.h"

namespace {

const QString kLineSeparator = QStringLiteral(", ");

} // namespace

QString ResultsText(const TForm1& form)
{
    return form.Label6->text() + kLineSeparator + form.Label7->text() + kLineSeparator + form.Label8->text();
}

TResultAnnouncer::TResultAnnouncer(TForm1& form) : QObject(&form), form_(form)
{
    TLabel* const labels[] = {form.Label6, form.Label7, form.Label8};
    for (int line = 0; line < 3; ++line)
        labels[line]->OnCaptionChange = [this, line](const QString& previous) { LineChanged(line, previous); };
}

void TResultAnnouncer::LineChanged(int line, const QString& previous)
{
    if (!VelAnnouncementsHeard())
        return;
    std::optional<QString>& before = before_[static_cast<std::size_t>(line)];
    if (!before)
        before = previous;
    Say({});
}

void TResultAnnouncer::Stored(int row)
{
    if (!VelAnnouncementsHeard())
        return;
    const StringGrid& grid = *form_.ResultSG;
    QStringList values;
    for (int col = 0; col < grid.ColCount(); ++col)
        values << grid.Cells(col, 0) + u' ' + grid.Cells(col, row);
    Say(QStringLiteral("Stored in row %1: %2").arg(row).arg(values.join(kLineSeparator)));
}

void TResultAnnouncer::Deleted(int row)
{
    if (!VelAnnouncementsHeard())
        return;
    const int left = form_.ResultSG->RowCount() - 2;
    const QString rows = left == 0   ? QStringLiteral("no rows left")
                         : left == 1 ? QStringLiteral("1 row left")
                                     : QStringLiteral("%1 rows left").arg(left);
    Say(QStringLiteral("Deleted row %1, %2").arg(row).arg(rows));
}

// Messages wait until the event that caused them has been handled: a mode change runs the
// calculation more than once, and the screen reader has the typed character or the new focus to
// say first.
void TResultAnnouncer::Say(const QString& message)
{
    if (!message.isEmpty())
        messages_ << message;
    if (flushing_)
        return;
    flushing_ = true;
    QMetaObject::invokeMethod(this, &TResultAnnouncer::Flush, Qt::QueuedConnection);
}

void TResultAnnouncer::Flush()
{
    flushing_ = false;
    const QString lines = ChangedLines();
    if (!lines.isEmpty())
        messages_.prepend(lines);
    QAccessibleInterface* focus = VelFocusedAccessible();
    for (const QString& message : std::exchange(messages_, {}))
        VelAnnounce(focus, message);
}

QString TResultAnnouncer::ChangedLines()
{
    const TLabel* const labels[] = {form_.Label6, form_.Label7, form_.Label8};
    const QWidget* const inputs[] = {form_.Volt, form_.Amp, form_.Resistance};
    const int calculated = form_.RadioGroup1->ItemIndex();
    QStringList lines;
    for (int line : {calculated, 0, 1, 2}) {
        if (line < 0 || line > 2)
            continue;
        const std::optional<QString> before = std::exchange(before_[static_cast<std::size_t>(line)], std::nullopt);
        if (before && *before != labels[line]->text() && !inputs[line]->hasFocus())
            lines << labels[line]->text();
    }
    return lines.join(kLineSeparator);
}
