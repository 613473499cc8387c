#include "filelist/AnalysisCache.h"

#include "filelist/BatchProbe.h"
#include "filelist/MediaInfoDll.h"
#include "filelist/ProbeParser.h"

#include <QMutexLocker>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The elements of `all` that hold anything, with their places.
template <typename T, size_t N>
QList<QPair<quint8, T>> Described(const std::array<T, N>& all) {
    static_assert(N <= 256);
    QList<QPair<quint8, T>> kept;
    for (size_t i = 0; i < N; ++i)
        if (!(all[i] == T{}))
            kept.append({quint8(i), all[i]});
    return kept;
}

template <typename T, size_t N>
void PutBack(const QList<QPair<quint8, T>>& kept, std::array<T, N>& all) {
    for (const auto& [place, element] : kept)
        all[place] = element;
}

} // namespace

TAnalysisCache::TEntry TAnalysisCache::Pack(const Platform::TFileStamp& stamp,
                                            const TVideoFileInfo& info) {
    TEntry entry{stamp,
                 info,
                 {},
                 Described(info.StreamsStr),
                 Described(info.VideoStreams),
                 Described(info.AudioStreams)};
    if (!info.MediaInfoFull.isEmpty()) {
        entry.MediaInfoFull = qCompress(info.MediaInfoFull.toUtf8());
        entry.General.MediaInfoFull.clear();
    }
    return entry;
}

TVideoFileInfo TAnalysisCache::Unpack(const TEntry& entry) {
    TVideoFileInfo info;
    static_cast<TVideoFileGeneral&>(info) = entry.General;
    if (!entry.MediaInfoFull.isEmpty())
        info.MediaInfoFull = QString::fromUtf8(qUncompress(entry.MediaInfoFull));
    PutBack(entry.StreamLines, info.StreamsStr);
    PutBack(entry.VideoStreams, info.VideoStreams);
    PutBack(entry.AudioStreams, info.AudioStreams);
    return info;
}

std::optional<TVideoFileInfo> TAnalysisCache::Find(const QString& path) const {
    const std::optional<Platform::TFileStamp> stamp = Platform::FileStamp(path);
    if (!stamp)
        return std::nullopt;
    std::optional<TEntry> entry;
    {
        QMutexLocker lock(&Mutex);
        const auto it = Entries.constFind(path);
        if (it == Entries.cend() || !(it->Stamp == *stamp))
            return std::nullopt;
        entry = *it; // shares its lists; unpacked outside the lock
    }
    return Unpack(*entry);
}

void TAnalysisCache::Store(const QString& path, const Platform::TFileStamp& stamp,
                           const TVideoFileInfo& info) {
    TEntry entry = Pack(stamp, info);
    QMutexLocker lock(&Mutex);
    Entries.insert(path, std::move(entry));
}

void TAnalysisCache::Remove(const QString& path) {
    QMutexLocker lock(&Mutex);
    Entries.remove(path);
}

int TAnalysisCache::Size() const {
    QMutexLocker lock(&Mutex);
    return int(Entries.size());
}

void GetVideoFileInfoCached(TAnalysisCache& cache, const QString& fileName,
                            const QString& ffmpegExe, const QString& mediaInfoDll,
                            TVideoFileInfo& info) {
    if (std::optional<TVideoFileInfo> kept = cache.Find(fileName)) {
        info = std::move(*kept);
        return;
    }
    // The stamp is taken before the analysis: a file that changes meanwhile is analysed again.
    const std::optional<Platform::TFileStamp> stamp = Platform::FileStamp(fileName);
    GetVideoFileInfo(fileName, ffmpegExe, mediaInfoDll, info);
    if (stamp && !ffmpegExe.isEmpty())
        cache.Store(fileName, *stamp, info);
}

QList<TVideoFileInfo> AnalyseFiles(const QStringList& files, const QString& ffmpegExe,
                                   const QString& mediaInfoDll, int threads,
                                   TAnalysisCache* cache) {
    // Each thread writes its own elements; a vector never shares or moves them meanwhile.
    std::vector<TVideoFileInfo> results(size_t(files.size()));
    std::vector<int> todo;
    for (int i = 0; i < files.size(); ++i) {
        if (cache) {
            if (std::optional<TVideoFileInfo> kept = cache->Find(files.at(i))) {
                results[size_t(i)] = std::move(*kept);
                continue;
            }
        }
        todo.push_back(i);
    }
    const auto done = [&results] { return QList<TVideoFileInfo>(results.begin(), results.end()); };
    if (todo.empty())
        return done();
    if (!mediaInfoDll.isEmpty())
        LoadMediaInfoLibrary(mediaInfoDll); // once, before the threads share it
    // Batches small enough that every thread gets work.
    const int workers = std::max(1, std::min<int>(threads, int(todo.size())));
    const int batch = std::clamp(int(todo.size() + workers - 1) / workers, 1, ProbeBatchSize);
    std::atomic<size_t> next{0};
    const auto work = [&] {
        for (;;) {
            const size_t first = next.fetch_add(size_t(batch));
            if (first >= todo.size())
                return;
            const size_t last = std::min(todo.size(), first + size_t(batch));
            QStringList names;
            std::vector<std::optional<Platform::TFileStamp>> stamps;
            for (size_t k = first; k < last; ++k) {
                names.append(files.at(todo[k]));
                stamps.push_back(Platform::FileStamp(names.last()));
            }
            const QList<QStringList> probes = ffmpegExe.isEmpty() ? QList<QStringList>(names.size())
                                                                  : ProbeFiles(ffmpegExe, names);
            for (qsizetype j = 0; j < names.size(); ++j) {
                TVideoFileInfo info =
                    ffmpegExe.isEmpty() ? TVideoFileInfo{}
                                        : AnalyseFromProbe(names.at(j), probes.at(j), mediaInfoDll);
                if (ffmpegExe.isEmpty()) {
                    info.FileName = names.at(j);
                    info.FileSize = GetFileSizeSafe(names.at(j));
                }
                if (cache && stamps[size_t(j)] && !ffmpegExe.isEmpty())
                    cache->Store(names.at(j), *stamps[size_t(j)], info);
                results[size_t(todo[first + size_t(j)])] = std::move(info);
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < workers; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& t : pool)
        t.join();
    return done();
}
