#include "encoding/BatchDriver.h"

#include "core/AppParams.h"
#include "core/CallRelay.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/EncoderCaps.h"
#include "execution/EncoderRun.h"
#include "filelist/AnalysisCache.h"
#include "filelist/BatchProbe.h"
#include "filelist/ProbeParser.h"
#include "filelist/VideoFileInfo.h"
#include "localisation/AppStrings.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThreadPool>
#include <algorithm>

namespace {

void DeleteIfEmpty(const QString& path) {
    const QFileInfo out(path);
    if (out.isFile() && out.size() == 0) {
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
        QFile::remove(path);
    }
}

// Warnings of the builder go to the engine's signal.
class TSignalWarnings : public IWarningSink {
public:
    explicit TSignalWarnings(std::function<void(const QString&)> show) : Show(std::move(show)) {}
    void ShowWarning(const QString& text) override { Show(text); }

private:
    std::function<void(const QString&)> Show;
};

} // namespace

TBatchEngine::TBatchEngine(const TEncoderSettings& settings, const QList<TBatchRow>& rows,
                           const TBatchOptions& options, TAppParams& params,
                           const TAppStrings& strings, TErrorLog& errorLog, QObject* parent)
    : QObject(parent), Settings(settings), Rows(rows), Options(options), Params(params),
      Strings(strings), ErrorLog(errorLog), Pool(std::make_unique<QThreadPool>()),
      Calls(new TCallRelay(this)) {}

TBatchEngine::~TBatchEngine() {
    // An analysis still under way posts its answer to this object: it ends first. Runs still
    // going are children of this object and are killed with it.
    Pool->waitForDone();
}

void TBatchEngine::Start() {
    InScriptMode = !Options.ScriptFileName.isEmpty();
    const TScriptKind kind =
        Options.ParallelJobFile ? TScriptKind::Parallel : ScriptKindFor(Options.ScriptFileName);
    IsRunning = true;
    Clock.start();
    ErrorLog.ClearErrorLog();
    Params.KeepFileDates = Options.KeepFileDates;
    Script = std::make_unique<TBatchScript>(kind);

    FFmpeg = GetFFmpegExe(Params);
    if (!Platform::IsRegularFile(FFmpeg)) {
        Q_EMIT Warning(FFmpegNotFoundText(Strings));
        return StopEarly();
    }
    if (InScriptMode) {
        if (const auto unsafe = UnsafeScriptPath(kind, FFmpeg)) {
            Q_EMIT Warning(*unsafe);
            return StopEarly();
        }
    }
    Script->Begin(FFmpeg);
    WorkFolder = GetTempWorkDir();
    Params.LogDir = WorkFolder;
    for (const TBatchRow& row : Rows)
        if (row.Checked)
            ++Position.BatchFileCount;
    if (Position.BatchFileCount == 0)
        return StopEarly();
    if (!PlanJobs())
        return StopEarly();
    // A script lists the files in their order; it is written one file after the other.
    if (InScriptMode)
        SimultaneousConversions = 1;
    SimultaneousConversions = std::max(SimultaneousConversions, 1);
    Pool->setMaxThreadCount(SimultaneousConversions);
    Position.NoVideoOutput = Settings.DoNotCopyVideo() && !Settings.Audio.DoNotCopyAudio;
    Outcome.Started = true;
    Q_EMIT BatchStarted();
    Schedule();
}

bool TBatchEngine::OutputBusy(const TBatchJob& job) const {
    // "Overwrite it" with two files that map to one output: the second waits for the first.
    return BusyOutputs.contains(job.Output);
}

void TBatchEngine::Schedule() {
    if (Finished)
        return;
    while (!Aborting && !Stopping && Active < SimultaneousConversions && NextJob < JobList.size()) {
        TBatchJob& job = JobList[NextJob];
        if (job.Skip) {
            ++NextJob;
            job.State = TJobState::Skipped;
            ++Outcome.Skipped;
            if (!InScriptMode)
                Q_EMIT JobStatus(int(NextJob - 1), job.Status);
            FlushErrorLog(false);
            Q_EMIT JobFinished(int(NextJob - 1));
            continue;
        }
        if (OutputBusy(job))
            break;
        StartJob(int(NextJob++));
    }
    if (!Aborting && !Stopping)
        LookAhead();
    if (Active == 0 && (Aborting || Stopping || NextJob >= JobList.size()))
        FinishBatch();
}

void TBatchEngine::StartJob(int index) {
    TBatchJob& job = JobList[index];
    job.State = TJobState::Preparing;
    ++Active;
    BusyOutputs.insert(job.Output);
    if (!InScriptMode)
        Q_EMIT JobStatus(index, Strings.Main.Converting);
    Q_EMIT JobStarted(index);
    if (!job.AnalysisRequested)
        RequestAnalysis({index});
    if (Ready.contains(index)) {
        // Analysed while an earlier file ran: it goes on from the event loop, so that a long
        // run of such files never deepens the stack.
        QMetaObject::invokeMethod(
            this,
            [this, index] {
                if (Ready.contains(index))
                    Prepared(index, Ready.take(index));
            },
            Qt::QueuedConnection);
    }
}

void TBatchEngine::LookAhead() {
    // The next files are analysed while the encoders work, so that each starts at once when its
    // turn comes: when fewer are ready than run at once, the next ones in one go (one encoder
    // run describes many files for less than it costs to describe each alone).
    int ahead = 0;
    qsizetype first = -1;
    for (qsizetype i = NextJob; i < JobList.size(); ++i) {
        if (JobList.at(i).Skip)
            continue;
        if (!JobList.at(i).AnalysisRequested) {
            first = i;
            break;
        }
        ++ahead;
    }
    if (first < 0 || ahead >= SimultaneousConversions)
        return;
    QList<int> group;
    for (qsizetype i = first; i < JobList.size() && group.size() < ProbeBatchSize; ++i)
        if (!JobList.at(i).Skip && !JobList.at(i).AnalysisRequested)
            group.append(int(i));
    RequestAnalysis(group);
}

void TBatchEngine::RequestAnalysis(const QList<int>& indexes) {
    QStringList inputs;
    for (const int index : indexes) {
        JobList[index].AnalysisRequested = true;
        inputs.append(JobList.at(index).Input);
    }
    // The encoder's description and MediaInfo run on a thread of the engine's own.
    const QString ffmpeg = FFmpeg;
    const QString mediaInfo = Params.MediaInfoDll;
    const bool aac = Settings.Audio.AudioCodec == acAac;
    TAnalysisCache* cache = Cache;
    Pool->start([this, indexes, inputs, ffmpeg, mediaInfo, aac, cache] {
        const QList<TVideoFileInfo> infos = AnalyseFiles(inputs, ffmpeg, mediaInfo, 1, cache);
        // Asking the encoder for its encoders costs a run of it: only when the AAC row is used.
        const QString aacEncoder = aac ? AacEncoderFor(ffmpeg) : QStringLiteral("libfdk_aac");
        for (qsizetype k = 0; k < indexes.size(); ++k) {
            const int index = indexes.at(k);
            TPrepared prepared{infos.value(k), aacEncoder};
            Calls->Post([this, index, prepared] {
                if (Finished)
                    return;
                if (JobList.at(index).State == TJobState::Preparing)
                    Prepared(index, prepared);
                else
                    Ready.insert(index, prepared);
            });
        }
    });
}

// The builder's pieces of the file's command line, set into the script; false (with the reason
// told) when a value is rejected or a piece is unsafe in a script.
bool TBatchEngine::ComposePieces(const TBatchJob& job, const TPrepared& prepared,
                                 TArgumentPieces& pieces) {
    const TVideoFileInfo& info = prepared.Info;
    TSignalWarnings warnings([this](const QString& text) { Q_EMIT Warning(text); });
    TBuilderEnvironment environment;
    environment.ResolutionEntries = ResolutionEntries;
    environment.ProcessorCount = ProcessorCount;
    environment.AacEncoder = prepared.AacEncoder;
    environment.Warnings = &warnings;
    const TArgumentBuilder builder(Settings, info, Strings, environment);
    pieces.VCodec = builder.GetVideoCodecStr().trimmed();
    pieces.ACodec = builder.GetAudioCodecStr().trimmed();
    pieces.AdvParams = builder.GetAdvancedParamsStr().trimmed();
    pieces.AddParams = builder.GetAdditionalParamsStr().trimmed();
    if (pieces.AdvParams == QStringView(ErrorPiece))
        return false;
    pieces.VParams = builder.GetVideoParamsStr().trimmed();
    if (pieces.VParams == QStringView(ErrorPiece))
        return false;
    pieces.AParams = builder.GetAudioParamsStr().trimmed();
    if (pieces.AParams == QStringView(ErrorPiece))
        return false;
    if (InScriptMode) {
        for (const QString* piece : {&pieces.VCodec, &pieces.ACodec, &pieces.AdvParams,
                                     &pieces.AddParams, &pieces.VParams, &pieces.AParams}) {
            if (const auto unsafe = UnsafeScriptPiece(Script->ScriptKind(), *piece)) {
                Q_EMIT Warning(*unsafe);
                return false;
            }
        }
    }
    Script->SetPiece(QStringLiteral("VCodec"), pieces.VCodec);
    Script->SetPiece(QStringLiteral("ACodec"), pieces.ACodec);
    Script->SetPiece(QStringLiteral("AdvParams"), pieces.AdvParams);
    Script->SetPiece(QStringLiteral("AddParams"), pieces.AddParams);
    Script->FileComment(job.FileNo);
    Script->SetPiece(QStringLiteral("VParams"), pieces.VParams);
    Script->SetPiece(QStringLiteral("AParams"), pieces.AParams);
    return true;
}

void TBatchEngine::Prepared(int index, const TPrepared& prepared) {
    TBatchJob& job = JobList[index];
    if (Aborting) {
        job.AbortedHere = true;
        FinishJob(index);
        return;
    }
    const TVideoFileInfo& info = prepared.Info;
    job.EstimatedFrames = info.VideoStreams[0].Frames;
    job.Expected = ExpectedOutput(Settings, info);
    job.Seconds = info.DurationSeconds();
    const auto stop = [&] { Abandon(index); };
    // Made again for every file, should it have gone meanwhile.
    if (!MakeOutputFolder())
        return stop();
    if (InScriptMode) {
        for (const QString& path : {job.Input, job.Output}) {
            if (const auto unsafe = UnsafeScriptPath(Script->ScriptKind(), path)) {
                Q_EMIT Warning(*unsafe);
                return stop();
            }
        }
    }

    TArgumentPieces pieces;
    if (!ComposePieces(job, prepared, pieces))
        return stop();

    const bool h264 = H264Mode(Settings);
    job.TwoPass = Settings.IsMpg() ? Settings.Mpg.Video2Pass
                                   : Settings.Avi.Video2Pass && Settings.Avi.VideoCodec != vcWmv1 &&
                                         !Settings.Avi.DoNotCopyVideo;
    if (job.TwoPass) {
        // One file at a time works in the batch's folder; several at once each in a folder of
        // its own, so that no two share a pass log.
        job.WorkDir = SimultaneousConversions > 1
                          ? WorkFolder + QStringLiteral("/%1").arg(job.FileNo)
                          : WorkFolder;
        if (!QDir().mkpath(job.WorkDir))
            job.WorkDir.clear();
        else
            LogDirCreated = true;
    }
    if (InScriptMode) {
        if (job.TwoPass) {
            Script->Command(job.Input, job.Output, h264, 1);
            Script->Command(job.Input, job.Output, h264, 2);
        } else {
            Script->Command(job.Input, job.Output, h264, 0);
        }
        FinishJob(index);
        return;
    }
    if (Params.KeepFileDates)
        job.Dates = Platform::GetFileDates(job.Input);
    job.State = TJobState::Running;
    // Both command lines are made now, as the builder gives them for this file.
    job.FirstArguments = ArgumentString(pieces, job.Input, job.Output, h264, job.TwoPass ? 1 : 0);
    if (job.TwoPass)
        job.SecondArguments = ArgumentString(pieces, job.Input, job.Output, h264, 2);
    if (!StartStep(index, 1))
        FinishJob(index);
}

bool TBatchEngine::StartStep(int index, int pass) {
    TBatchJob& job = JobList[index];
    job.CurrentPass = pass;
    job.Percent = 0;
    auto* run = new TEncoderRun(this);
    connect(run, &TEncoderRun::LineRead, this,
            [this, index](const QString& line) { LineRead(index, line); });
    connect(run, &TEncoderRun::Finished, this,
            [this, index](int code) { StepFinished(index, code); });
    try {
        // One-pass runs work in our own folder, two-pass runs in the file's working folder.
        run->Start(FFmpeg, pass == 2 ? job.SecondArguments : job.FirstArguments,
                   job.TwoPass ? job.WorkDir : QString());
    } catch (const EOSError& e) {
        // The encoder cannot be started (gone since the batch began, say): this file fails
        // with the system's reason, and the batch goes on.
        delete run;
        job.ExitCode = e.Code() != 0 ? e.Code() : 1;
        job.Status = ErrorStatus(job.ExitCode, pass == 2);
        job.LogDetails.append(e.Message() + QStringLiteral("\r\n") + FFmpeg);
        job.Reason = e.Message();
        return false;
    }
    job.Run = run;
    return true;
}

QString TBatchEngine::ErrorStatus(int exitCode, bool secondPass) const {
    // "Error (1)"; a failed second pass "Error = 1".
    return Strings.Main.Error + (secondPass ? QStringLiteral(" = %1").arg(exitCode)
                                            : QStringLiteral(" (%1)").arg(exitCode));
}

void TBatchEngine::LineRead(int index, const QString& line) {
    TBatchJob& job = JobList[index];
    if (!job.Run)
        return;
    TBatchPosition position = Position;
    position.BatchFileNo = job.FileNo;
    position.CurrentPass = job.CurrentPass;
    position.TwoPassMode = job.TwoPass;
    const TRunDisplay display =
        MonitorRunLines(job.Run->Lines(), OutputShown, position, job.EstimatedFrames, Strings);
    if (!display.Stopped) {
        job.Display = display;
        if (display.Percent > 0)
            job.Percent = display.Percent;
        double share = job.Percent / 100.0;
        if (job.Percent == 0 && job.Seconds > 0 && display.Values.Seconds > 0)
            share = std::min(display.Values.Seconds / job.Seconds, 1.0);
        job.Done = job.TwoPass ? (job.CurrentPass - 1 + share) / 2 : share;
    }
    Q_EMIT JobLine(index, line);
    if (!display.Stopped)
        Q_EMIT JobProgress(index);
}

// The entry keeps what the filter shows; where that says nothing of the failure, the encoder's
// own lines that do, which the filter had taken away.
void TBatchEngine::RecordFailure(int index, int exitCode) {
    TBatchJob& job = JobList[index];
    const QStringList why = FailureLines(job.OutputLines, job.Input, job.Output);
    FilterEncoderOutput(job.OutputLines);
    if (std::none_of(job.OutputLines.cbegin(), job.OutputLines.cend(), ExplainsFailure))
        for (const QString& line : why)
            if (!job.OutputLines.contains(line))
                job.OutputLines.append(line);
    job.Reason = FailureReason(why, job.Input, job.Output);
    job.LogDetails.append(QStringLiteral("ExitCode: %1\r\n").arg(exitCode) +
                          job.OutputLines.join(QStringLiteral("\r\n")));
}

void TBatchEngine::StepFinished(int index, int exitCode) {
    TBatchJob& job = JobList[index];
    TEncoderRun* run = job.Run;
    job.Run = nullptr;
    job.Terminated = job.Terminated || run->Terminated();
    job.OutputLines = run->Lines();
    run->deleteLater();
    job.ExitCode = exitCode;
    if (exitCode != 0) {
        job.Status = ErrorStatus(exitCode, job.TwoPass && job.CurrentPass == 2);
        RecordFailure(index, exitCode);
    } else if (job.TwoPass && job.CurrentPass == 1 && !Aborting) {
        if (!StartStep(index, 2))
            FinishJob(index);
        return;
    } else if (!job.AbortedHere && !QFileInfo::exists(job.Output)) {
        // The encoder wrote into a file that is gone (its folder was removed meanwhile): no
        // output is no success.
        job.Failed = true;
        job.Status = Strings.Main.Error;
        job.LogDetails.append(
            QStringLiteral("ExitCode: 0\r\nThe encoder ended, but its output file is gone."));
    } else if (!job.AbortedHere && job.Expected.Checked()) {
        CheckOutput(index);
        return;
    }
    FinishJob(index);
}

// An encoder that ends well may still have written less than the input holds (a damaged or
// truncated input): the output is described as an input would be, off the engine's thread, and
// compared with what the input promised.
void TBatchEngine::CheckOutput(int index) {
    TBatchJob& job = JobList[index];
    job.State = TJobState::Checking;
    const QString ffmpeg = FFmpeg;
    const QString output = job.Output;
    Pool->start([this, index, ffmpeg, output] {
        const QStringList lines = ProbeFiles(ffmpeg, {output}).value(0);
        // No word from the encoder at all (gone meanwhile, say): nothing could be checked.
        std::optional<TVideoFileInfo> info;
        if (!lines.isEmpty()) {
            info.emplace();
            info->FileName = output;
            ParseProbeOutput(lines, *info);
        }
        Calls->Post([this, index, info = std::move(info)] {
            OutputChecked(index, info ? &*info : nullptr);
        });
    });
}

void TBatchEngine::OutputChecked(int index, const TVideoFileInfo* output) {
    if (Finished)
        return;
    TBatchJob& job = JobList[index];
    const QStringList differences =
        output ? OutputDifferences(job.Expected, *output, Strings) : QStringList();
    if (!differences.isEmpty()) {
        // Counted as failed; the output stays for the user to judge.
        job.Failed = true;
        job.Status = Strings.Main.Error;
        job.LogDetails.append(QStringLiteral("ExitCode: 0\r\n") +
                              differences.join(QStringLiteral("\r\n")));
        job.Reason = differences.first();
    }
    FinishJob(index);
}

void TBatchEngine::Abandon(int index) {
    // The file could not be set up or started: it stays "Converting", and the batch ends as
    // after an early stop once the files under way have ended.
    TBatchJob& job = JobList[index];
    job.Abandoned = true;
    job.Logged = true;
    Stopping = true;
    Leave(index);
    Q_EMIT JobFinished(index);
    Schedule();
}

void TBatchEngine::Leave(int index) {
    TBatchJob& job = JobList[index];
    job.State = TJobState::Finished;
    --Active;
    BusyOutputs.remove(job.Output);
}

void TBatchEngine::FinishJob(int index) {
    TBatchJob& job = JobList[index];
    const bool aborted = job.AbortedHere;
    if (!aborted && !InScriptMode)
        job.Percent = 100;
    if (aborted)
        job.Status = Strings.Main.Aborted;
    job.Succeeded = !aborted && job.ExitCode == 0 && !job.Failed;
    job.Done = 1;
    if (job.Succeeded)
        ++Outcome.Converted;
    else if (job.ExitCode != 0 || job.Failed)
        ++Outcome.Failed;
    if (job.Terminated)
        Outcome.Terminated = true;
    if (!InScriptMode) {
        // An encoder ended by force did not close its file: what it left is no finished
        // output. One that failed may leave a header without frames: the file this run
        // created goes too, never a file that was there before the run.
        if (job.Output != job.Input && !Platform::SameFile(job.Output, job.Input) &&
            (job.Terminated || (job.ExitCode != 0 && !job.OutputExistedBefore)))
            QFile::remove(job.Output);
        DeleteIfEmpty(job.Output);
        if (Params.KeepFileDates && job.Dates.Read && QFileInfo::exists(job.Output))
            Platform::SetFileDates(job.Output, job.Dates);
    }
    Leave(index);
    if (!InScriptMode)
        Q_EMIT JobStatus(index, job.Status);
    FlushErrorLog(false);
    Q_EMIT JobFinished(index);
    Schedule();
}

void TBatchEngine::FlushErrorLog(bool all) {
    // One entry per failed file, in the list's order, whatever order the files end in.
    for (; NextLog < JobList.size(); ++NextLog) {
        TBatchJob& job = JobList[NextLog];
        const bool over = job.State == TJobState::Finished || job.State == TJobState::Skipped;
        if (!over && !all)
            return;
        if (job.Logged)
            continue;
        job.Logged = true;
        for (const QString& details : job.LogDetails) {
            ++ErrorLog.ErrorCount;
            ErrorLog.AddErrorLogEntry(details, job.Input, job.Output, ErrorLog.ErrorCount);
        }
    }
}

bool TBatchEngine::Abort() {
    if (!IsRunning || Aborting || Finished)
        return false;
    Aborting = true;
    for (TBatchJob& job : JobList) {
        if (job.State != TJobState::Preparing && job.State != TJobState::Running)
            continue;
        job.AbortedHere = true;
        if (job.Run)
            job.Run->Stop(GracePeriodMs);
    }
    // With nothing under way (between two files) the batch ends now.
    if (Active == 0)
        QMetaObject::invokeMethod(this, &TBatchEngine::Schedule, Qt::QueuedConnection);
    return true;
}

TBatchOverall TBatchEngine::Overall() const {
    QList<TJobShare> shares;
    for (const TBatchJob& job : JobList)
        if (!job.Skip)
            shares.append({job.Seconds, job.Done});
    return BatchOverall(shares, Clock.isValid() ? Clock.elapsed() : 0);
}

void TBatchEngine::StopEarly() {
    Outcome.StoppedEarly = true;
    Finished = true;
    IsRunning = false;
    if (LogDirCreated)
        ClearLogs(WorkFolder);
    Q_EMIT BatchFinished(Outcome);
}

void TBatchEngine::FinishBatch() {
    if (Finished)
        return;
    FlushErrorLog(true);
    if (Stopping)
        return StopEarly();
    Finished = true;
    Script->End();
    if (InScriptMode) {
        QString error;
        if (!Script->Save(Options.ScriptFileName, &error))
            Q_EMIT Warning(Options.ScriptFileName + QStringLiteral(": ") + error);
    }
    Outcome.Aborted = Aborting;
    IsRunning = false;
    // Every working folder a two-pass run created goes, whatever the last file's mode was.
    if (LogDirCreated)
        ClearLogs(WorkFolder);
    if (ErrorLog.ErrorCount > 0 && !Outcome.Terminated)
        Outcome.ErrorLogCaption =
            Strings.Main.Errors + QStringLiteral(" (%1)").arg(ErrorLog.ErrorCount);
    // What follows a batch follows a real conversion only: writing a script converts nothing.
    if (Position.BatchFileCount > 0 && !Outcome.Aborted && ErrorLog.ErrorCount == 0 &&
        !InScriptMode)
        Outcome.AfterConversion = Options.AfterConversion;
    Q_EMIT BatchFinished(Outcome);
}
