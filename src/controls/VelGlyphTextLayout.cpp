#include "VelGlyphTextLayout.h"

#include "VelErrors.h"

TVelGlyphTextLayout::TVelGlyphTextLayout(QObject* Owner) : TVelGlyphTextLayout(Owner, agTopLeft) {}

TVelGlyphTextLayout::TVelGlyphTextLayout(QObject* Owner, TVelAlignment DefaultAlignment)
    : TVelObject(Owner), alignment_(DefaultAlignment)
{
}

void TVelGlyphTextLayout::SetAlignment(TVelAlignment Value)
{
    Store(alignment_, Value);
}

void TVelGlyphTextLayout::SetAlignText2Glyph(TVelTextArrange Value)
{
    Store(arrange_, Value);
}

void TVelGlyphTextLayout::SetOffset(int Index, int Value)
{
    if (Index < 0 || Index > 1 || offset_[Index] == Value)
        return;
    offset_[Index] = Value;
    Changed();
}

void TVelGlyphTextLayout::SetSpacing(int Value)
{
    Store(spacing_, Value);
}

void TVelGlyphTextLayout::CopyGlyphText(const TVelGlyphTextLayout& Source)
{
    alignment_ = Source.alignment_;
    arrange_ = Source.arrange_;
    offset_[0] = Source.offset_[0];
    offset_[1] = Source.offset_[1];
    spacing_ = Source.spacing_;
}

void TVelGlyphTextLayout::Assign(const QObject* Source)
{
    if (Source == this)
        return;
    const auto* layout = qobject_cast<const TVelGlyphTextLayout*>(Source);
    if (!layout)
        AssignError(Source);
    CopyGlyphText(*layout);
    Changed();
}

void TVelGlyphTextLayout::AssignError(const QObject* Source) const
{
    const QString from = Source ? QString::fromLatin1(Source->metaObject()->className()) : QStringLiteral("nil");
    throw EVelConvertError(
        QStringLiteral("Cannot assign a %1 to a %2").arg(from, QString::fromLatin1(metaObject()->className())));
}
