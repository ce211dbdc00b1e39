#include <memory>

#include "About.h"
#include "FormatSettings.h"
#include "Main.h"
#include "QtTranslations.h"
#include "VelClass.h"
#include "VelExceptionDisplay.h"
#include "VelorinApplication.h"

int main(int argc, char** argv)
{
    // The pictures live in the static calculator library; the linker keeps them only when
    // asked for by name.
    Q_INIT_RESOURCE(pictures);

    TVelorinApplication app(argc, argv);
    InstallQtTranslations();
    ReloadFormatSettings();
    WatchLocaleChanges();
    // Failures in timer callbacks reach the same error box as those of event handlers.
    VelSetExceptionDisplay([&app](QObject*, const std::exception_ptr& error) { ShowErrorBox(error, app.Title()); });
    VelApplication();

    // The About box is the main window's child so that it stays in front of it; it is freed
    // before the window all the same.
    auto form = std::make_unique<TForm1>();
    Form1 = form.get();
    auto about = std::make_unique<TAboutBox>(form.get());
    AboutBox = about.get();

    form->CenterOnDesktop();
    form->show();
    const int result = QApplication::exec();

    AboutBox = nullptr;
    about.reset();
    Form1 = nullptr;
    form.reset();
    VelFreeApplication();
    return result;
}
