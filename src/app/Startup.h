#pragma once

#include <QIcon>

// What the program sets up before its first window: its name (the per-user data folder
// follows it), the application title of message boxes that have none of their own, Qt's
// own texts in Chinese, and the Chinese font. The title is not Qt's display name: Qt would
// append that to every window's caption.
void setUpApplication();

// The program's picture in every size it comes in.
QIcon programIcon();

// Loads Qt's Chinese translations, so standard buttons and dialogs speak Chinese; false when
// they are not installed.
bool installQtTranslations();
