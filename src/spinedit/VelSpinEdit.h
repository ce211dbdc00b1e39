#pragma once

#include "VelCustomSpinEdit.h"

// The integer spin edit as forms use it. All behaviour is TVelCustomSpinEdit's.
class TVelSpinEdit : public TVelCustomSpinEdit {
    Q_OBJECT

public:
    explicit TVelSpinEdit(QWidget* parent = nullptr);
};
