#include "filelist/VideoFileInfo.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>

void ClearVideoFileInfo(TVideoFileInfo& info) {
    info = TVideoFileInfo{};
}

int64_t GetFileSizeSafe(const QString& fileName) {
    if (fileName.isEmpty())
        return 0;
    struct stat st {};
    if (::stat(QFile::encodeName(fileName).constData(), &st) != 0)
        return (errno == ENOENT || errno == ENOTDIR) ? 0 : -1;
    if (S_ISDIR(st.st_mode))
        return 0;
    return int64_t(st.st_size);
}
