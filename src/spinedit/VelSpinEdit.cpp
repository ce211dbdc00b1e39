#include "VelSpinEdit.h"

TVelSpinEdit::TVelSpinEdit(QWidget* parent) : TVelCustomSpinEdit(parent) {}
