#include <gtest/gtest.h>

#include <vector>

#include "VelCustomComponent.h"
#include "VelObject.h"

namespace {

// A setting object with one property, written the way every setting object's setters are.
class TSampleSettings : public TVelObject {
public:
    using TVelObject::TVelObject;
    int Width() const { return width_; }
    void SetWidth(int Value)
    {
        if (Value == width_)
            return;
        width_ = Value;
        Changed();
    }

private:
    int width_ = 0;
};

class TSampleComponent : public TVelCustomComponent {
public:
    using TVelCustomComponent::TVelCustomComponent;
    void SetValue(int Value)
    {
        if (Value == value_)
            return;
        value_ = Value;
        Changed();
    }

private:
    int value_ = 0;
};

struct TChangeLog {
    std::vector<QObject*> senders;
    TNotifyEvent Handler()
    {
        return [this](QObject* sender) { senders.push_back(sender); };
    }
};

} // namespace

TEST(VelObject, AssigningTheHeldValueDoesNotNotifyTheOwner)
{
    TSampleSettings settings;
    TChangeLog log;
    settings.OnChange = log.Handler();
    settings.SetWidth(0);
    EXPECT_TRUE(log.senders.empty());
    settings.SetWidth(3);
    EXPECT_EQ(log.senders, std::vector<QObject*>{&settings});
}

TEST(VelObject, BracketNotifiesOnceOrNotAtAll)
{
    struct Case {
        bool notify;
        std::size_t expected;
    };
    for (const Case c : {Case{true, 1}, Case{false, 0}}) {
        TSampleSettings settings;
        TChangeLog log;
        settings.OnChange = log.Handler();
        settings.LockChanges();
        settings.SetWidth(1);
        settings.SetWidth(2);
        EXPECT_TRUE(log.senders.empty());
        settings.UnlockChanges(c.notify);
        EXPECT_EQ(log.senders.size(), c.expected) << "notify " << c.notify;
        EXPECT_FALSE(settings.Updating());
    }
}

TEST(VelObject, NestedBracketEndsAtTheFirstUnlock)
{
    TSampleSettings settings;
    TChangeLog log;
    settings.OnChange = log.Handler();
    settings.LockChanges();
    settings.LockChanges();
    settings.UnlockChanges(false);
    EXPECT_FALSE(settings.Updating());
    settings.SetWidth(5);
    EXPECT_EQ(log.senders.size(), 1u);
}

TEST(VelObject, NestedObjectReachesTheOwnerAsOneChangeOfTheOuterObject)
{
    TSampleSettings outer;
    TSampleSettings inner(&outer);
    TChangeLog log;
    outer.OnChange = log.Handler();
    inner.OnChange = [&outer](QObject* sender) { outer.SubChanged(sender); };

    inner.SetWidth(4);
    EXPECT_EQ(log.senders, std::vector<QObject*>{&outer});
    EXPECT_EQ(inner.Owner(), &outer);

    outer.LockChanges();
    inner.SetWidth(5);
    EXPECT_EQ(log.senders.size(), 1u);
}

TEST(VelObject, AbsentOnChangeIsSkipped)
{
    TSampleSettings settings;
    settings.SetWidth(1);
    settings.UnlockChanges(true);
    EXPECT_EQ(settings.Width(), 1);
}

TEST(VelCustomComponent, NestedBracketsNeedAsManyUnlocks)
{
    TSampleComponent component;
    TChangeLog log;
    component.OnChange = log.Handler();
    component.LockChanges();
    component.LockChanges();
    component.SetValue(1);
    component.UnlockChanges(true);
    EXPECT_TRUE(log.senders.empty());
    EXPECT_TRUE(component.ChangesLocked());
    component.UnlockChanges(true);
    EXPECT_EQ(log.senders, std::vector<QObject*>{&component});
    EXPECT_FALSE(component.ChangesLocked());
}

TEST(VelCustomComponent, OuterUnlockWithoutNotifyStaysSilent)
{
    TSampleComponent component;
    TChangeLog log;
    component.OnChange = log.Handler();
    component.LockChanges();
    component.LockChanges();
    component.UnlockChanges(true);
    component.UnlockChanges(false);
    EXPECT_TRUE(log.senders.empty());
    component.SetValue(2);
    EXPECT_EQ(log.senders.size(), 1u);
}

TEST(VelCustomComponent, SurplusUnlockDoesNotUnderflow)
{
    TSampleComponent component;
    TChangeLog log;
    component.OnChange = log.Handler();
    component.UnlockChanges(true);
    EXPECT_EQ(log.senders.size(), 1u);
    component.LockChanges();
    component.SetValue(3);
    EXPECT_EQ(log.senders.size(), 1u) << "one LockChanges must still lock after a surplus unlock";
}
