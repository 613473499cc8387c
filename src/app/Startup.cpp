#include "app/Startup.h"

#include "core/AppParams.h"
#include "platform/Platform.h"

#include <QDir>

QString UserConfigDir() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/zorvane");
}

QString SettingsDir(const QString& appDir, bool appDirWritable, const QString& userConfigDir) {
    return appDirWritable ? appDir : userConfigDir;
}

void StartUp(TAppParams& params, const QString& appDir) {
    if (appDir.isEmpty())
        InitAppParams(params);
    else
        InitAppParams(params, appDir);
    // An installed program never writes below its prefix, even one the user may write to.
    const bool writable = !params.Installed && Platform::IsWritableDir(AppDir);
    const QString dir = SettingsDir(AppDir, writable, UserConfigDir());
    if (dir != AppDir) {
        params.IniName = dir + QStringLiteral("/zorvane.ini");
        params.ProfilesDir = dir + QStringLiteral("/profiles");
        params.LastProfileFile = params.ProfilesDir + QStringLiteral("/__Last.ini");
        params.AudioBitratesTxt = dir + QStringLiteral("/audio_bitrates.txt");
    }
    GetFFmpegExe(params);
    GetMediaInfoDll(params);
}
