#include "core/AppParams.h"

#include "core/IniFile.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

QString AppDir;
TAppParams AppParams;

namespace {

QString Below(const QString& dir, const QString& name) {
    return dir + u'/' + name;
}

// "/opt/zorvane/." and "/opt/zorvane/" both become "/opt/zorvane".
QString WithoutTrailingSeparator(QString path) {
    if (path.endsWith(u"/."))
        path.chop(1);
    return WithoutTrailingSlash(path);
}

// The absolute form of a configured path; relative paths start at the current directory.
QString Absolute(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
}

// Every version file named `fileName` in `root` and its folders down to three levels below it,
// ordered by the full path of their folders (so `root` itself comes first).
QStringList VersionFiles(const QString& root, const QString& fileName) {
    QStringList folders;
    const auto walk = [&](auto&& self, const QString& folder, int depth) -> void {
        folders.append(folder);
        if (depth == 3)
            return;
        const QDir dir(folder);
        const QStringList children =
            dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks);
        for (const QString& child : children)
            self(self, dir.filePath(child), depth + 1);
    };
    if (QFileInfo(root).isDir())
        walk(walk, root, 0);
    std::sort(folders.begin(), folders.end(), [](const QString& a, const QString& b) {
        const int c = QString::compare(a, b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList files;
    for (const QString& folder : folders) {
        const QDir dir(folder);
        const QStringList found = dir.entryList({fileName}, QDir::Files | QDir::Hidden);
        for (const QString& name : found)
            files.append(dir.filePath(name));
    }
    return files;
}

// The first version file below `root` that describes the expected tool decides: its folder's tool
// file when that exists, otherwise nothing.
QString SearchVersionFiles(const QString& root, const QString& versionFile, const QString& toolFile,
                           const QString& tool, const QString& bits, const QString& version) {
    for (const QString& path : VersionFiles(root, versionFile)) {
        const TIniFile ini(path);
        if (!ini.SectionExists(QStringLiteral("MAIN")))
            continue;
        if (ini.ReadString(QStringLiteral("MAIN"), QStringLiteral("tool"), {}).toUpper() != tool ||
            ini.ReadString(QStringLiteral("MAIN"), QStringLiteral("bits"), {}).toUpper() != bits ||
            ini.ReadString(QStringLiteral("MAIN"), QStringLiteral("ver"), {}).toUpper() != version)
            continue;
        const QString candidate = QFileInfo(path).dir().filePath(toolFile);
        return Platform::IsRegularFile(candidate) ? candidate : QString();
    }
    return {};
}

struct TToolRule {
    QString TAppParams::*Field;
    QString ToolFile; // below ToolsDir
    QString ToolName; // name in the version files
    QString Version;
};

QString LocateTool(TAppParams& params, const TToolRule& rule, const QString& systemFallback) {
    QString result = Absolute(params.*rule.Field);
    if (!Platform::IsRegularFile(result))
        result = Below(params.ToolsDir, rule.ToolFile);
    // Shared copies serve portable copies kept side by side; an installed program would walk
    // its whole prefix (/usr three levels deep) at every start, so it does not look.
    if (!Platform::IsRegularFile(result) && !params.Installed)
        result = FindSharedTool(AppDir, rule.ToolName, BuildBits(), rule.Version);
    if (!Platform::IsRegularFile(result))
        result = systemFallback;
    if (!Platform::IsRegularFile(result))
        result.clear();
    params.*rule.Field = result;
    return result;
}

} // namespace

QString WithoutTrailingSlash(QString path) {
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString FFmpegToolFile() {
    return QStringLiteral("FFmpeg/ffmpeg");
}
QString MediaInfoToolFile() {
    return QStringLiteral("MediaInfo/libmediainfo.so.0");
}

QString InstalledShareDir(const QString& appDir) {
    for (const char16_t* beside : {u"lang", u"data"})
        if (QFileInfo(Below(appDir, QString::fromUtf16(beside))).isDir())
            return {}; // a portable copy or a build tree
    const QString share = QDir::cleanPath(appDir + QStringLiteral("/../share/zorvane"));
    return QFileInfo(share).isDir() ? share : QString();
}

void InitAppParams(TAppParams& params, const QString& appDir) {
    AppDir = WithoutTrailingSeparator(appDir);
    params = TAppParams{};
    const QString installedShare = InstalledShareDir(AppDir);
    params.Installed = !installedShare.isEmpty();
    params.ShareDir = params.Installed ? installedShare : AppDir;
    params.ToolsDir = Below(AppDir, QStringLiteral("tools"));
    params.LangDir = Below(params.ShareDir, QStringLiteral("lang"));
    params.DataDir = Below(params.ShareDir, QStringLiteral("data"));
    params.ffmpeg = Below(params.ToolsDir, FFmpegToolFile());
    params.MediaInfoDll = Below(params.ToolsDir, MediaInfoToolFile());
    params.DirListFile = Below(AppDir, QStringLiteral("directories.txt"));
    params.LastDir = AppDir;
    params.LanguageIni.clear();
    params.OverwritePrompt = true;
    params.IniName = Below(AppDir, QStringLiteral("zorvane.ini"));
    params.FourccTagsFile = Below(params.DataDir, QStringLiteral("fourcc_video_tags.txt"));
    params.AudioBitratesTxt = Below(params.DataDir, QStringLiteral("audio_bitrates.txt"));
    params.ResolutionTxt = Below(params.DataDir, QStringLiteral("resolutions.txt"));
    params.ProfilesDir = Below(AppDir, QStringLiteral("profiles"));
    params.ShippedProfilesDir = Below(params.ShareDir, QStringLiteral("profiles"));
    params.LastProfileFile = Below(params.ProfilesDir, QStringLiteral("__Last.ini"));
    params.ColorProgressDark = 0x00683F2D;
    params.ColorProgressLight = 0x00FF0000;
    params.ColorOK = 0x00E06C1F;
    params.ColorError = 0x001D35E2;
    params.DragAcceptDirectories = true;
    params.OpenFileAfterIconClick = true;
    params.FileAnalysis = TFileAnalysis::faFull;
}

void InitAppParams(TAppParams& params) {
    InitAppParams(params, Platform::ExecutableDir());
}

QString FindSharedTool(const QString& startFolder, const QString& toolName, const QString& bits,
                       const QString& version) {
    const QString tool = toolName.toUpper();
    QString versionFile;
    QString toolFile;
    if (tool == u"FFMPEG") {
        versionFile = QStringLiteral("ffmpeg.ver");
        toolFile = QStringLiteral("ffmpeg");
    } else if (tool == u"MEDIAINFO") {
        versionFile = QStringLiteral("MediaInfo.ver");
        toolFile = QStringLiteral("libmediainfo.so.0");
    } else {
        return {};
    }
    const QString start = WithoutTrailingSlash(startFolder);
    const qsizetype cut = start.lastIndexOf(u'/');
    const QString parent = cut > 0 ? start.left(cut) : (cut == 0 ? QStringLiteral("/") : start);
    const QString b = bits.toUpper();
    const QString v = version.toUpper();
    QString found =
        SearchVersionFiles(Below(parent == u"/" ? QString() : parent, QStringLiteral("_common")),
                           versionFile, toolFile, tool, b, v);
    if (found.isEmpty())
        found = SearchVersionFiles(parent, versionFile, toolFile, tool, b, v);
    return found;
}

QString GetFFmpegExe(TAppParams& params) {
    static const TToolRule rule{&TAppParams::ffmpeg, FFmpegToolFile(), QStringLiteral("ffmpeg"),
                                QString::fromUtf16(FFmpegToolVersion)};
    return LocateTool(params, rule, QStandardPaths::findExecutable(QStringLiteral("ffmpeg")));
}

QString GetMediaInfoDll(TAppParams& params) {
    static const TToolRule rule{&TAppParams::MediaInfoDll, MediaInfoToolFile(),
                                QStringLiteral("MediaInfo"),
                                QString::fromUtf16(MediaInfoToolVersion)};
    // The loader is asked only when nothing of our own was found.
    QString result = LocateTool(params, rule, QString());
    if (result.isEmpty()) {
        params.MediaInfoDll = Platform::SystemLibraryPath(QStringLiteral("libmediainfo.so.0"));
        if (!Platform::IsRegularFile(params.MediaInfoDll))
            params.MediaInfoDll.clear();
        result = params.MediaInfoDll;
    }
    return result;
}

QString GetTempWorkDir(const QString& tempDir, const QDateTime& now) {
    return WithoutTrailingSlash(tempDir) + QStringLiteral("/Ostrel_Zorvane_") +
           now.toString(QStringLiteral("yyyy-MM-dd@hh_mm_ss.zzz"));
}

QString GetTempWorkDir() {
    return GetTempWorkDir(QDir::tempPath(), QDateTime::currentDateTime());
}

bool CheckIniFile(const TAppParams& params) {
    const TIniFile ini(params.IniName);
    if (!ini.FileExisted())
        return true;
    return ini.ReadBool(QStringLiteral("MAIN"), QStringLiteral("Left"), true);
}
