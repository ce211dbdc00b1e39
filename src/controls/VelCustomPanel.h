#pragma once

#include "VelCustomControl.h"

// A library control that may hold child controls.
class TVelCustomPanel : public TVelCustomControl {
public:
    explicit TVelCustomPanel(QWidget* parent = nullptr);
};
