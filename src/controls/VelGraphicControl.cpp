#include "VelGraphicControl.h"

TVelGraphicControl::TVelGraphicControl(QObject* Owner)
    : TVelBaseGraphicControl(Owner), bevel_(std::make_unique<TVelBevel>())
{
    bevel_->OnChange = [this](QObject* Sender) { SubObjectChanged(Sender); };
}

TVelGraphicControl::~TVelGraphicControl()
{
    bevel_->OnChange = nullptr;
}
