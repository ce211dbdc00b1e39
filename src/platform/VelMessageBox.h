#pragma once

class QMessageBox;

// Names a message box's standard buttons in English, "OK", "Cancel", "Yes" and "No", whatever
// translation of Qt is loaded: the boxes' messages and questions are the program's own English
// texts, and a translated button beside them would make a box of two languages.
void VelKeepButtonTexts(QMessageBox& box);
