#pragma once

#include "core/Product.h"
#include "core/Types.h"

#include <QDateTime>
#include <QString>

// The directory of the running executable; everything the program reads at run time lies below.
extern QString AppDir;
// The one record of directories, tool locations and global options of the program.
extern TAppParams AppParams;

// File names of the tools below ToolsDir.
QString FFmpegToolFile();    // "FFmpeg/ffmpeg"
QString MediaInfoToolFile(); // "MediaInfo/libmediainfo.so.0"

// "/tmp/" becomes "/tmp"; the root stays "/".
QString WithoutTrailingSlash(QString path);

// The shared files of an installed program, `<prefix>/share/zorvane` for a program in
// `<prefix>/bin`; empty when `appDir` holds them itself (a portable copy or the build tree) or
// there is no such folder.
QString InstalledShareDir(const QString& appDir);

// Sets AppDir to `appDir` and every field of `params` to its default below it; the data, language
// files and shipped profiles of an installed program below its InstalledShareDir.
void InitAppParams(TAppParams& params, const QString& appDir);
// The same for the running executable's directory.
void InitAppParams(TAppParams& params);

// The usable encoder executable, or empty when none is found; stored in params.ffmpeg too.
// Looked for afresh on every call: the configured path, the tools folder, a shared copy described
// by a version file, then the `ffmpeg` on PATH.
QString GetFFmpegExe(TAppParams& params);
// The same for the MediaInfo library; the last resort is the system's libmediainfo.so.0.
QString GetMediaInfoDll(TAppParams& params);

// Finds a shared copy of a tool through its version file ("ffmpeg.ver", "MediaInfo.ver") in the
// folder "_common" beside the application folder, then in the parent folder itself.
QString FindSharedTool(const QString& startFolder, const QString& toolName, const QString& bits,
                       const QString& version);

// Name (not created) of a new temporary working folder for one batch.
QString GetTempWorkDir();
QString GetTempWorkDir(const QString& tempDir, const QDateTime& now);

// The start-up language rule: true unless the settings file exists and its MAIN/Left reads 0.
bool CheckIniFile(const TAppParams& params);
