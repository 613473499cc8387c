#pragma once

#include "filelist/VideoFileInfo.h"
#include "platform/Platform.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <optional>

// Full analyses of files kept in memory, each with the stamp (size, modification time, inode) of
// the file it describes: an unchanged file is not analysed again, a changed one is. Shared by the
// threads that analyse and the window that reads.
class TAnalysisCache {
public:
    // The kept analysis of the file when the file is still as it was then.
    std::optional<TVideoFileInfo> Find(const QString& path) const;
    void Store(const QString& path, const Platform::TFileStamp& stamp, const TVideoFileInfo& info);
    void Remove(const QString& path);
    int Size() const;

private:
    struct TEntry {
        Platform::TFileStamp Stamp;
        TVideoFileInfo Info;
    };
    mutable QMutex Mutex;
    QHash<QString, TEntry> Entries;
};

// GetVideoFileInfo through the cache: a kept analysis of an unchanged file, else a new one, kept.
void GetVideoFileInfoCached(TAnalysisCache& cache, const QString& fileName,
                            const QString& ffmpegExe, const QString& mediaInfoDll,
                            TVideoFileInfo& info);

// Full analyses of many files, side by side on `threads` threads, in the files' order. Analyses
// found in `cache` are reused, new ones are kept there (when given).
QList<TVideoFileInfo> AnalyseFiles(const QStringList& files, const QString& ffmpegExe,
                                   const QString& mediaInfoDll, int threads,
                                   TAnalysisCache* cache = nullptr);
