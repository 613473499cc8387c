#include "platform/Platform.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
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
    // The library stays loaded: the program asks for it to use it, and loading it twice costs
    // as much as loading it once.
    return result;
}

bool IsRegularFile(const QString& path) {
    if (path.isEmpty())
        return false;
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsWritableDir(const QString& path) {
    return QFileInfo(path).isDir() &&
           ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
}

bool IsExecutableFile(const QString& path) {
    return IsRegularFile(path) && ::access(QFile::encodeName(path).constData(), X_OK) == 0;
}

std::optional<TFileStamp> FileStamp(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return TFileStamp{qint64(st.st_size),
                      qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
                      quint64(st.st_ino), quint64(st.st_dev)};
}

bool SameFile(const QString& a, const QString& b) {
    const std::optional<TFileStamp> x = FileStamp(a);
    const std::optional<TFileStamp> y = FileStamp(b);
    return x && y && x->Inode == y->Inode && x->Device == y->Device;
}

TFileDates GetFileDates(const QString& path) {
    TFileDates dates;
    const QFileInfo info(path);
    if (!info.exists())
        return dates;
    dates.Creation = info.birthTime();
    dates.LastAccess = info.lastRead();
    dates.LastWrite = info.lastModified();
    dates.Read = dates.LastAccess.isValid();
    return dates;
}

bool SetFileDates(const QString& path, const TFileDates& dates) {
    if (!dates.Read)
        return false;
    const auto spec = [](const QDateTime& t) {
        timespec ts{};
        if (!t.isValid()) {
            ts.tv_nsec = UTIME_OMIT;
            return ts;
        }
        const qint64 ms = t.toMSecsSinceEpoch();
        ts.tv_sec = time_t(ms / 1000);
        ts.tv_nsec = long(ms % 1000) * 1000000;
        return ts;
    };
    const timespec times[2] = {spec(dates.LastAccess), spec(dates.LastWrite)};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

bool PowerOff() {
    return QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
}

namespace {
int ClosePipe[2] = {-1, -1};

void OnCloseSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(ClosePipe[1], &byte, 1);
}
} // namespace

int CloseSignalsFd() {
    if (ClosePipe[0] >= 0)
        return ClosePipe[0];
    if (::pipe2(ClosePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return -1;
    struct sigaction action {};
    action.sa_handler = OnCloseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
    return ClosePipe[0];
}

} // namespace Platform
