#include "VelCustomBevelPanel.h"

TVelCustomBevelPanel::TVelCustomBevelPanel(QWidget* parent)
    : TVelCustomPanel(parent)
{
}
