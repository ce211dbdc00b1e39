#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The export's save dialog: keeps the chosen name and file type between showings, the way a
// dialog component on the window would, and shows a fresh QFileDialog each time.
class TSaveDialog : public QObject {
    Q_OBJECT

public:
    explicit TSaveDialog(QObject* parent = nullptr);

    // "*.csv", ".csv" or "csv": appended by the dialog to a name typed without extension.
    const QString& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(const QString& ext) { defaultExt_ = ext; }
    const QString& FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    // "description|pattern|description|pattern..."; several patterns of one entry are
    // separated by ";".
    const QString& Filter() const { return filter_; }
    void SetFilter(const QString& filter) { filter_ = filter; }
    // 1-based, as the entries are counted in Filter.
    int FilterIndex() const { return filterIndex_; }
    void SetFilterIndex(int index) { filterIndex_ = index; }
    const QString& InitialDir() const { return initialDir_; }
    void SetInitialDir(const QString& dir) { initialDir_ = dir; }
    // Empty leaves the dialog's own title.
    const QString& Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // Filter as QFileDialog name filters: "CSV (Comma Separated Value) (*.csv)".
    QStringList NameFilters() const;
    // DefaultExt without the leading "*." or ".".
    QString DefaultSuffix() const;
    // The folder the dialog opens in: the one of FileName when it names one, InitialDir otherwise.
    QString StartFolder() const;

    // Shows the dialog modally; true when the user confirmed a name, which then is in FileName
    // as a full path, with the chosen entry in FilterIndex. The dialog itself never asks about
    // overwriting; the caller decides that.
    bool Execute(QWidget* parent);

    // When set, Execute calls this instead of showing a dialog, so tests can play the user.
    static std::function<bool(TSaveDialog&)> ExecuteHook;

private:
    QString defaultExt_;
    QString fileName_;
    QString filter_;
    int filterIndex_ = 1;
    QString initialDir_;
    QString title_;
};
