#include "app/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QString DesktopExecArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    quoted.replace(u'%', QStringLiteral("%%"));
    // The Exec value is a string of the desktop file first: its own backslashes are escaped.
    return quoted.replace(u'\\', QStringLiteral("\\\\"));
}

namespace {
// A plain string value of a desktop entry: one line, backslashes escaped.
QString EntryString(QString text) {
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
    return text;
}
} // namespace

QString DesktopEntryText(const QString& exePath, const QString& workDir, const QString& description,
                         const QString& iconPath) {
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Version=1.0\n"
                                  "Name=Zorvane\n");
    text += QStringLiteral("Comment=") + EntryString(description) + u'\n';
    text += QStringLiteral("Exec=") + DesktopExecArgument(exePath) + u'\n';
    text += QStringLiteral("Path=") + EntryString(workDir) + u'\n';
    if (!iconPath.isEmpty())
        text += QStringLiteral("Icon=") + EntryString(iconPath) + u'\n';
    text += QStringLiteral("Terminal=false\n"
                           "Categories=AudioVideo;Video;\n");
    return text;
}

TShortcutResult CreateDesktopShortcut(const QString& desktopDir, const QString& exePath,
                                      const QString& description, const QString& iconPath) {
    if (desktopDir.isEmpty())
        return TShortcutResult::NoDesktopFolder;
    const QString path = desktopDir + u'/' + QString::fromUtf16(ShortcutFileName);
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return TShortcutResult::AlreadyThere;
    if (!QDir().mkpath(desktopDir))
        return TShortcutResult::Failed;
    QSaveFile file(path);
    const QByteArray bytes =
        DesktopEntryText(exePath, QFileInfo(exePath).absolutePath(), description, iconPath)
            .toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return TShortcutResult::Failed;
    // Desktops start only entries the user may execute.
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner | QFile::ExeUser);
    return TShortcutResult::Created;
}
