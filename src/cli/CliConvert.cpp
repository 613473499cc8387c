// zorvane-cli convert and script: the batch driver with the terminal as its window.

#include "app/Startup.h"
#include "cli/Cli.h"
#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchDriver.h"
#include "encoding/ReferenceLists.h"
#include "filelist/AnalysisCache.h"
#include "filelist/MediaInfoDll.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>
#include <thread>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t Interrupted = 0;

extern "C" void OnInterrupt(int) {
    Interrupted = 1;
}

QString PlainText(const QString& html) {
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    QString text = html;
    text.remove(tags);
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text.replace(blanks, QStringLiteral(" ")).trimmed();
}

// The terminal as the batch's window: statuses and a progress line on standard output,
// warnings and the error log on standard error, Ctrl+C as Abort.
class TTerminalView : public TBatchViewBase {
public:
    TTerminalView(const QList<TBatchRow>& rows, TAbortState& abort, const TErrorLog& log)
        : Rows(rows), Abort(abort), Log(log), Terminal(::isatty(STDOUT_FILENO) == 1) {}

    void ProcessEvents() override {
        if (Interrupted && !Abort.AbortRequested) {
            EndProgressLine();
            Err() << "Aborting...\n";
            Err().flush();
            Abort.RequestAbort();
        }
    }
    void ShowStatusLine(const QString& html) override { StatusLine = PlainText(html); }
    void ShowProgress(int percent, const QString&, const QString&) override {
        // The status line reads "Converting file: 1 / 2 :: Speed: 2.00x ( 50 frames/sec ) ...".
        const QString line = QStringLiteral("%1% ").arg(percent, 3) + StatusLine;
        if (Terminal) {
            Out() << '\r' << line << "\x1b[K";
            Out().flush();
            ProgressShown = true;
        } else if (percent / 10 != LastTenth) {
            Out() << line << '\n';
            Out().flush();
        }
        LastTenth = percent / 10;
    }
    void SetRowStatus(int row, const QString& status) override {
        EndProgressLine();
        LastTenth = -1;
        Out() << Rows.at(row).Path << ": " << status << '\n';
        Out().flush();
    }
    void ShowWarning(const QString& text) override {
        EndProgressLine();
        Err() << TerminalText(text) << '\n';
        Err().flush();
    }
    void ShowErrorLog(const QString& caption) override {
        EndProgressLine();
        Err() << caption << ":\n" << Log.Text().join(u'\n') << '\n';
        Err().flush();
    }
    void BatchFinished() override { EndProgressLine(); }

private:
    void EndProgressLine() {
        if (ProgressShown)
            Out() << '\n';
        ProgressShown = false;
    }

    const QList<TBatchRow>& Rows;
    TAbortState& Abort;
    const TErrorLog& Log;
    bool Terminal;
    bool ProgressShown = false;
    int LastTenth = -1;
    QString StatusLine;
};

int RunBatch(const QCommandLineParser& parser, bool script) {
    const QString command = script ? QStringLiteral("script") : QStringLiteral("convert");
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        Err() << "zorvane-cli " << command << ": name at least one file\n";
        return 2;
    }
    const TAppStrings strings;
    StartUp(AppParams);
    const QStringList resolutions = LoadResolutionEntries(AppParams.ResolutionTxt);
    TEncoderSettings settings;
    if (const int status = SettingsFromOptions(parser, command, strings, resolutions, settings))
        return status;

    TBatchOptions options;
    if (parser.isSet(QStringLiteral("output-dir"))) {
        options.OutDirIsInDir = false;
        options.OutDir = QFileInfo(parser.value(QStringLiteral("output-dir"))).absoluteFilePath();
    }
    const QString exists = parser.value(QStringLiteral("if-exists")).toLower();
    if (exists == u"overwrite")
        options.OutputExists = oeOverwrite;
    else if (exists == u"skip")
        options.OutputExists = oeSkip;
    else if (!exists.isEmpty() && exists != u"rename") {
        Err() << "zorvane-cli " << command << ": --if-exists takes rename, overwrite or skip\n";
        return 2;
    }
    options.KeepFileDates = parser.isSet(QStringLiteral("keep-dates"));
    if (script) {
        options.ScriptFileName = parser.value(QStringLiteral("output"));
        if (options.ScriptFileName.isEmpty()) {
            Err() << "zorvane-cli script: name the script with --output PATH.sh or PATH.bat\n";
            return 2;
        }
        options.ScriptFileName = QFileInfo(options.ScriptFileName).absoluteFilePath();
    }

    int status = 0;
    QList<TBatchRow> rows;
    for (const QString& name : files) {
        const QFileInfo file(name);
        if (!Platform::IsRegularFile(name)) {
            Err() << "zorvane-cli " << command << ": " << name
                  << (file.exists() ? ": not a regular file\n" : ": no such file\n");
            status = 1;
            continue;
        }
        rows.append({file.absoluteFilePath(), true});
    }
    if (rows.isEmpty())
        return 1;

    // The first file is described as the batch reaches it; the others meanwhile, side by side
    // and many files per encoder run, so that the batch starts no encoder just to read a
    // description once the first file is under way.
    TAnalysisCache analyses;
    QStringList others;
    for (const TBatchRow& row : rows.mid(1))
        others.append(row.Path);
    if (!AppParams.MediaInfoDll.isEmpty())
        LoadMediaInfoLibrary(AppParams.MediaInfoDll);
    std::thread background;
    if (!others.isEmpty())
        background = std::thread(
            [&] { AnalyseFiles(others, AppParams.ffmpeg, AppParams.MediaInfoDll, 1, &analyses); });
    const QString first = rows.first().Path;
    const auto waitForOthers = [&](const QString& input) {
        if (input != first && background.joinable())
            background.join();
    };

    TErrorLog log;
    TAbortState abort;
    TTerminalView view(rows, abort, log);
    TConversionBatch batch(settings, rows, options, AppParams, strings, view, log, abort);
    batch.ResolutionEntries = resolutions;
    batch.ProcessorCount = GetProcessorCount();
    batch.Cache = &analyses;
    batch.BeforeAnalysis = waitForOthers;
    Interrupted = 0;
    const auto previous = std::signal(SIGINT, OnInterrupt);
    TBatchResult result;
    try {
        result = batch.Run();
    } catch (...) {
        std::signal(SIGINT, previous);
        if (background.joinable())
            background.join();
        throw;
    }
    std::signal(SIGINT, previous);
    if (background.joinable())
        background.join();
    if (result.StoppedEarly || result.Aborted || result.Failed > 0)
        status = 1;
    if (script && status == 0)
        Out() << "Script written: " << options.ScriptFileName << '\n';
    return status;
}

} // namespace

void AddConvertOptions(QCommandLineParser& p, bool script) {
    AddSettingsOptions(p);
    if (script)
        p.addOption({QStringLiteral("output"),
                     QStringLiteral("The script to write; .sh gives a POSIX shell script, any "
                                    "other name a Windows batch file."),
                     QStringLiteral("PATH")});
    p.addOption({QStringLiteral("output-dir"),
                 QStringLiteral("Put the outputs here (default: beside their inputs)."),
                 QStringLiteral("DIR")});
    p.addOption({QStringLiteral("if-exists"),
                 QStringLiteral("When an output exists: rename (default), overwrite or skip."),
                 QStringLiteral("WHAT")});
    p.addOption({QStringLiteral("keep-dates"),
                 QStringLiteral("Give the outputs the dates of their inputs.")});
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A media file."),
                            QStringLiteral("FILE..."));
}

int RunConvert(const QCommandLineParser& parser) {
    return RunBatch(parser, false);
}

int RunScript(const QCommandLineParser& parser) {
    return RunBatch(parser, true);
}
