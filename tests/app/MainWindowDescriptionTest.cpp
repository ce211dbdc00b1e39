#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>

#include "FormDescription.h"

namespace {

// A window whose controls write down what the loader does to them.
class ProbeForm;

class Probe : public QWidget {
public:
    explicit Probe(QWidget* parent);
    void BeginLoading();
    void Loaded();
    void Set(const char* what);

    bool loading = false;

private:
    QStringList& log_;
};

class ProbeForm : public QWidget {
public:
    Probe* First = nullptr;
    QWidget* Box = nullptr;
    Probe* Inner = nullptr;
    QPushButton* Button = nullptr;
    QObject* Component = nullptr;
    QStringList log;
};

Probe::Probe(QWidget* parent) : QWidget(parent), log_(static_cast<ProbeForm*>(parent->window())->log) {}

void Probe::BeginLoading()
{
    loading = true;
    log_.append(objectName() + QStringLiteral(" begin"));
}

void Probe::Loaded()
{
    loading = false;
    log_.append(objectName() + QStringLiteral(" loaded"));
}

void Probe::Set(const char* what)
{
    log_.append(objectName() + QLatin1Char(' ') + QLatin1String(what) +
                (loading ? QStringLiteral(" while loading") : QString()));
}

TEST(MainWindowDescription, AssignsPropertiesWhileLoadingAndFinishesInCreationOrder)
{
    ProbeForm form;
    const TFormDescription<ProbeForm> description = {
        Control(&ProbeForm::First, "First", {1, 2, 30, 40}, 1, [](Probe& p) { p.Set("set"); }),
        Control(&ProbeForm::Box, "Box", {50, 0, 100, 100}, NoTab, [](QWidget&) {}),
        ControlIn(&ProbeForm::Box, &ProbeForm::Inner, "Inner", At(5, 6), NoTab,
                  [](Probe& p, ProbeForm& f) { p.Set(f.First ? "set after First" : "set"); }),
        Control(&ProbeForm::Button, "Button", {0, 50, 75, 25}, 0, [](QPushButton&) {}),
        Component(&ProbeForm::Component, "Component", [](QObject&) {}),
    };
    LoadForm(form, description);

    EXPECT_EQ(form.log, (QStringList{"First begin", "First set while loading", "Inner begin",
                                     "Inner set after First while loading", "First loaded", "Inner loaded"}));
    EXPECT_EQ(form.First->geometry(), QRect(1, 2, 30, 40));
    EXPECT_EQ(form.Inner->parentWidget(), form.Box);
    EXPECT_EQ(form.Inner->pos(), QPoint(5, 6));
    EXPECT_EQ(form.Component->parent(), &form);
    EXPECT_EQ(form.findChild<QPushButton*>(QStringLiteral("Button")), form.Button);
    // Later controls lie above earlier ones.
    EXPECT_EQ(form.children().indexOf(form.Button), form.children().indexOf(form.First) + 2);
}

TEST(MainWindowDescription, ChainsTheTabOrderByTabPositionNotByCreation)
{
    ProbeForm form;
    const TFormDescription<ProbeForm> description = {
        Control(&ProbeForm::First, "First", {0, 0, 10, 10}, 1, [](Probe& p) { p.setFocusPolicy(Qt::TabFocus); }),
        Control(&ProbeForm::Button, "Button", {0, 20, 10, 10}, 0, [](QPushButton&) {}),
    };
    LoadForm(form, description);
    EXPECT_EQ(form.Button->nextInFocusChain(), form.First);
}

} // namespace
