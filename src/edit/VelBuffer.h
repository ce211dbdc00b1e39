#pragma once

#include <cstdint>
#include <functional>

#include "VelObject.h"

// A buffer of opaque item pointers. The buffer owns what it holds: items it drops go through
// OnDisposeItem, or, without one, are freed with std::free (so such items come from std::malloc).
class TVelBuffer : public TVelObject {
public:
    using TItemEvent = std::function<void(QObject* Sender, void* Item)>;
    using TItemSizeEvent = std::function<void(QObject* Sender, void* Item, int& Size)>;

    explicit TVelBuffer(QObject* Owner = nullptr);

    int Count() const { return count_; }
    // -1 = unlimited.
    int MaxEntries() const { return maxEntries_; }
    void SetMaxEntries(int Value) { maxEntries_ = Value; }

    // Iteration: First starts it and returns the first item; Next moves on; Current is the item at
    // the cursor; all three give nullptr once the iteration has run past the last item.
    virtual void* First() = 0;
    virtual void* Next() = 0;
    virtual void* Current() const = 0;
    virtual bool Eof() const = 0;
    virtual bool IsEmpty() const = 0;
    virtual bool IsFull() const;
    // Takes ownership of Item in every case; false when the buffer refused it (and disposed of it).
    virtual bool Push(void* Item) = 0;
    // Hands the item back to the caller, who owns it from then on; nullptr when empty.
    virtual void* Pop() = 0;
    virtual void Clear() = 0;

    TItemEvent OnDisposeItem;
    TItemSizeEvent OnItemSize;

protected:
    void DisposeItem(void* Item);
    void SetCount(int Value) { count_ = Value; }

private:
    int count_ = 0;
    int maxEntries_ = -1;
};
