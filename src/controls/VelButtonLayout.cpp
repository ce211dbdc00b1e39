#include "VelButtonLayout.h"

#include <algorithm>

TVelButtonLayout::TVelButtonLayout(QObject* Owner) : TVelGlyphTextLayout(Owner, agCenter) {}

void TVelButtonLayout::SetArrow(bool Value)
{
    Store(arrow_, Value);
}

void TVelButtonLayout::SetArrowColor(TColor Value)
{
    Store(arrowColor_, Value);
}

void TVelButtonLayout::SetArrowIndent(int Value)
{
    Store(arrowIndent_, Value);
}

void TVelButtonLayout::SetArrowPosition(TVelArrowPosition Value)
{
    Store(arrowPosition_, Value);
}

void TVelButtonLayout::SetArrowSize(int Value)
{
    Value = std::clamp(Value, MinArrowSize, MaxArrowSize);
    if (Value == arrowSize_)
        return;
    arrowSize_ = Value;
    Changed();
}

void TVelButtonLayout::Assign(const QObject* Source)
{
    if (Source == this)
        return;
    const auto* layout = qobject_cast<const TVelGlyphTextLayout*>(Source);
    if (!layout)
        AssignError(Source);
    CopyGlyphText(*layout);
    if (const auto* button = qobject_cast<const TVelButtonLayout*>(Source)) {
        arrow_ = button->arrow_;
        arrowColor_ = button->arrowColor_;
        arrowIndent_ = button->arrowIndent_;
        arrowPosition_ = button->arrowPosition_;
        arrowSize_ = button->arrowSize_;
    }
    Changed();
}
