#include "FormAccessible.h"

#include <QAccessibleWidget>

#include "FormControls.h"
#include "Main.h"
#include "ResultAnnouncer.h"
#include "VelCustomExtSpinEdit.h"
#include "VelEditAccessible.h"
#include "VelSpinEditAccessible.h"

namespace {

TForm1* FormOf(const QWidget* widget)
{
    return widget ? qobject_cast<TForm1*>(widget->parentWidget()) : nullptr;
}

QList<QAccessibleInterface*> ResultLines(const TForm1& form)
{
    QList<QAccessibleInterface*> lines;
    for (TLabel* label : {form.Label6, form.Label7, form.Label8})
        lines << QAccessible::queryAccessibleInterface(label);
    return lines;
}

bool IsResultLine(const TForm1& form, const QObject* object)
{
    return object && (object == form.Label6 || object == form.Label7 || object == form.Label8);
}

// Screen readers list a program's windows by role and name; a plain widget would be reported as
// a filler without a name. Its children are the widget's, less the result lines: they sit in
// their group.
class TFormAccessible : public QAccessibleWidget {
public:
    explicit TFormAccessible(TForm1* form) : QAccessibleWidget(form, QAccessible::Window) {}

    int childCount() const override { return int(Children().size()); }
    QAccessibleInterface* child(int index) const override { return Children().value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return int(Children().indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    QList<QAccessibleInterface*> Children() const
    {
        const auto& form = static_cast<const TForm1&>(*widget());
        QList<QAccessibleInterface*> children;
        for (int i = 0, n = QAccessibleWidget::childCount(); i < n; ++i) {
            QAccessibleInterface* c = QAccessibleWidget::child(i);
            if (c && !IsResultLine(form, c->object()))
                children << c;
        }
        return children;
    }
};

// The bevel around the result lines, seen as their group and named by the caption above it.
class TResultsAccessible : public QAccessibleWidget {
public:
    explicit TResultsAccessible(QWidget* frame) : QAccessibleWidget(frame, QAccessible::Grouping) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? Form().Label9->text() : QAccessibleWidget::text(t);
    }
    int childCount() const override { return 3; }
    QAccessibleInterface* child(int index) const override { return ResultLines(Form()).value(index); }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return int(ResultLines(Form()).indexOf(const_cast<QAccessibleInterface*>(child)));
    }

private:
    const TForm1& Form() const { return *FormOf(widget()); }
};

// One result line, inside that group.
class TResultLineAccessible : public QAccessibleWidget {
public:
    explicit TResultLineAccessible(TLabel* label) : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const TLabel*>(widget())->text() : QAccessibleWidget::text(t);
    }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(FormOf(widget())->Bevel3);
    }
};

// An input of the window: a spin box like every number edit, described by the current result.
class TInputAccessible : public TVelSpinEditAccessible {
public:
    using TVelSpinEditAccessible::text;
    using TVelSpinEditAccessible::TVelSpinEditAccessible;

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Description ? ResultsText(*FormOf(widget())) : TVelSpinEditAccessible::text(t);
    }
};

QAccessibleInterface* FormFactory(const QString& /*className*/, QObject* object)
{
    if (auto* form = qobject_cast<TForm1*>(object))
        return new TFormAccessible(form);
    auto* widget = qobject_cast<QWidget*>(object);
    const TForm1* form = FormOf(widget);
    if (!form)
        return nullptr;
    if (widget == form->Bevel3)
        return new TResultsAccessible(widget);
    if (IsResultLine(*form, widget))
        return new TResultLineAccessible(static_cast<TLabel*>(widget));
    if (auto* input = qobject_cast<TVelCustomExtSpinEdit*>(widget))
        return new TInputAccessible(input);
    return nullptr;
}

} // namespace

void InstallFormAccessibility()
{
    static const bool installed = [] {
        // Qt asks the factory installed last first: the edits' own must come before.
        VelInstallEditAccessibility();
        QAccessible::installFactory(FormFactory);
        return true;
    }();
    (void)installed;
}
