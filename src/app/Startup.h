#pragma once

#include "core/Types.h"

#include <QString>

// The start-up both programs share: application paths, the folder of the files the program writes,
// and the tools.

// The per-user folder: $XDG_CONFIG_HOME/zorvane, or ~/.config/zorvane.
QString UserConfigDir();

// The folder of zorvane.ini and the user's profiles: the program's own folder when it is writable
// (a portable copy), otherwise the per-user folder.
QString SettingsDir(const QString& appDir, bool appDirWritable, const QString& userConfigDir);

// Sets the application paths below `appDir` (the executable's folder when empty), moves the
// settings file, the user's profiles and the written reference to the per-user folder when the
// program is installed or its folder is not writable, and locates the encoder and the MediaInfo
// library.
void StartUp(TAppParams& params, const QString& appDir = {});
