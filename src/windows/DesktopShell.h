#pragma once

#include <QString>

// What the desktop does with files and folders.

// Opens a file or folder with the desktop's program for it.
void OpenPath(const QString& path);
// Shows the file selected in the desktop's file manager (the FileManager1 service), or opens
// its folder when no file manager offers that.
void ShowInFileManager(const QString& path);
