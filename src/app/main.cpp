#include <QApplication>
#include <QWidget>

#include "FormatSettings.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ReloadFormatSettings();
    WatchLocaleChanges();
    QWidget window;
    window.setWindowTitle(QStringLiteral("Velorin"));
    window.resize(798, 521);
    window.show();
    return app.exec();
}
