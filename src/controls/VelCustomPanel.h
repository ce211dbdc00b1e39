#pragma once

#include "VelCustomControl.h"

// A library control that may hold child controls.
class TVelCustomPanel : public TVelCustomControl {
    Q_OBJECT

public:
    explicit TVelCustomPanel(QWidget* parent = nullptr);

    // Direct child widgets, in creation order.
    int ControlCount() const;
    QWidget* Controls(int Index) const;
};
