#include "encoding/BatchDriver.h"

#include "core/AppParams.h"
#include "encoding/EncoderCaps.h"
#include "execution/ConRun.h"
#include "filelist/AnalysisCache.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// "/videos/" and "clip.avi" of an output path, for the progress window's labels.
QString FolderOf(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).path() + u'/');
}

QString NameOf(const QString& path) {
    return QFileInfo(path).fileName();
}

bool SameFile(const QString& a, const QString& b) {
    const std::optional<Platform::TFileStamp> x = Platform::FileStamp(a);
    const std::optional<Platform::TFileStamp> y = Platform::FileStamp(b);
    return x && y && x->Inode == y->Inode && x->Device == y->Device;
}

void DeleteIfEmpty(const QString& path) {
    const QFileInfo out(path);
    if (out.isFile() && out.size() == 0) {
        QFile::setPermissions(path, QFile::permissions(path) | QFile::WriteOwner);
        QFile::remove(path);
    }
}

} // namespace

// Warnings of the builder go to the window's message box.
class TConversionBatch::TWarnings : public IWarningSink {
public:
    explicit TWarnings(IBatchView& view) : View(view) {}
    void ShowWarning(const QString& text) override { View.ShowWarning(text); }

private:
    IBatchView& View;
};

QString GetUniqueFileName(const QString& path, const QString& separator, int digits) {
    if (!QFileInfo::exists(path))
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
        if (!QFileInfo::exists(candidate))
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
    // encoder left there goes with it.
    QDir(logDir).removeRecursively();
}

TConversionBatch::TConversionBatch(const TEncoderSettings& settings, const QList<TBatchRow>& rows,
                                   const TBatchOptions& options, TAppParams& params,
                                   const TAppStrings& strings, IBatchView& view,
                                   TErrorLog& errorLog, TAbortState& abort)
    : Settings(settings), Rows(rows), Options(options), Params(params), Strings(strings),
      View(view), ErrorLog(errorLog), Abort(abort) {}

QString TConversionBatch::OutputPath(const QString& input) const {
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

int TConversionBatch::RunEncoder(const QString& arguments, const QString& workDir) {
    TProgressMonitor monitor(EncoderOutputLines, Abort, Position, EstimatedFrames, FFmpeg, Strings,
                             View);
    return RunConsoleProcess(FFmpeg, arguments, &EncoderOutputLines, workDir, {&monitor, 0});
}

void TConversionBatch::RecordFailure(int exitCode, const QString& input, const QString& output) {
    ++ErrorLog.ErrorCount;
    FilterEncoderOutput(EncoderOutputLines);
    const QString pane = EncoderOutputLines.join(QStringLiteral("\r\n"));
    View.ShowEncoderOutput(EncoderOutputLines.join(u'\n'));
    ErrorLog.AddErrorLogEntry(QStringLiteral("ExitCode: %1\r\n").arg(exitCode) + pane, input,
                              output, ErrorLog.ErrorCount);
}

TBatchResult TConversionBatch::Run() {
    TBatchResult result;
    ScriptMode = !Options.ScriptFileName.isEmpty();
    const TScriptKind kind = ScriptKindFor(Options.ScriptFileName);
    Abort.Reset();
    Position = {};
    Abort.ConversionRunning = true;
    LogDirCreated = false;
    ErrorLog.ClearErrorLog();
    Params.KeepFileDates = Options.KeepFileDates;
    View.LockWindow();
    TBatchScript script(kind);

    const auto stopEarly = [&] {
        result.StoppedEarly = true;
        CommonEnd();
        return result;
    };
    FFmpeg = GetFFmpegExe(Params);
    if (!Platform::IsRegularFile(FFmpeg)) {
        View.ShowWarning(FFmpegNotFoundText(Strings));
        return stopEarly();
    }
    if (ScriptMode) {
        if (const auto unsafe = UnsafeScriptPath(kind, FFmpeg)) {
            View.ShowWarning(*unsafe);
            return stopEarly();
        }
    }
    script.Begin(FFmpeg);
    // Asking the encoder for its encoders costs a run of it: only when the AAC row is used.
    AacEncoder =
        Settings.Audio.AudioCodec == acAac ? AacEncoderFor(FFmpeg) : QStringLiteral("libfdk_aac");
    Params.LogDir = GetTempWorkDir();
    View.SetProgressBar(0);
    View.SetAbortCaption(Strings.Main.Abort);
    for (const TBatchRow& row : Rows)
        if (row.Checked)
            ++Position.BatchFileCount;
    if (Position.BatchFileCount == 0)
        return stopEarly();
    if (!ScriptMode)
        View.ShowProgressWindow();
    Position.NoVideoOutput = Settings.DoNotCopyVideo() && !Settings.Audio.DoNotCopyAudio;
    View.SetProgressBarVisible(!Position.NoVideoOutput);
    result.Started = true;

    try {
        int fileNo = 0;
        for (int row = 0; row < Rows.size(); ++row) {
            if (!Rows.at(row).Checked)
                continue;
            const TRowResult r = ConvertRow(row, ++fileNo, script, result);
            if (r == TRowResult::Stop)
                return stopEarly();
            if (r == TRowResult::Abort)
                break;
        }
    } catch (...) {
        // The encoder could not be started: the batch ends as after an early stop, and the
        // error reaches the caller.
        CommonEnd();
        throw;
    }

    script.End();
    if (ScriptMode) {
        QString error;
        if (!script.Save(Options.ScriptFileName, &error))
            View.ShowWarning(Options.ScriptFileName + QStringLiteral(": ") + error);
    }
    View.SetAbortCaption(Strings.Main.Close);
    result.Aborted = Abort.Aborted();
    const bool terminated = Abort.TerminateRequested;
    CommonEnd();
    if (ErrorLog.ErrorCount > 0 && !terminated)
        View.ShowErrorLog(Strings.Main.Errors + QStringLiteral(" (%1)").arg(ErrorLog.ErrorCount));
    // What follows a batch follows a real conversion only: writing a script converts nothing.
    if (Position.BatchFileCount > 0 && !result.Aborted && ErrorLog.ErrorCount == 0 && !ScriptMode) {
        if (Options.AfterConversion == acCloseApplication) {
            View.CloseApplication();
        } else if (Options.AfterConversion == acCloseWindows) {
            View.ShutDownComputer();
            View.CloseApplication();
        }
    }
    return result;
}

TConversionBatch::TRowResult TConversionBatch::ConvertRow(int row, int fileNo, TBatchScript& script,
                                                          TBatchResult& result) {
    View.ProcessEvents();
    Position.BatchFileNo = fileNo;
    const QString input = Rows.at(row).Path;
    View.SetInputFile(input);
    View.SetStatus(QString(), std::nullopt);

    if (!Options.OutDirIsInDir) {
        const QString dir = Options.OutDir;
        QDir().mkpath(dir);
        if (!QFileInfo(dir).isDir()) {
            View.ShowWarning(FormatCatalogText(Strings.Main.CantCreateDirectory, dir));
            return TRowResult::Stop;
        }
    }
    QString output = OutputPath(input);
    if (!ScriptMode)
        View.SetRowStatus(row, Strings.Main.Converting);
    QString status = Strings.Main.Done;
    bool renamed = false;
    if (QFileInfo::exists(output)) {
        // The input itself under another name (a link, a folder that links to the input's) must
        // never be overwritten: the same file is the same device and inode, whatever its path.
        if (Options.OutputExists == oeRename || output == input || SameFile(output, input)) {
            output = GetUniqueFileName(output, QStringLiteral("_"), 3);
            status = Strings.Main.OK_Renamed;
            renamed = true;
        } else if (Options.OutputExists == oeSkip) {
            status = Strings.Main.Skipped;
            if (!ScriptMode)
                View.SetRowStatus(row, status);
            View.SetStatus(status, std::nullopt);
            View.SetOutputLabel(QStringLiteral("<font bgcolor=\"#C0C0C0\">") +
                                FolderOf(output).toHtmlEscaped() + QStringLiteral("</font><b>") +
                                NameOf(output).toHtmlEscaped() + QStringLiteral("</b>"));
            ++result.Skipped;
            return TRowResult::Next;
        }
        if (Options.OutputExists == oeOverwrite && !renamed)
            status = Strings.Main.OK_Overwritten;
    }
    if (output.isEmpty()) {
        View.ShowWarning(FormatCatalogText(Strings.Main.CantCreateDirectory, input));
        return TRowResult::Stop;
    }
    const bool outputExistedBefore = QFileInfo::exists(output);
    if (ScriptMode) {
        for (const QString& path : {input, output}) {
            if (const auto unsafe = UnsafeScriptPath(script.ScriptKind(), path)) {
                View.ShowWarning(*unsafe);
                return TRowResult::Stop;
            }
        }
    }
    View.SetProgressBar(0);
    View.SetOutputLabel(QStringLiteral("<b><font bgcolor=\"#696969\" color=\"#FFFFFF\"> ") +
                        FolderOf(output).toHtmlEscaped() + QStringLiteral(" </font> ") +
                        NameOf(output).toHtmlEscaped() + QStringLiteral("</b>"));
    EncoderOutputLines.clear();
    View.ShowEncoderOutput(QString());
    View.SetStatus(Strings.Main.PleaseWait, std::nullopt);
    View.ProcessEvents();

    {
        TProgressMonitor monitor(EncoderOutputLines, Abort, Position, EstimatedFrames, FFmpeg,
                                 Strings, View);
        TVideoFileInfo info;
        if (BeforeAnalysis)
            BeforeAnalysis(input);
        if (std::optional<TVideoFileInfo> kept = Cache ? Cache->Find(input) : std::nullopt)
            info = std::move(*kept);
        else
            GetVideoFileInfo(input, FFmpeg, Params.MediaInfoDll, info, {&monitor});
        CurrentFileInfo = info;
        EstimatedFrames = CurrentFileInfo.VideoStreams[0].Frames;
    }

    TWarnings warnings(View);
    TBuilderEnvironment environment;
    environment.ResolutionEntries = ResolutionEntries;
    environment.ProcessorCount = ProcessorCount;
    environment.AacEncoder = AacEncoder;
    environment.Warnings = &warnings;
    const TArgumentBuilder builder(Settings, CurrentFileInfo, Strings, environment);
    TArgumentPieces pieces;
    pieces.VCodec = builder.GetVideoCodecStr().trimmed();
    pieces.ACodec = builder.GetAudioCodecStr().trimmed();
    pieces.AdvParams = builder.GetAdvancedParamsStr().trimmed();
    pieces.AddParams = builder.GetAdditionalParamsStr().trimmed();
    if (pieces.AdvParams == QStringView(ErrorPiece))
        return TRowResult::Stop;
    pieces.VParams = builder.GetVideoParamsStr().trimmed();
    if (pieces.VParams == QStringView(ErrorPiece))
        return TRowResult::Stop;
    pieces.AParams = builder.GetAudioParamsStr().trimmed();
    if (pieces.AParams == QStringView(ErrorPiece))
        return TRowResult::Stop;
    if (ScriptMode) {
        for (const QString* piece : {&pieces.VCodec, &pieces.ACodec, &pieces.AdvParams,
                                     &pieces.AddParams, &pieces.VParams, &pieces.AParams}) {
            if (const auto unsafe = UnsafeScriptPiece(script.ScriptKind(), *piece)) {
                View.ShowWarning(*unsafe);
                return TRowResult::Stop;
            }
        }
    }
    script.SetPiece(QStringLiteral("VCodec"), pieces.VCodec);
    script.SetPiece(QStringLiteral("ACodec"), pieces.ACodec);
    script.SetPiece(QStringLiteral("AdvParams"), pieces.AdvParams);
    script.SetPiece(QStringLiteral("AddParams"), pieces.AddParams);
    script.FileComment(fileNo);
    script.SetPiece(QStringLiteral("VParams"), pieces.VParams);
    script.SetPiece(QStringLiteral("AParams"), pieces.AParams);

    const bool h264 = H264Mode(Settings);
    Position.TwoPassMode = Settings.IsMpg()
                               ? Settings.Mpg.Video2Pass
                               : Settings.Avi.Video2Pass && Settings.Avi.VideoCodec != vcWmv1 &&
                                     !Settings.Avi.DoNotCopyVideo;
    int exitCode = 0;
    Platform::TFileDates dates;
    bool terminatedDuringRun = false;
    if (Position.TwoPassMode) {
        if (!QDir().mkpath(Params.LogDir))
            Params.LogDir.clear();
        else
            LogDirCreated = true;
        if (ScriptMode) {
            script.Command(input, output, h264, 1);
            script.Command(input, output, h264, 2);
        } else {
            Position.CurrentPass = 1;
            EncoderOutputLines.clear();
            if (Params.KeepFileDates)
                dates = Platform::GetFileDates(input);
            if (!Abort.Aborted())
                exitCode =
                    RunEncoder(ArgumentString(pieces, input, output, h264, 1), Params.LogDir);
            if (exitCode != 0) {
                status = Strings.Main.Error + QStringLiteral(" (%1)").arg(exitCode);
                RecordFailure(exitCode, input, output);
            } else if (!Abort.Aborted()) {
                Position.CurrentPass = 2;
                EncoderOutputLines.clear();
                exitCode =
                    RunEncoder(ArgumentString(pieces, input, output, h264, 2), Params.LogDir);
                if (exitCode != 0) {
                    status = Strings.Main.Error + QStringLiteral(" = %1").arg(exitCode);
                    RecordFailure(exitCode, input, output);
                }
            }
            terminatedDuringRun = Abort.TerminateRequested;
        }
    } else if (ScriptMode) {
        script.Command(input, output, h264, 0);
    } else {
        EncoderOutputLines.clear();
        if (Params.KeepFileDates)
            dates = Platform::GetFileDates(input);
        if (!Abort.Aborted())
            exitCode = RunEncoder(ArgumentString(pieces, input, output, h264, 0), QString());
        if (exitCode != 0) {
            status = Strings.Main.Error + QStringLiteral(" (%1)").arg(exitCode);
            RecordFailure(exitCode, input, output);
        }
        terminatedDuringRun = Abort.TerminateRequested;
    }

    const bool aborted = Abort.Aborted();
    if (!aborted)
        View.SetProgressBar(100);
    else
        status = Strings.Main.Aborted;
    View.SetStatus(QStringLiteral("<b>") + status + QStringLiteral("</b>"),
                   !aborted && exitCode == 0 ? Params.ColorOK : Params.ColorError);
    if (!ScriptMode)
        View.SetRowStatus(row, status);
    if (exitCode == 0 && !aborted)
        ++result.Converted;
    else if (exitCode != 0)
        ++result.Failed;
    // An encoder ended by force did not close its file: what it left is no finished output. One
    // that failed may leave a header without frames: the file this run created goes too, never
    // a file that was there before the run.
    if (!ScriptMode && output != input && !SameFile(output, input) &&
        (terminatedDuringRun || (exitCode != 0 && !outputExistedBefore)))
        QFile::remove(output);
    if (!ScriptMode)
        DeleteIfEmpty(output);
    if (Params.KeepFileDates && dates.Read && !ScriptMode && QFileInfo::exists(output))
        Platform::SetFileDates(output, dates);
    return aborted ? TRowResult::Abort : TRowResult::Next;
}

void TConversionBatch::CommonEnd() {
    FilterEncoderOutput(EncoderOutputLines);
    View.ShowEncoderOutput(EncoderOutputLines.join(u'\n'));
    Abort.ConversionRunning = false;
    View.UnlockWindow();
    // Every working folder a two-pass run created goes, whatever the last file's mode was.
    if (LogDirCreated)
        ClearLogs(Params.LogDir);
    View.RestoreTitles(ProductTitle(), Strings.Progress.Caption);
    Abort.Reset();
    View.BatchFinished();
}
