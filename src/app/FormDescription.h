#pragma once

#include <QObject>
#include <QRect>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <map>
#include <type_traits>
#include <vector>

// A window is written down as a table of its controls: for each the field it lands in, its
// name, parent, bounds, tab position and a setter for its properties. LoadForm() builds the
// table in order inside the library's loading bracket:
//
//   1. every control is created (later ones stacking above earlier ones), stored in its field,
//      named and placed; a library control is marked loading before anything is assigned to it;
//   2. its properties are assigned; events are wired here too, and cannot fire yet because a
//      loading library control raises no change events;
//   3. once all controls exist, Loaded() runs for every library control in creation order;
//   4. the tab order is chained per parent.
//
// The form's own start-up handler runs after LoadForm() returns, so it sees every control.

// Controls of the library take part in the loading bracket; plain Qt widgets do not need to.
template <class W>
concept TLoadable = requires(W& w)
{
    w.BeginLoading();
    w.Loaded();
};

struct TBounds {
    int Left = 0, Top = 0;
    int Width = -1, Height = -1; // -1: the control sizes itself
};

inline constexpr TBounds At(int left, int top)
{
    return {left, top, -1, -1};
}
inline constexpr int NoTab = -1;

// One created control, as the loader needs it after creation.
struct TLoadedControl {
    QWidget* Widget = nullptr; // null for non-visual components
    QWidget* Parent = nullptr;
    int TabOrder = NoTab;
    std::function<void()> Loaded; // empty for controls outside the bracket
};

template <class Form> struct TControlEntry {
    std::function<TLoadedControl(Form& form)> Create;
};

template <class Form> using TFormDescription = std::vector<TControlEntry<Form>>;

namespace form_detail {

// Property setters take the control, and the window too when they wire its handlers.
template <class Form, class W, class Setup> void ApplySetup(const Setup& setup, W& w, Form& form)
{
    if constexpr (std::is_invocable_v<const Setup&, W&, Form&>)
        setup(w, form);
    else
        setup(w);
}

template <class W, class Form, class Setup>
TLoadedControl Make(Form& form, QWidget* parent, W* Form::*field, const char* name, TBounds bounds, int tabOrder,
                    const Setup& setup)
{
    auto* w = new W(parent);
    form.*field = w;
    w->setObjectName(QString::fromLatin1(name));
    if constexpr (TLoadable<W>)
        w->BeginLoading();
    if (bounds.Width >= 0)
        w->setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
    else
        w->move(bounds.Left, bounds.Top);
    ApplySetup(setup, *w, form);

    TLoadedControl made{w, parent, tabOrder, {}};
    if constexpr (TLoadable<W>)
        made.Loaded = [w] { w->Loaded(); };
    return made;
}

} // namespace form_detail

// A control whose parent is the window itself.
template <class Form, class W, class Setup>
TControlEntry<Form> Control(W* Form::*field, const char* name, TBounds bounds, int tabOrder, Setup setup)
{
    return {[=](Form& form) {
        return form_detail::Make(form, static_cast<QWidget*>(&form), field, name, bounds, tabOrder, setup);
    }};
}

// A control placed inside another control of the same window, created earlier.
template <class Form, class P, class W, class Setup>
TControlEntry<Form> ControlIn(P* Form::*parentField, W* Form::*field, const char* name, TBounds bounds, int tabOrder,
                              Setup setup)
{
    return {[=](Form& form) {
        return form_detail::Make(form, static_cast<QWidget*>(form.*parentField), field, name, bounds, tabOrder, setup);
    }};
}

// A non-visual component owned by the window.
template <class Form, class C, class Setup>
TControlEntry<Form> Component(C* Form::*field, const char* name, Setup setup)
{
    return {[=](Form& form) {
        auto* c = new C(&form);
        form.*field = c;
        c->setObjectName(QString::fromLatin1(name));
        form_detail::ApplySetup(setup, *c, form);
        return TLoadedControl{};
    }};
}

template <class Form> void LoadForm(Form& form, const TFormDescription<Form>& description)
{
    std::vector<TLoadedControl> made;
    made.reserve(description.size());
    for (const TControlEntry<Form>& entry : description)
        made.push_back(entry.Create(form));

    for (const TLoadedControl& c : made)
        if (c.Loaded)
            c.Loaded();

    // Qt 6.4 leaves the chain alone when the first widget of a pair is the window's last one;
    // a stand-in kept at the end of the chain while ordering means no control is ever last.
    auto* endOfChain = new QWidget(&form);
    endOfChain->setFocusPolicy(Qt::TabFocus);
    std::map<QWidget*, std::vector<const TLoadedControl*>> tabbed;
    for (const TLoadedControl& c : made)
        if (c.Widget && c.TabOrder != NoTab)
            tabbed[c.Parent].push_back(&c);
    for (auto& [parent, controls] : tabbed) {
        std::stable_sort(controls.begin(), controls.end(),
                         [](const TLoadedControl* a, const TLoadedControl* b) { return a->TabOrder < b->TabOrder; });
        for (std::size_t i = 1; i < controls.size(); ++i)
            QWidget::setTabOrder(controls[i - 1]->Widget, controls[i]->Widget);
    }
    delete endOfChain;
}
