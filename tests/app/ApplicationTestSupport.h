#pragma once

#include <QString>
#include <ostream>

// The pictures are compiled into the static calculator library; a test binary has to ask for
// them by name, just as the program's main() does.
inline void InitPictures()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(pictures);
        return true;
    }();
    (void)done;
}
