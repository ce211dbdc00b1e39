#include "VelClass.h"

#include <memory>

TVelApplication::TVelApplication() = default;

void TVelApplication::SetKeyboardState(std::uint8_t State)
{
    if (State == keyboardState_)
        return;
    keyboardState_ = State;
    if (OnKeyboardStateChange)
        OnKeyboardStateChange(this);
}

TVelApplication* VelApplication()
{
    static const std::unique_ptr<TVelApplication> instance = std::make_unique<TVelApplication>();
    return instance.get();
}
