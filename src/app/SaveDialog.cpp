#include "SaveDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

std::function<bool(TSaveDialog&)> TSaveDialog::ExecuteHook;

TSaveDialog::TSaveDialog(QObject* parent) : QObject(parent) {}

QStringList TSaveDialog::NameFilters() const
{
    const QStringList parts = filter_.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters.append(QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified()));
    }
    return filters;
}

QString TSaveDialog::DefaultSuffix() const
{
    QString suffix = defaultExt_;
    if (suffix.startsWith(QLatin1Char('*')))
        suffix.remove(0, 1);
    if (suffix.startsWith(QLatin1Char('.')))
        suffix.remove(0, 1);
    // "*" alone, or a pattern such as "c*", is no extension anyone can append.
    if (suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?')))
        return {};
    return suffix;
}

QString TSaveDialog::StartFolder() const
{
    const QFileInfo name(fileName_);
    if (!fileName_.isEmpty() && name.isAbsolute())
        return name.absolutePath();
    return initialDir_;
}

bool TSaveDialog::Execute(QWidget* parent)
{
    if (ExecuteHook)
        return ExecuteHook(*this);

    QFileDialog dialog(parent, title_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    const QStringList filters = NameFilters();
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(filterIndex_ - 1, filters.first()));
    }
    dialog.setDefaultSuffix(DefaultSuffix());
    const QString folder = StartFolder();
    if (!folder.isEmpty())
        dialog.setDirectory(folder);
    if (!fileName_.isEmpty())
        dialog.selectFile(QFileInfo(fileName_).fileName());

    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return false;
    fileName_ = QDir::toNativeSeparators(chosen.first());
    if (const qsizetype index = filters.indexOf(dialog.selectedNameFilter()); index >= 0)
        filterIndex_ = static_cast<int>(index) + 1;
    return true;
}
