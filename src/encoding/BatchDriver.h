#pragma once

#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchScript.h"
#include "encoding/EncoderSettings.h"
#include "execution/ErrorLog.h"
#include "execution/ProgressMonitor.h"
#include "filelist/VideoFileInfo.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

struct TAppParams;
class TAnalysisCache;
struct TAppStrings;

// Converts the checked rows of the file list, or writes the same work as a script.

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
};

// What a progress display shows while a batch runs (besides the monitor's lines).
class IBatchProgress : public IProgressView {
public:
    virtual void ShowProgressWindow() = 0;
    virtual void SetAbortCaption(const QString& caption) = 0;
    virtual void SetProgressBar(int percent) = 0;
    virtual void SetProgressBarVisible(bool visible) = 0;
    virtual void SetInputFile(const QString& path) = 0;
    virtual void SetOutputLabel(const QString& html) = 0;
    // The status label; `colour` (0x00BBGGRR) when it is to be coloured.
    virtual void SetStatus(const QString& html, std::optional<quint32> colour) = 0;
    virtual void RestoreTitles(const QString& appTitle, const QString& caption) = 0;
    // The batch is over; the progress window hides itself when the user asked for it.
    virtual void BatchFinished() = 0;
};

// What the window around a batch does: the rows, the lock, messages, what follows the batch.
class IBatchWindow {
public:
    virtual ~IBatchWindow() = default;
    virtual void SetRowStatus(int row, const QString& status) = 0;
    virtual void LockWindow() = 0;
    virtual void UnlockWindow() = 0;
    virtual void ShowWarning(const QString& text) = 0;
    virtual void ShowErrorLog(const QString& caption) = 0;
    virtual void CloseApplication() = 0;
    virtual void ShutDownComputer() = 0;
};

// Both parts, as the batch driver reports to them.
class IBatchView : public IBatchProgress, public IBatchWindow {};

// A view that shows nothing: implementations derive from it and override what they use.
class TBatchViewBase : public IBatchView {
public:
    void ProcessEvents() override {}
    bool EncoderOutputHidden() const override { return true; }
    void ShowStatusLine(const QString&) override {}
    void ShowProgress(int, const QString&, const QString&) override {}
    void ShowEncoderOutput(const QString&) override {}
    void ShowProgressWindow() override {}
    void SetAbortCaption(const QString&) override {}
    void SetProgressBar(int) override {}
    void SetProgressBarVisible(bool) override {}
    void SetInputFile(const QString&) override {}
    void SetOutputLabel(const QString&) override {}
    void SetStatus(const QString&, std::optional<quint32>) override {}
    void RestoreTitles(const QString&, const QString&) override {}
    void BatchFinished() override {}
    void SetRowStatus(int, const QString&) override {}
    void LockWindow() override {}
    void UnlockWindow() override {}
    void ShowWarning(const QString&) override {}
    void ShowErrorLog(const QString&) override {}
    void CloseApplication() override {}
    void ShutDownComputer() override {}
};

struct TBatchResult {
    bool Started = false; // at least the first row was reached
    bool StoppedEarly = false;
    bool Aborted = false;
    int Converted = 0; // runs that ended with exit code 0 (script lines in script mode)
    int Skipped = 0;
    int Failed = 0;
};

class TConversionBatch {
public:
    TConversionBatch(const TEncoderSettings& settings, const QList<TBatchRow>& rows,
                     const TBatchOptions& options, TAppParams& params, const TAppStrings& strings,
                     IBatchView& view, TErrorLog& errorLog, TAbortState& abort);

    // The resolution list (from its third item) and the processor count the builder uses.
    QStringList ResolutionEntries;
    int ProcessorCount = 2;
    // Kept analyses of the list's files: an unchanged file is not described again.
    TAnalysisCache* Cache = nullptr;
    // Called before a file's analysis is looked for, so that one still being made can be
    // waited for rather than made twice.
    std::function<void(const QString& input)> BeforeAnalysis;

    TBatchResult Run();

    // Shared with the progress window while the batch runs.
    TBatchPosition Position;
    TVideoFileInfo CurrentFileInfo;
    QStringList EncoderOutputLines;

private:
    class TWarnings;
    enum class TRowResult { Next, Stop, Abort };
    TRowResult ConvertRow(int row, int fileNo, TBatchScript& script, TBatchResult& result);
    int RunEncoder(const QString& arguments, const QString& workDir);
    void RecordFailure(int exitCode, const QString& input, const QString& output);
    void CommonEnd();
    QString OutputPath(const QString& input) const;

    const TEncoderSettings& Settings;
    const QList<TBatchRow>& Rows;
    const TBatchOptions& Options;
    TAppParams& Params;
    const TAppStrings& Strings;
    IBatchView& View;
    TErrorLog& ErrorLog;
    TAbortState& Abort;
    QString FFmpeg;
    QString AacEncoder;
    bool ScriptMode = false;
    bool LogDirCreated = false;
    uint32_t EstimatedFrames = 0;
};

// The path itself when nothing exists there, else the first free "name_001.ext" (the separator
// and the digit count as given); empty when all 100000 are taken.
QString GetUniqueFileName(const QString& path, const QString& separator, int digits);
// Removes the encoder's two-pass log files from the working folder, then the folder.
void ClearLogs(const QString& logDir);
