#pragma once

#include <QString>

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

// True for a regular file that the current user may execute.
bool IsExecutableFile(const QString& path);

} // namespace Platform
