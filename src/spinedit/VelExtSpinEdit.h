#pragma once

#include "VelCustomExtSpinEdit.h"

// The float spin edit as forms use it. All behaviour is TVelCustomExtSpinEdit's.
class TVelExtSpinEdit : public TVelCustomExtSpinEdit {
    Q_OBJECT

public:
    explicit TVelExtSpinEdit(QWidget* parent = nullptr);
};
