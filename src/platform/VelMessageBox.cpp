#include "VelMessageBox.h"

#include <QAbstractButton>
#include <QMessageBox>

void VelKeepButtonTexts(QMessageBox& box)
{
    static const struct {
        QMessageBox::StandardButton button;
        const char* text;
    } names[] = {
        {QMessageBox::Ok, "OK"}, {QMessageBox::Cancel, "Cancel"}, {QMessageBox::Yes, "Yes"}, {QMessageBox::No, "No"}};
    for (const auto& name : names)
        if (QAbstractButton* button = box.button(name.button))
            button->setText(QString::fromLatin1(name.text));
}
