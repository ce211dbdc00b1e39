// The program in the user's language: Qt's own dialogs speak it, and everything the program says
// itself stays as it is. ctest runs these once more with LANG set to German and to French, the way
// a user there starts the program; the system locale need not be generated for Qt to read it.
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "ApplicationTestSupport.h"
#include "DesktopToolSupport.h"
#include "Export.h"
#include "Main.h"
#include "QtTranslations.h"
#include "SaveDialog.h"
#include "ScopedFormat.h"
#include "VelApplicationTitle.h"
#include "VelErrors.h"
#include "VelExtSpinEdit.h"
#include "VelorinApplication.h"

namespace {

// Qt's words in the save dialog: title, the three labels, the two buttons.
const struct {
    QLocale::Language language;
    QStringList words;
} kDialogWords[] = {
    {QLocale::C, {"Save As", "Look in:", "File &name:", "Files of type:", "&Save", "Cancel"}},
    {QLocale::English, {"Save As", "Look in:", "File &name:", "Files of type:", "&Save", "Cancel"}},
    {QLocale::German, {"Speichern unter", "Suchen in:", "Datei&name:", "Dateien des Typs:", "S&peichern", "Abbrechen"}},
    {QLocale::French,
     {"Enregistrer sous", "Voir dans :", "&Nom de fichier :", "Fichiers de type :", "&Enregistrer", "Annuler"}},
};

class UserLanguage : public ::testing::Test {
protected:
    // As the program's start-up does.
    void SetUp() override { translator_ = InstallQtTranslations(); }
    void TearDown() override
    {
        if (translator_)
            QCoreApplication::removeTranslator(translator_);
        delete translator_;
    }

    QTranslator* translator_ = nullptr;
};

QString ChildText(const QWidget* parent, const char* name)
{
    const auto* label = parent->findChild<QLabel*>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("(none)");
}

TEST_F(UserLanguage, SaveDialogSpeaksTheDesktopsLanguageAndShowsTheProgramsFileTypes)
{
    const QLocale::Language language = QLocale().language();
    const auto* row = std::find_if(std::begin(kDialogWords), std::end(kDialogWords),
                                   [&](const auto& r) { return r.language == language; });
    if (row == std::end(kDialogWords))
        GTEST_SKIP() << "no words for " << QLocale::languageToString(language).toStdString();
    const QString translation = QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_" +
                                QLocale(language).name().section('_', 0, 0) + ".qm";
    VELORIN_REQUIRE(language == QLocale::C || language == QLocale::English || QFile::exists(translation),
                    "qt6-translations-l10n");

    QTemporaryDir dir;
    TSaveDialog dialog;
    dialog.SetDefaultExt("*.csv");
    dialog.SetFileName("Results");
    dialog.SetFilter("CSV (Comma Separated Value)|*.csv|TXT (Text File)|*.txt|Any (Any type)|*.*");
    dialog.SetInitialDir(dir.path() + "/");
    QStringList words, fileTypes;
    QTimer::singleShot(0, [&] {
        auto* fd = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(fd, nullptr);
        const auto* buttons = fd->findChild<QDialogButtonBox*>();
        ASSERT_NE(buttons, nullptr);
        words = QStringList{fd->windowTitle(),
                            ChildText(fd, "lookInLabel"),
                            ChildText(fd, "fileNameLabel"),
                            ChildText(fd, "fileTypeLabel"),
                            buttons->button(QDialogButtonBox::Save)->text(),
                            buttons->button(QDialogButtonBox::Cancel)->text()};
        if (const auto* types = fd->findChild<QComboBox*>("fileTypeCombo"))
            for (int i = 0; i < types->count(); ++i)
                fileTypes << types->itemText(i);
        fd->reject();
    });
    EXPECT_FALSE(dialog.Execute(nullptr));
    EXPECT_EQ(words.join(" | ").toStdString(), row->words.join(" | ").toStdString());
    EXPECT_EQ(fileTypes.join(" | ").toStdString(),
              "CSV (Comma Separated Value) (*.csv) | TXT (Text File) (*.txt) | Any (Any type) (*.*)");
}

// Qt names the standard buttons of a message box in the loaded language; the program's boxes keep
// their own English words, as the messages around them are English.
TEST_F(UserLanguage, MessageBoxesKeepTheirOwnWords)
{
    const struct {
        const char* name;
        std::function<void()> show;
        QStringList expected; // caption, text, buttons
    } boxes[] = {
        {"overwrite question",
         [] { ConfirmOverwrite(nullptr, "/tmp/Results.csv"); },
         {"Warning", "This File exist, do you want to overwrite it?", "OK", "Cancel"}},
        {"error box",
         [] { ShowErrorBox(std::make_exception_ptr(EVelInOutError(101)), "Velorin"); },
         {"Velorin", "Disk full.", "OK"}},
        {"separator warning",
         [] {
             ScopedFormat clash(QChar('.'), QChar('.'));
             TVelExtSpinEdit edit;
         },
         {VelApplicationTitle(), "Decimal and thousand separators must differ!", "OK"}},
    };
    for (const auto& box : boxes) {
        SCOPED_TRACE(box.name);
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(shown, nullptr);
            seen << shown->windowTitle() << shown->text();
            for (const QAbstractButton* button : shown->buttons())
                seen << button->text();
            shown->done(QMessageBox::Cancel);
        });
        box.show();
        EXPECT_EQ(seen.join(" | ").toStdString(), box.expected.join(" | ").toStdString());
    }
}

TEST_F(UserLanguage, ExportedBytesDoNotDependOnTheLanguage)
{
    InitPictures();
    ScopedFormat classic(QChar('.'), QChar(','));
    QTemporaryDir dir;
    const QString path = dir.filePath("Results.csv");
    TSaveDialog::ExecuteHook = [&](TSaveDialog& d) {
        d.SetFileName(path);
        return true;
    };
    TForm1 form;
    form.Amp->SetValue(2);
    form.Resistance->SetValue(3.3);
    form.StoreBB->click();
    form.ExportBB->click();
    TSaveDialog::ExecuteHook = nullptr;

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("Voltage,Amperage,Resistance\r\n6.6,2,3.3\r\n,,\r\n"));
}

} // namespace
