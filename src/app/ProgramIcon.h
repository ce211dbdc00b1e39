#pragma once

#include <QIcon>

// The program's icon, picture 1 drawn at each desktop icon size. Built once; no size is decoded
// until something asks for it, which on most platforms is only the desktop's window list.
QIcon ProgramIcon();
