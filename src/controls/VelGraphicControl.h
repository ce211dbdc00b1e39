#pragma once

#include <memory>

#include "VelBaseGraphicControl.h"
#include "VelBevel.h"

// A windowless control with a bevel. The bevel has no owner window, so bmWindows is drawn (as
// lsLoweredExt) and takes two pixels on every side.
class TVelGraphicControl : public TVelBaseGraphicControl {
    Q_OBJECT

public:
    explicit TVelGraphicControl(QObject* Owner = nullptr);
    ~TVelGraphicControl() override;

    TVelBevel* Bevel() const { return bevel_.get(); }
    void SetBevel(const TVelBevel* Value) { bevel_->Assign(Value); }

private:
    std::unique_ptr<TVelBevel> bevel_;
};
