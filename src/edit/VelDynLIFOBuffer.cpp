#include "VelDynLIFOBuffer.h"

TVelDynLIFOBuffer::TVelDynLIFOBuffer(QObject* Owner) : TVelBuffer(Owner) {}

TVelDynLIFOBuffer::~TVelDynLIFOBuffer()
{
    Clear();
}

void* TVelDynLIFOBuffer::First()
{
    cursor_ = 0;
    return Current();
}

void* TVelDynLIFOBuffer::Next()
{
    if (cursor_ < items_.size())
        ++cursor_;
    return Current();
}

void* TVelDynLIFOBuffer::Current() const
{
    return cursor_ < items_.size() ? items_[cursor_] : nullptr;
}

bool TVelDynLIFOBuffer::Eof() const
{
    return cursor_ >= items_.size();
}

bool TVelDynLIFOBuffer::Push(void* Item)
{
    if (IsFull()) {
        // A capacity of 0 holds nothing, circle mode or not.
        if (!circleMode_ || MaxEntries() == 0) {
            DisposeItem(Item);
            return false;
        }
        if (MaxEntries() == 1) {
            Clear();
        } else {
            // Lowering the capacity below the count leaves more than one item to drop.
            while (!items_.empty() && Count() >= MaxEntries())
                DropOldest();
        }
    }
    items_.push_back(Item);
    SetCount(Count() + 1);
    return true;
}

void* TVelDynLIFOBuffer::Pop()
{
    if (items_.empty())
        return nullptr;
    void* item = items_.back();
    items_.pop_back();
    SetCount(Count() - 1);
    if (cursor_ > items_.size())
        cursor_ = items_.size();
    return item;
}

void TVelDynLIFOBuffer::Clear()
{
    while (!items_.empty()) {
        void* item = items_.back();
        items_.pop_back();
        SetCount(Count() - 1);
        DisposeItem(item);
    }
    cursor_ = 0;
}

void TVelDynLIFOBuffer::DropOldest()
{
    void* item = items_.front();
    items_.pop_front();
    SetCount(Count() - 1);
    if (cursor_ > 0)
        --cursor_;
    DisposeItem(item);
}
