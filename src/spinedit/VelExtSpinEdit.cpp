#include "VelExtSpinEdit.h"

TVelExtSpinEdit::TVelExtSpinEdit(QWidget* parent) : TVelCustomExtSpinEdit(parent) {}
