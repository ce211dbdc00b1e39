#include "VelCustomComponent.h"

TVelCustomComponent::TVelCustomComponent(QObject* Owner) : owner_(Owner) {}

void TVelCustomComponent::Changed()
{
    if (updateCount_ == 0 && OnChange)
        OnChange(this);
}

void TVelCustomComponent::LockChanges()
{
    ++updateCount_;
}

void TVelCustomComponent::UnlockChanges(bool Notify)
{
    if (updateCount_ > 0)
        --updateCount_;
    if (updateCount_ == 0 && Notify)
        Changed();
}
