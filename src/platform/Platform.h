#pragma once

#include <QDateTime>
#include <QString>
#include <optional>

// The operating-system layer. One implementation file per platform; CMake picks it.
namespace Platform {

// Directory of the running executable, without a trailing separator.
QString ExecutableDir();

// Full path of the file the dynamic loader takes for the library `soname`, or empty when the
// loader finds none.
QString SystemLibraryPath(const QString& soname);

// True for a regular file (or a link to one); false for folders, FIFOs, devices and missing paths.
// Readers check this first so that a FIFO given as a configuration file can never block them.
bool IsRegularFile(const QString& path);

// True for a folder in which the current user may create files.
bool IsWritableDir(const QString& path);

// True for a regular file that the current user may execute.
bool IsExecutableFile(const QString& path);

// A file's times as the file system gives them; creation time only where the system keeps it.
struct TFileDates {
    bool Read = false;
    QDateTime Creation, LastAccess, LastWrite;
};
TFileDates GetFileDates(const QString& path);
// Sets access and modification times (Linux cannot set a creation time).
bool SetFileDates(const QString& path, const TFileDates& dates);

// Turns SIGTERM, SIGHUP and SIGINT into a byte on a pipe and returns the pipe's read end (-1 on
// failure), so the event loop can close the program as its close button does.
int CloseSignalsFd();

// What tells one state of a file from another: a file with the same stamp has not changed.
struct TFileStamp {
    qint64 Size = 0;
    qint64 ModifiedNs = 0;
    quint64 Inode = 0;
    quint64 Device = 0;
    bool operator==(const TFileStamp&) const = default;
};
// The stamp of the file a path names (links followed); nothing when there is none.
std::optional<TFileStamp> FileStamp(const QString& path);
// Whether two paths name the same file (hard links, other spellings); false when either is none.
bool SameFile(const QString& a, const QString& b);

// Asks the system to power off.
bool PowerOff();

} // namespace Platform
