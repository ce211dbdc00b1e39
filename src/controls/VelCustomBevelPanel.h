#pragma once

#include "VelCustomPanel.h"

// The panel that will carry a bevel as its border; the edit stands on it.
class TVelCustomBevelPanel : public TVelCustomPanel {
public:
    explicit TVelCustomBevelPanel(QWidget* parent = nullptr);
};
