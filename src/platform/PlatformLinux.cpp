#include "platform/Platform.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

QString ExecutableDir() {
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFileInfo(exe).absolutePath();
}

QString SystemLibraryPath(const QString& soname) {
    const QByteArray name = QFile::encodeName(soname);
    // Ask the loader itself, so LD_LIBRARY_PATH, the cache and the default folders are honoured
    // exactly as they would be when the library is loaded for use.
    void* handle = dlopen(name.constData(), RTLD_LAZY | RTLD_LOCAL | RTLD_NOLOAD);
    if (handle == nullptr)
        handle = dlopen(name.constData(), RTLD_LAZY | RTLD_LOCAL);
    if (handle == nullptr)
        return {};
    QString result;
    link_map* map = nullptr;
    if (dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr)
        result = QFileInfo(QFile::decodeName(map->l_name)).absoluteFilePath();
    dlclose(handle);
    return result;
}

bool IsRegularFile(const QString& path) {
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsExecutableFile(const QString& path) {
    return IsRegularFile(path) && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

} // namespace Platform
