#pragma once

#include "filelist/VideoFileInfo.h"
#include "platform/Platform.h"

#include <QHash>
#include <QMutex>
#include <QString>
#include <optional>

// Full analyses of files kept in memory, each with the stamp (size, modification time, inode) of
// the file it describes: an unchanged file is not analysed again, a changed one is. Shared by the
// threads that analyse and the window that reads. An analysis is kept in a small form (the
// streams it describes, MediaInfo's report compressed), a few KiB where the whole record takes
// 18: a list of ten thousand files keeps them all.
class TAnalysisCache {
public:
    // The kept analysis of the file when the file is still as it was then.
    std::optional<TVideoFileInfo> Find(const QString& path) const;
    void Store(const QString& path, const Platform::TFileStamp& stamp, const TVideoFileInfo& info);
    void Remove(const QString& path);
    int Size() const;

private:
    template <typename T>
    using TPlaced = QList<QPair<quint8, T>>; // an element and its place
    struct TEntry {
        Platform::TFileStamp Stamp;
        TVideoFileGeneral General; // without MediaInfo's report, kept below
        QByteArray MediaInfoFull;  // UTF-8, compressed
        TPlaced<TSTreamInfoStr> StreamLines;
        TPlaced<TVideoStreamInfo> VideoStreams;
        TPlaced<TAudioStreamInfoX> AudioStreams;
    };
    static TEntry Pack(const Platform::TFileStamp& stamp, const TVideoFileInfo& info);
    static TVideoFileInfo Unpack(const TEntry& entry);
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
