// zorvane-cli convert and script: the batch driver with the terminal as its window.

#include "app/Startup.h"
#include "cli/Cli.h"
#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchDriver.h"
#include "encoding/EncoderCaps.h"
#include "encoding/ReferenceLists.h"
#include "encoding/SizeEstimate.h"
#include "filelist/AnalysisCache.h"
#include "filelist/MediaInfoDll.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSocketNotifier>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

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
class TTerminalView : public QObject {
public:
    TTerminalView(TBatchEngine& engine, const TErrorLog& log)
        : Engine(engine), Log(log), Terminal(::isatty(STDOUT_FILENO) == 1) {
        connect(&engine, &TBatchEngine::Warning, this, [this](const QString& text) {
            EndProgressLine();
            Err() << TerminalText(text) << '\n';
            Err().flush();
        });
        connect(&engine, &TBatchEngine::JobStatus, this, [this](int job, const QString& status) {
            EndProgressLine();
            LastTenth = -1;
            // A failure says why in the same line.
            const TBatchJob& j = Engine.Job(job);
            Out() << j.Input << ": " << status
                  << (j.Reason.isEmpty() ? QString() : u": "_s + TerminalText(j.Reason)) << '\n';
            Out().flush();
        });
        connect(&engine, &TBatchEngine::JobProgress, this, &TTerminalView::ShowProgress);
        connect(&engine, &TBatchEngine::BatchFinished, this, [this](const TBatchResult& result) {
            EndProgressLine();
            if (!result.ErrorLogCaption.isEmpty()) {
                Err() << result.ErrorLogCaption << ":\n" << Log.Text().join(u'\n') << '\n';
                Err().flush();
            }
        });
        // Ctrl+C, and the end of the terminal or of the session: Abort, as the window's button.
        const int fd = Platform::CloseSignalsFd();
        if (fd >= 0) {
            auto* signals = new QSocketNotifier(fd, QSocketNotifier::Read, this);
            connect(signals, &QSocketNotifier::activated, this, [this, fd] {
                char bytes[16];
                while (::read(fd, bytes, sizeof bytes) > 0) {
                }
                if (Engine.Abort()) {
                    EndProgressLine();
                    Err() << "Aborting...\n";
                    Err().flush();
                }
            });
        }
    }

private:
    void ShowProgress(int job) {
        const TBatchJob& j = Engine.Job(job);
        QString line;
        int percent = 0;
        if (Engine.SimultaneousConversions <= 1) {
            // "Converting file: 1 / 2 :: Speed: 2.00x ( 50 frames/sec ) :: Frame: ..."
            if (j.Percent <= 0)
                return;
            percent = j.Percent;
            line = QStringLiteral("%1% ").arg(percent, 3) + PlainText(j.Display.StatusHtml);
        } else {
            // The whole batch, then every file under way with its percentage and speed.
            const TBatchOverall overall = Engine.Overall();
            percent = overall.Percent;
            line = QStringLiteral("%1%").arg(percent, 3);
            if (overall.MsLeft >= 0)
                line +=
                    QStringLiteral(" (") + TimeLeftText(overall.MsLeft) + QStringLiteral(" left)");
            for (const TBatchJob& running : Engine.Jobs()) {
                if (running.State != TJobState::Running)
                    continue;
                line += QStringLiteral(" | ") + QFileInfo(running.Input).fileName() +
                        QStringLiteral(" %1%").arg(running.Percent);
                if (!running.Display.Values.Speed.isEmpty())
                    line += u' ' + running.Display.Values.Speed;
            }
        }
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

    void EndProgressLine() {
        if (ProgressShown)
            Out() << '\n';
        ProgressShown = false;
    }

    TBatchEngine& Engine;
    const TErrorLog& Log;
    bool Terminal;
    bool ProgressShown = false;
    int LastTenth = -1;
};

// The batch's options from the command line: where outputs go, what happens to existing ones,
// the script's name and kind, the files at once. Non-zero: the status to end with.
int BatchOptionsFromOptions(const QCommandLineParser& parser, bool script, TBatchOptions& options,
                            int& jobs) {
    const QString command = script ? QStringLiteral("script") : QStringLiteral("convert");
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
        // --format sh|bat|parallel; without it the name's ending chooses .sh or .bat.
        for (const QString& value : parser.values(QStringLiteral("format"))) {
            const QString format = value.toLower();
            if (!ScriptFormatOption(format))
                continue;
            options.ParallelJobFile = format == u"parallel";
            if (format != u"parallel" &&
                ScriptKindFor(options.ScriptFileName) !=
                    (format == u"sh" ? TScriptKind::Sh : TScriptKind::Bat)) {
                Err() << "zorvane-cli script: the name of the script must end in ." << format
                      << '\n';
                return 2;
            }
        }
    } else if (parser.isSet(QStringLiteral("jobs"))) {
        const QString value = parser.value(QStringLiteral("jobs")).toLower();
        bool ok = false;
        jobs = value == u"auto" ? 0 : value.toInt(&ok);
        if (value != u"auto" && (!ok || jobs < 1)) {
            Err() << "zorvane-cli convert: --jobs takes a number from 1 or auto\n";
            return 2;
        }
    }
    return 0;
}

// Before converting: the outputs that will not fit where they go are told, and with
// --space-check strict nothing starts (status 1). The analyses made for it are kept in `cache`
// for the batch. -1: go on.
int CheckSpace(const QCommandLineParser& parser, const QList<TBatchRow>& rows,
               const TBatchOptions& options, const TEncoderSettings& settings,
               const QStringList& resolutions, const TAppStrings& strings, TAnalysisCache& cache) {
    const QString mode = parser.value(QStringLiteral("space-check")).toLower();
    if (mode == u"off")
        return -1;
    if (!mode.isEmpty() && mode != u"warn" && mode != u"strict") {
        Err() << "zorvane-cli convert: --space-check takes warn, strict or off\n";
        return 2;
    }
    const QString ffmpeg = GetFFmpegExe(AppParams);
    QStringList paths;
    for (const TBatchRow& row : rows)
        paths.append(row.Path);
    AnalyseFiles(paths, ffmpeg, AppParams.MediaInfoDll, GetProcessorCount(), &cache);
    TBuilderEnvironment environment;
    environment.ResolutionEntries = resolutions;
    environment.ProcessorCount = GetProcessorCount();
    if (settings.Audio.AudioCodec == acAac)
        environment.AacEncoder = AacEncoderFor(ffmpeg);
    const QList<TSpaceShortage> shortages =
        SpaceShortages(PlanOutputSizes(rows, options, settings, environment, strings,
                                       [&](const QString& path) { return cache.Find(path); }));
    for (const TSpaceShortage& shortage : shortages)
        Err() << (mode == u"strict" ? "Error: " : "Warning: ")
              << TerminalText(SpaceShortageText(shortage, strings).replace(u"\r\n"_s, u" "_s))
              << '\n';
    return shortages.isEmpty() || mode != u"strict" ? -1 : 1;
}

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
    int jobs = 0; // Auto
    if (const int status = BatchOptionsFromOptions(parser, script, options, jobs))
        return status;

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

    if (!AppParams.MediaInfoDll.isEmpty())
        LoadMediaInfoLibrary(AppParams.MediaInfoDll);
    TAnalysisCache cache;
    if (!script)
        if (const int stop =
                CheckSpace(parser, rows, options, settings, resolutions, strings, cache);
            stop >= 0)
            return stop;
    TErrorLog log;
    TBatchEngine engine(settings, rows, options, AppParams, strings, log);
    engine.Cache = &cache;
    engine.ResolutionEntries = resolutions;
    engine.ProcessorCount = GetProcessorCount();
    engine.SimultaneousConversions = SimultaneousConversionsFor(jobs, GetProcessorCount());
    // Nothing shows the encoder's output here: it is kept as it comes, and the error log
    // filters what it keeps.
    engine.OutputShown = false;
    TTerminalView view(engine, log);
    const TBatchResult result = RunBatchToEnd(engine);
    if (result.StoppedEarly || result.Aborted || result.Failed > 0)
        status = 1;
    if (script && status == 0)
        Out() << "Script written: " << options.ScriptFileName << '\n';
    return status;
}

} // namespace

void AddConvertOptions(QCommandLineParser& p, bool script) {
    AddSettingsOptions(p, script);
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
    if (!script) {
        p.addOption({QStringLiteral("jobs"),
                     QStringLiteral("Files converted at once: a number, or auto (the default)."),
                     QStringLiteral("N")});
        p.addOption({QStringLiteral("space-check"),
                     QStringLiteral("Outputs larger than the free space: warn (the default) and "
                                    "convert, strict (convert nothing), or off."),
                     QStringLiteral("HOW")});
    }
    p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A media file."),
                            QStringLiteral("FILE..."));
}

int RunConvert(const QCommandLineParser& parser) {
    return RunBatch(parser, false);
}

int RunScript(const QCommandLineParser& parser) {
    return RunBatch(parser, true);
}
