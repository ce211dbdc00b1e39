#include "VelObject.h"

TVelObject::TVelObject(QObject* Owner) : owner_(Owner) {}

void TVelObject::Changed()
{
    if (!updating_ && OnChange)
        OnChange(this);
}

void TVelObject::SubChanged(QObject* /*Sender*/)
{
    Changed();
}

void TVelObject::LockChanges()
{
    updating_ = true;
}

void TVelObject::UnlockChanges(bool Notify)
{
    updating_ = false;
    if (Notify)
        Changed();
}
