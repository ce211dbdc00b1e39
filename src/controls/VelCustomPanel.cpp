#include "VelCustomPanel.h"

namespace {

QWidgetList ChildWidgets(const QWidget* Parent)
{
    QWidgetList list;
    for (QObject* child : Parent->children())
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow())
            list.push_back(w);
    return list;
}

} // namespace

TVelCustomPanel::TVelCustomPanel(QWidget* parent) : TVelCustomControl(parent) {}

int TVelCustomPanel::ControlCount() const
{
    return static_cast<int>(ChildWidgets(this).size());
}

QWidget* TVelCustomPanel::Controls(int Index) const
{
    const QWidgetList list = ChildWidgets(this);
    return Index >= 0 && Index < list.size() ? list[Index] : nullptr;
}
