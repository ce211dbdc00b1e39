#include "VelBuffer.h"

#include <cstdlib>

TVelBuffer::TVelBuffer(QObject* Owner) : TVelObject(Owner) {}

bool TVelBuffer::IsFull() const
{
    return maxEntries_ != -1 && count_ >= maxEntries_;
}

void TVelBuffer::DisposeItem(void* Item)
{
    if (OnDisposeItem)
        OnDisposeItem(this, Item);
    else
        std::free(Item);
}
