// What a batch decides before its first encoder starts: how many files at once, the outputs'
// names and what happens to outputs that exist, and its working folder; and running a batch to
// its end outside a window.

#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchDriver.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

int AutoSimultaneousConversions(int cores) {
    // Measured on two cores with ten-second 640x360 clips: two files at once take 0.51 to 0.57 of
    // the time of one after the other (an encoder alone leaves much of the second core idle at
    // this size), three or four at once within 4 % of two. On one core two at once gain nothing.
    // So one file per core; at most four, for the memory and the disk of large pictures.
    return std::clamp(cores, 1, 4);
}

int SimultaneousConversionsFor(int setting, int cores) {
    const int most = std::max(cores, 1);
    if (setting <= 0)
        return AutoSimultaneousConversions(most);
    return std::min(setting, most);
}

QString GetUniqueFileName(const QString& path, const QString& separator, int digits,
                          const std::function<bool(const QString&)>& taken) {
    const auto used = [&](const QString& p) { return QFileInfo::exists(p) || (taken && taken(p)); };
    if (!used(path))
        return path;
    const QFileInfo info(path);
    const QString dir =
        info.path() == u"." && !path.startsWith(u"./") ? QString() : info.path() + u'/';
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString ext = dot > 0 ? name.mid(dot) : QString();
    for (int n = 1; n <= 100000; ++n) {
        const QString candidate = dir + stem + separator +
                                  QStringLiteral("%1").arg(n, digits, 10, QLatin1Char('0')) + ext;
        if (!used(candidate))
            return candidate;
    }
    return {};
}

void ClearLogs(const QString& logDir) {
    if (logDir.isEmpty())
        return;
    const QDir dir(logDir);
    for (const char16_t* name :
         {u"ffmpeg2pass-0.log", u"x264_2pass.log.temp", u"x264_2pass.log.mbtree.temp",
          u"x264_2pass.log", u"x264_2pass.log.mbtree", u"ffmpeg2pass-0.log.mbtree",
          u"xvidff.iG2Kb7"}) {
        const QString file = dir.filePath(QString::fromUtf16(name));
        if (QFileInfo::exists(file) && !QFile::remove(file)) {
            QFile::setPermissions(file, QFile::permissions(file) | QFile::WriteOwner);
            QFile::remove(file);
        }
    }
    // The folder is the batch's own (its name is new for every batch): anything else the
    // encoder left there goes with it, the folders of single files too.
    QDir(logDir).removeRecursively();
}

QString TBatchEngine::OutputPath(const QString& input) const {
    QString out = input;
    if (!Options.OutDirIsInDir) {
        QString dir = Options.OutDir;
        while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'.')))
            dir.chop(1);
        out = dir + u'/' + QFileInfo(input).fileName();
    }
    const qsizetype slash = out.lastIndexOf(u'/');
    const qsizetype dot = out.lastIndexOf(u'.');
    if (dot > slash + 1)
        out.truncate(dot);
    return out + GetExt(Settings, true);
}

bool TBatchEngine::MakeOutputFolder() {
    if (Options.OutDirIsInDir)
        return true;
    QDir().mkpath(Options.OutDir);
    if (QFileInfo(Options.OutDir).isDir())
        return true;
    Q_EMIT Warning(FormatCatalogText(Strings.Main.CantCreateDirectory, Options.OutDir));
    return false;
}

bool TBatchEngine::PlanJobs() {
    if (!MakeOutputFolder())
        return false;
    // Every output is decided before the first encoder starts: a name another file of this
    // batch will write counts as taken, and no input of the batch is ever written over. A .sh or
    // .bat script runs its lines one after the other and names its outputs as it always has,
    // from what exists now; a job file for GNU parallel runs them at once, so it reserves too.
    const bool reserve = !InScriptMode || Options.ParallelJobFile;
    QSet<QString> reserved;
    QList<Platform::TFileStamp> inputs;
    for (const TBatchRow& row : Rows)
        if (row.Checked)
            if (const auto stamp = Platform::FileStamp(row.Path))
                inputs.append(*stamp);
    const auto isInput = [&](const QString& path) {
        const auto stamp = Platform::FileStamp(path);
        return stamp && std::any_of(inputs.cbegin(), inputs.cend(), [&](const auto& in) {
                   return in.Inode == stamp->Inode && in.Device == stamp->Device;
               });
    };
    const auto taken = [&](const QString& path) { return reserve && reserved.contains(path); };
    int fileNo = 0;
    for (int row = 0; row < Rows.size(); ++row) {
        if (!Rows.at(row).Checked)
            continue;
        TBatchJob job;
        job.Row = row;
        job.FileNo = ++fileNo;
        job.Input = Rows.at(row).Path;
        QString output = OutputPath(job.Input);
        QString status = Strings.Main.Done;
        if (QFileInfo::exists(output) || taken(output)) {
            // The input itself under another name (a link, a folder that links to the input's)
            // must never be overwritten: the same file is the same device and inode.
            const bool itself = output == job.Input || Platform::SameFile(output, job.Input);
            if (Options.OutputExists == oeRename || itself ||
                (Options.OutputExists == oeOverwrite && isInput(output))) {
                output = GetUniqueFileName(output, QStringLiteral("_"), 3, taken);
                status = Strings.Main.OK_Renamed;
            } else if (Options.OutputExists == oeSkip) {
                status = Strings.Main.Skipped;
                job.Skip = true;
            } else {
                status = Strings.Main.OK_Overwritten;
            }
        }
        if (output.isEmpty()) {
            Q_EMIT Warning(FormatCatalogText(Strings.Main.CantCreateDirectory, job.Input));
            return false;
        }
        job.Output = output;
        job.Status = status;
        job.OutputExistedBefore = QFileInfo::exists(output);
        if (!job.Skip)
            reserved.insert(output);
        JobList.append(job);
    }
    return true;
}

TBatchResult RunBatchToEnd(TBatchEngine& engine) {
    QEventLoop loop;
    bool over = false;
    QObject::connect(&engine, &TBatchEngine::BatchFinished, &loop, [&] {
        over = true;
        loop.quit();
    });
    engine.Start();
    if (!over)
        loop.exec();
    return engine.Result();
}

QList<TPlannedOutput>
PlanOutputSizes(const QList<TBatchRow>& rows, const TBatchOptions& options,
                const TEncoderSettings& settings, const TBuilderEnvironment& environment,
                const TAppStrings& strings,
                const std::function<std::optional<TVideoFileInfo>(const QString& path)>& analysis) {
    QList<TPlannedOutput> planned;
    for (const TBatchRow& row : rows) {
        if (!row.Checked)
            continue;
        TPlannedOutput output;
        output.Folder = options.OutDirIsInDir ? QFileInfo(row.Path).absolutePath() : options.OutDir;
        if (const std::optional<TVideoFileInfo> info = analysis(row.Path))
            output.Bytes = EstimateOutputBytes(settings, *info, environment, strings);
        planned.append(output);
    }
    return planned;
}
