#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class TForm1;

// The calculator's results as a screen reader hears them. A sighted user sees a result label
// change while typing elsewhere; a blind user is told without moving: once the keystroke, step or
// click that changed the results has been handled, the result lines that changed are said, the
// calculated quantity's first. The line of the input being typed in is left out, as its value was
// just heard. A Store says the row it stored, a Delete the row it removed and how many are left.
// Whatever leaves the texts as they were says nothing, and nothing is kept while nobody listens.
class TResultAnnouncer : public QObject {
    Q_OBJECT
public:
    // Follows the window's result labels from now on.
    explicit TResultAnnouncer(TForm1& form);

    // Row is the table row just filled by a Store, or just removed by a Delete.
    void Stored(int row);
    void Deleted(int row);

private:
    void LineChanged(int line, const QString& previous);
    void Say(const QString& message);
    void Flush();
    QString ChangedLines();

    TForm1& form_;
    // Each result line as it read before the changes not yet said; none when it has not changed.
    std::array<std::optional<QString>, 3> before_;
    QStringList messages_;
    bool flushing_ = false;
};

// The three result lines as one text: what the window's inputs give as their description, so a
// screen reader's "where am I" on an input tells the current result.
QString ResultsText(const TForm1& form);
