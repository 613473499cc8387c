#pragma once

#include "encoding/BatchScript.h"
#include "encoding/EncoderSettings.h"
#include "encoding/OutputCheck.h"
#include "encoding/SizeEstimate.h"
#include "execution/ErrorLog.h"
#include "execution/ProgressMonitor.h"
#include "filelist/VideoFileInfo.h"
#include "platform/Platform.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

struct TAppParams;
class TAnalysisCache;
struct TAppStrings;
struct TArgumentPieces;
class TEncoderRun;
class QThreadPool;
class TCallRelay;

// Converts the checked rows of the file list, several files at once when asked, or writes the
// same work as a script. Driven by the event loop: the encoders run as child processes whose
// output and end arrive as events, the analyses run on threads of the engine's own, and all of it
// is reported through signals.

struct TBatchRow {
    QString Path;
    bool Checked = true;
};

enum TOutputExists { oeRename = 0, oeOverwrite = 1, oeSkip = 2 };
enum TAfterConversion { acDoNothing = 0, acCloseApplication = 1, acCloseWindows = 2 };

struct TBatchOptions {
    bool OutDirIsInDir = true; // outputs beside their inputs
    QString OutDir;
    int OutputExists = oeRename;
    int AfterConversion = acDoNothing;
    bool KeepFileDates = false;
    QString ScriptFileName; // set: write a script instead of converting
    // GNU parallel's job file instead of a .sh/.bat script (ScriptFileName names it).
    bool ParallelJobFile = false;
};

struct TBatchResult {
    bool Started = false; // at least the first file was reached
    bool StoppedEarly = false;
    bool Aborted = false;
    bool Terminated = false; // an encoder had to be ended by force
    int Converted = 0;       // files converted (script lines written in script mode)
    int Skipped = 0;
    int Failed = 0;
    // What the window does now: open the error log with this caption (empty: not), and the
    // after-conversion choice to carry out (acDoNothing unless the batch was clean).
    QString ErrorLogCaption;
    int AfterConversion = acDoNothing;
};

// The number of conversions at once that "Auto" stands for on a machine with `cores` cores.
int AutoSimultaneousConversions(int cores);
// The setting (0 = Auto) as a number of conversions at once, 1 to the cores.
int SimultaneousConversionsFor(int setting, int cores);

enum class TJobState { Waiting, Skipped, Preparing, Running, Checking, Finished };

// One checked row of the batch: its output decided before any encoder starts, then its
// analysis, its one or two encoder runs and its outcome.
struct TBatchJob {
    int Row = 0;    // in the batch's rows
    int FileNo = 0; // 1-based among the checked rows
    QString Input;
    QString Output;
    QString Status; // the status the row shows (planned, then the outcome)
    bool Skip = false;
    bool OutputExistedBefore = false;
    TJobState State = TJobState::Waiting;

    // Once analysed.
    double Seconds = 0; // the input's duration; 0 when unknown
    uint32_t EstimatedFrames = 0;
    bool TwoPass = false;
    QString WorkDir;
    QString FirstArguments, SecondArguments; // the command lines of the runs
    TOutputExpectation Expected;             // what the finished output must hold

    // While it runs.
    int CurrentPass = 1;
    int Percent = 0;         // of the current run
    TRunDisplay Display;     // the current run as the progress window shows it
    QStringList OutputLines; // the last run's output, once it has ended
    double Done = 0;         // share of the whole job done, 0..1
    int ExitCode = 0;
    bool AbortedHere = false; // the batch was aborted while this file was under way
    bool Terminated = false;
    bool Succeeded = false;
    bool Failed = false;    // failed although the encoder said nothing was wrong
    bool Abandoned = false; // could not be set up: the batch stopped early
    Platform::TFileDates Dates;
    QStringList LogDetails; // error-log entries waiting for their turn in the list's order
    QString Reason;         // why it failed, in one line (the encoder's words where it said)
    bool Logged = false;
    bool AnalysisRequested = false;
    TEncoderRun* Run = nullptr;
};

class TBatchEngine : public QObject {
    Q_OBJECT

public:
    TBatchEngine(const TEncoderSettings& settings, const QList<TBatchRow>& rows,
                 const TBatchOptions& options, TAppParams& params, const TAppStrings& strings,
                 TErrorLog& errorLog, QObject* parent = nullptr);
    // Waits for analyses still under way; encoders still running are killed.
    ~TBatchEngine() override;

    // The resolution list (from its third item) and the processor count the builder uses.
    QStringList ResolutionEntries;
    int ProcessorCount = 2;
    // How many files are converted at once (a script is always written in order, one by one).
    int SimultaneousConversions = 1;
    // Kept analyses of the list's files: an unchanged file is not described again.
    TAnalysisCache* Cache = nullptr;
    // Whether the encoder's output is shown: it is then filtered as it comes (the progress
    // window's "Don't show encoder output" clears it).
    bool OutputShown = true;

    // Starts the batch. BatchFinished follows in every case, also for a batch that stops before
    // its first file (then before Start returns).
    void Start();
    // The Abort: every running encoder gets "q", and the grace period after which it is ended by
    // force; no further file starts. False when no batch runs or an abort is under way.
    bool Abort();

    bool Running() const { return IsRunning; }
    bool AbortRequested() const { return Aborting; }
    bool ScriptMode() const { return InScriptMode; }
    bool NoVideoOutput() const { return Position.NoVideoOutput; }
    int FileCount() const { return Position.BatchFileCount; }
    int RunningCount() const { return Active; }
    const QList<TBatchJob>& Jobs() const { return JobList; }
    const TBatchJob& Job(int job) const { return JobList.at(job); }
    TBatchOverall Overall() const;
    const TBatchResult& Result() const { return Outcome; }
    // The folder of this batch's two-pass runs (each file has one of its own below it when
    // several run at once).
    QString LogDir() const { return WorkFolder; }

    // The encoder's stop, in steps: "q", then this long, then the kill of its process group.
    static constexpr int GracePeriodMs = 2500;

Q_SIGNALS:
    // The batch has its files and goes on; the progress window shows now.
    void BatchStarted();
    // A message for the user: a rejected value, a folder that cannot be made, an unsafe name.
    void Warning(const QString& text);
    void JobStarted(int job);
    // A line of the encoder's output; the job's display is up to date.
    void JobLine(int job, const QString& line);
    // The job's percentage or status line changed.
    void JobProgress(int job);
    // The text for the row's status cell (not sent while writing a script).
    void JobStatus(int job, const QString& status);
    // The job is over: converted, failed, aborted or skipped.
    void JobFinished(int job);
    void BatchFinished(const TBatchResult& result);

private:
    // What a file's preparation on an analysis thread hands back.
    struct TPrepared {
        TVideoFileInfo Info;
        QString AacEncoder;
    };
    bool MakeOutputFolder();
    bool PlanJobs();
    QString OutputPath(const QString& input) const;
    void Schedule();
    bool OutputBusy(const TBatchJob& job) const;
    void StartJob(int job);
    void LookAhead();
    void RequestAnalysis(const QList<int>& jobs);
    void Prepared(int job, const TPrepared& prepared);
    bool ComposePieces(const TBatchJob& job, const TPrepared& prepared, TArgumentPieces& pieces);
    bool StartStep(int job, int pass);
    void LineRead(int job, const QString& line);
    QString ErrorStatus(int exitCode, bool secondPass) const;
    void StepFinished(int job, int exitCode);
    void CheckOutput(int job);
    void OutputChecked(int job, const TVideoFileInfo* output); // null: not described
    void RecordFailure(int job, int exitCode);
    void FinishJob(int job);
    void Abandon(int job);
    void Leave(int job); // the file is no longer under way
    void FlushErrorLog(bool all);
    void StopEarly();
    void FinishBatch();

    TEncoderSettings Settings;
    QList<TBatchRow> Rows;
    TBatchOptions Options;
    TAppParams& Params;
    const TAppStrings& Strings;
    TErrorLog& ErrorLog;
    std::unique_ptr<QThreadPool> Pool;
    TCallRelay* Calls; // the pool's results, handed to the engine's thread
    std::unique_ptr<TBatchScript> Script;
    QList<TBatchJob> JobList;
    QHash<int, TPrepared> Ready; // analyses of files whose turn has not come yet
    QSet<QString> BusyOutputs;   // the outputs of the files under way
    TBatchPosition Position;
    TBatchResult Outcome;
    QElapsedTimer Clock;
    QString FFmpeg;
    QString WorkFolder;
    qsizetype NextJob = 0;
    qsizetype NextLog = 0;
    int Active = 0;
    bool IsRunning = false;
    bool Aborting = false;
    bool Stopping = false; // a file could not be set up: the batch ends as after an early stop
    bool InScriptMode = false;
    bool LogDirCreated = false;
    bool Finished = false;
};

// The checked rows' outputs, each with its folder and estimated size; `analysis` gives a row's
// analysis where one is known (a row without one counts 0).
QList<TPlannedOutput>
PlanOutputSizes(const QList<TBatchRow>& rows, const TBatchOptions& options,
                const TEncoderSettings& settings, const TBuilderEnvironment& environment,
                const TAppStrings& strings,
                const std::function<std::optional<TVideoFileInfo>(const QString& path)>& analysis);

// Runs a whole batch in a local event loop and returns its result: for the command-line tool and
// the tests, never for the window.
TBatchResult RunBatchToEnd(TBatchEngine& engine);

// The path itself when nothing exists there, else the first free "name_001.ext" (the separator
// and the digit count as given); empty when all 100000 are taken. `taken` tells a name in use
// besides the files that exist.
QString GetUniqueFileName(const QString& path, const QString& separator, int digits,
                          const std::function<bool(const QString&)>& taken = {});
// Removes the encoder's two-pass log files from the working folder, then the folder.
void ClearLogs(const QString& logDir);
