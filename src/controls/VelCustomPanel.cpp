#include "VelCustomPanel.h"

TVelCustomPanel::TVelCustomPanel(QWidget* parent)
    : TVelCustomControl(parent)
{
}
