#pragma once

#include <cstddef>
#include <deque>

#include "VelBuffer.h"

// Last in, first out. Iteration runs from the oldest item up to the newest. When a capacity is
// set, circle mode makes room by dropping the oldest item; without it a push to a full buffer is
// refused.
class TVelDynLIFOBuffer : public TVelBuffer {
public:
    explicit TVelDynLIFOBuffer(QObject* Owner = nullptr);
    ~TVelDynLIFOBuffer() override;

    TVelDynLIFOBuffer(const TVelDynLIFOBuffer&) = delete;
    TVelDynLIFOBuffer& operator=(const TVelDynLIFOBuffer&) = delete;

    bool CircleMode() const { return circleMode_; }
    void SetCircleMode(bool Value) { circleMode_ = Value; }

    void* Top() const { return items_.empty() ? nullptr : items_.back(); }

    void* First() override;
    void* Next() override;
    void* Current() const override;
    bool Eof() const override;
    bool IsEmpty() const override { return items_.empty(); }
    bool Push(void* Item) override;
    void* Pop() override;
    void Clear() override;

private:
    void DropOldest();

    std::deque<void*> items_; // front = oldest
    std::size_t cursor_ = 0;
    bool circleMode_ = true;
};
