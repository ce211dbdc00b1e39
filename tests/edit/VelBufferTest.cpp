#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "VelDynLIFOBuffer.h"

namespace {

// Items are ints owned by the test; disposal is recorded instead of freeing.
struct TBufferFixture {
    // Declared before the buffer, so they outlive its final Clear.
    std::vector<std::unique_ptr<int>> storage;
    std::vector<int> disposed;
    TVelDynLIFOBuffer buffer;

    TBufferFixture()
    {
        buffer.OnDisposeItem = [this](QObject* sender, void* item) {
            EXPECT_EQ(sender, &buffer);
            disposed.push_back(*static_cast<int*>(item));
        };
    }
    bool Push(int v)
    {
        storage.push_back(std::make_unique<int>(v));
        return buffer.Push(storage.back().get());
    }
    int PopValue()
    {
        void* item = buffer.Pop();
        return item ? *static_cast<int*>(item) : -1;
    }
    std::vector<int> Iterate()
    {
        std::vector<int> seen;
        for (void* item = buffer.First(); !buffer.Eof(); item = buffer.Next())
            seen.push_back(*static_cast<int*>(item));
        return seen;
    }
};

} // namespace

TEST(VelDynLIFOBuffer, PopsNewestFirstAndIteratesOldestFirst)
{
    TBufferFixture f;
    EXPECT_TRUE(f.buffer.IsEmpty());
    EXPECT_EQ(f.buffer.Pop(), nullptr);
    for (int v : {1, 2, 3})
        EXPECT_TRUE(f.Push(v));
    EXPECT_EQ(f.buffer.Count(), 3);
    EXPECT_EQ(f.Iterate(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(f.buffer.Current(), nullptr);
    EXPECT_EQ(f.PopValue(), 3);
    EXPECT_EQ(f.PopValue(), 2);
    EXPECT_EQ(f.buffer.Count(), 1);
    EXPECT_TRUE(f.disposed.empty()) << "popped items belong to the caller";
}

TEST(VelDynLIFOBuffer, ClearDisposesFromTheTopDown)
{
    TBufferFixture f;
    for (int v : {1, 2, 3})
        f.Push(v);
    f.buffer.First();
    f.buffer.Clear();
    EXPECT_EQ(f.disposed, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(f.buffer.Count(), 0);
    EXPECT_TRUE(f.buffer.IsEmpty());
    EXPECT_TRUE(f.buffer.Eof());
}

TEST(VelDynLIFOBuffer, CapacityRule)
{
    struct Case {
        const char* name;
        int capacity;
        bool circle;
        std::vector<int> kept; // oldest first, after pushing 1..4
        std::vector<int> disposed;
    };
    const Case cases[] = {
        {"unlimited", -1, true, {1, 2, 3, 4}, {}},
        {"circle drops the oldest", 3, true, {2, 3, 4}, {1}},
        {"circle of one clears first", 1, true, {4}, {1, 2, 3}},
        {"without circle the new item is refused", 2, false, {1, 2}, {3, 4}},
        {"capacity zero holds nothing", 0, true, {}, {1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        TBufferFixture f;
        f.buffer.SetMaxEntries(c.capacity);
        f.buffer.SetCircleMode(c.circle);
        for (int v : {1, 2, 3, 4})
            f.Push(v);
        EXPECT_EQ(f.Iterate(), c.kept) << c.name;
        EXPECT_EQ(f.disposed, c.disposed) << c.name;
        EXPECT_EQ(f.buffer.Count(), static_cast<int>(c.kept.size())) << c.name;
        EXPECT_EQ(f.buffer.IsFull(), c.capacity != -1) << c.name;
        f.buffer.OnDisposeItem = nullptr;
        f.buffer.SetMaxEntries(-1);
        while (f.buffer.Pop()) {
        }
    }
}

TEST(VelDynLIFOBuffer, LoweringTheCapacityBelowTheCountStillBoundsTheBuffer)
{
    TBufferFixture f;
    for (int v : {1, 2, 3, 4})
        f.Push(v);
    f.buffer.SetMaxEntries(2);
    f.Push(5);
    EXPECT_EQ(f.Iterate(), (std::vector<int>{4, 5}));
    EXPECT_EQ(f.disposed, (std::vector<int>{1, 2, 3}));
}

TEST(VelDynLIFOBuffer, WithoutDisposalEventItemsAreFreed)
{
    // Runs clean under AddressSanitizer only if the buffer frees what it holds.
    TVelDynLIFOBuffer buffer;
    for (int i = 0; i < 3; ++i)
        buffer.Push(std::malloc(16));
    buffer.SetMaxEntries(2);
    buffer.Push(std::malloc(16));
    EXPECT_EQ(buffer.Count(), 2);
}
