#include "app/ProgramSettings.h"

#include "core/AppParams.h"
#include "core/IniFile.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString Main = QStringLiteral("MAIN");
const QString Progress = QStringLiteral("PROGRESS");

QString Key(const TListColumn& column, const char* suffix) {
    return QString::fromUtf16(column.Name) + QLatin1StringView(suffix);
}

QString FileAnalysisText(TFileAnalysis analysis) {
    switch (analysis) {
    case TFileAnalysis::faQuick:
        return QStringLiteral("Quick");
    case TFileAnalysis::faNone:
        return QStringLiteral("None");
    default:
        return QStringLiteral("Full");
    }
}

TFileAnalysis FileAnalysisFromText(const QString& text) {
    const QString t = text.toUpper();
    if (t == u"NONE")
        return TFileAnalysis::faNone;
    if (t == u"QUICK")
        return TFileAnalysis::faQuick;
    return TFileAnalysis::faFull;
}

// A list index read from the file; one outside the list would select nothing, which the batch
// would take for its second choice, so it reads as the first item.
int ListIndex(const TIniFile& ini, const QString& key, int current, int count) {
    const int value = ini.ReadInteger(Main, key, current);
    return value >= 0 && value < count ? value : 0;
}

} // namespace

std::array<TColumnSettings, ListColumnCount> TProgramSettings::DefaultColumnSettings() {
    std::array<TColumnSettings, ListColumnCount> columns;
    for (int i = 0; i < ListColumnCount; ++i)
        columns[size_t(i)] = {ListColumns[size_t(i)].DefaultWidth, i,
                              ListColumns[size_t(i)].DefaultVisible};
    return columns;
}

void LoadProgramSettings(TProgramSettings& s, const TIniFile& ini, QSize screen) {
    if (!ini.FileExisted())
        return;
    s.EscExit = ini.ReadBool(Main, QStringLiteral("EscExit"), false);
    if (ini.ValueExists(Main, QStringLiteral("MediaInfoDll")))
        s.MediaInfoDll = ini.ReadString(Main, QStringLiteral("MediaInfoDll"), {});
    if (ini.ValueExists(Main, QStringLiteral("ToolsDir")))
        s.ToolsDir = ini.ReadString(Main, QStringLiteral("ToolsDir"), {});
    s.LanguageIni = ini.ReadString(Main, QStringLiteral("LanguageIni"), s.LanguageIni);
    if (ini.ValueExists(Main, QStringLiteral("ffmpeg")))
        s.ffmpeg = ini.ReadString(Main, QStringLiteral("ffmpeg"), {});
    s.OutputFormat =
        ini.ReadString(Main, QStringLiteral("OutputFormat"), QStringLiteral("AVI")).toUpper() ==
                u"MPG"
            ? TOutputFormat::MPG
            : TOutputFormat::AVI;

    s.Left = ini.ReadInteger(Main, QStringLiteral("Left"), s.Left);
    if (s.Left > screen.width() || s.Left < -screen.width())
        s.Left = 0;
    s.Top = ini.ReadInteger(Main, QStringLiteral("Top"), s.Top);
    if (s.Top < 0 || s.Top > screen.height())
        s.Top = 0;
    s.Width = ini.ReadInteger(Main, QStringLiteral("Width"), s.Width);
    s.Height = ini.ReadInteger(Main, QStringLiteral("Height"), s.Height);
    s.Maximized = ini.ReadBool(Main, QStringLiteral("Maximized"), s.Maximized);

    s.OutputExists =
        ListIndex(ini, QStringLiteral("cbOutputExists"), s.OutputExists, OutputExistsItemCount);
    s.AfterConversion = ListIndex(ini, QStringLiteral("cbAfterConversion"), s.AfterConversion,
                                  AfterConversionItemCount);
    s.OutIn = ini.ReadBool(Main, QStringLiteral("OutIn"), s.OutIn);
    s.OutDir = ini.ReadString(Main, QStringLiteral("OutDir"), s.OutDir);
    s.KeepFileDates = ini.ReadBool(Main, QStringLiteral("KeepFileDates"), s.KeepFileDates);
    s.FileAnalysis = FileAnalysisFromText(
        ini.ReadString(Main, QStringLiteral("FileAnalysis"), QStringLiteral("FULL")));

    for (const int i : ListColumnKeyOrder)
        s.Columns[size_t(i)].Width = ini.ReadInteger(Main, Key(ListColumns[size_t(i)], "_Width"),
                                                     s.Columns[size_t(i)].Width);
    for (const int i : ListColumnKeyOrder) {
        const QString key = Key(ListColumns[size_t(i)], "_Position");
        s.Columns[size_t(i)].Position =
            ini.ValueExists(Main, key)
                ? std::clamp(ini.ReadInteger(Main, key, s.Columns[size_t(i)].Position), 0,
                             ListColumnCount - 1)
                : KeepPosition;
    }
    for (const int i : ListColumnKeyOrder)
        if (ListColumns[size_t(i)].Hideable)
            s.Columns[size_t(i)].Visible = ini.ReadBool(
                Main, Key(ListColumns[size_t(i)], "_Visible"), s.Columns[size_t(i)].Visible);

    s.RowHeight =
        std::clamp(ini.ReadInteger(Main, QStringLiteral("RowHeight"), s.RowHeight), 12, 50);
    s.ListFontName = ini.ReadString(Main, QStringLiteral("ListFontName"), s.ListFontName);
    s.ListFontSize =
        std::clamp(ini.ReadInteger(Main, QStringLiteral("ListFontSize"), s.ListFontSize), 6, 20);
    s.GridLines = ini.ReadBool(Main, QStringLiteral("GridLines"), true);
    s.RowIndicator = ini.ReadBool(Main, QStringLiteral("RowIndicator"), s.RowIndicator);
    s.GridFooter = ini.ReadBool(Main, QStringLiteral("GridFooter"), s.GridFooter);
    s.AllowRowMoving = ini.ReadBool(Main, QStringLiteral("AllowRowMoving"), s.AllowRowMoving);
    s.AllowColumnMoving =
        ini.ReadBool(Main, QStringLiteral("AllowColumnMoving"), s.AllowColumnMoving);
    s.LastDir = ini.ReadString(Main, QStringLiteral("LastDir"), s.LastDir);
    s.ConversionSettingsExpanded =
        ini.ReadBool(Main, QStringLiteral("pnConversionSettingsExpanded"), true);
    s.OpenFileAfterIconClick =
        ini.ReadBool(Main, QStringLiteral("OpenFileAfterIconClick"), s.OpenFileAfterIconClick);
    s.DefaultVideoCodecIndex =
        ini.ReadString(Main, QStringLiteral("DefaultVideoCodec"), QStringLiteral("Xvid"))
                    .trimmed()
                    .toUpper() == u"H.264"
            ? vcH264
            : vcXvid;
    s.DragAcceptDirectories =
        ini.ReadBool(Main, QStringLiteral("DragAcceptDirectories"), s.DragAcceptDirectories);
    // "Auto" or a number of files at once; anything else is Auto.
    bool number = false;
    const int jobs =
        ini.ReadString(Main, QStringLiteral("SimultaneousConversions"), QString()).toInt(&number);
    s.SimultaneousConversions = number && jobs >= 1 ? std::min(jobs, 64) : 0;
}

void LoadProgressSettings(TProgramSettings& s, const TIniFile& ini) {
    if (!ini.FileExisted())
        return;
    TProgressWindowSettings& p = s.Progress;
    p.DontShowEncoderOutput =
        ini.ReadBool(Progress, QStringLiteral("DontShowEncoderOutput"), p.DontShowEncoderOutput);
    p.Width = ini.ReadInteger(Progress, QStringLiteral("Width"), p.Width);
    p.Height = ini.ReadInteger(Progress, QStringLiteral("Height"), p.Height);
    p.CloseAfterConversion =
        ini.ReadBool(Progress, QStringLiteral("CloseAfterConversion"), p.CloseAfterConversion);
    p.AutoScrollMemoToBottom =
        ini.ReadBool(Progress, QStringLiteral("AutoScrollMemoToBottom"), p.AutoScrollMemoToBottom);
}

void StoreProgramSettings(const TProgramSettings& s, TIniFile& ini) {
    ini.WriteString(Main, QStringLiteral("LanguageIni"), s.LanguageIni);
    ini.WriteBool(Main, QStringLiteral("Maximized"), s.Maximized);
    if (!s.Maximized) {
        ini.WriteInteger(Main, QStringLiteral("Left"), s.Left);
        ini.WriteInteger(Main, QStringLiteral("Top"), s.Top);
        ini.WriteInteger(Main, QStringLiteral("Width"), s.Width);
        ini.WriteInteger(Main, QStringLiteral("Height"), s.Height);
    }
    ini.WriteInteger(Main, QStringLiteral("cbOutputExists"), s.OutputExists);
    ini.WriteInteger(Main, QStringLiteral("cbAfterConversion"), s.AfterConversion);
    ini.WriteBool(Main, QStringLiteral("OutIn"), s.OutIn);
    ini.WriteString(Main, QStringLiteral("OutDir"), s.OutDir);
    ini.WriteBool(Main, QStringLiteral("KeepFileDates"), s.KeepFileDates);
    ini.WriteBool(Main, QStringLiteral("GridLines"), s.GridLines);
    ini.WriteBool(Main, QStringLiteral("RowIndicator"), s.RowIndicator);
    ini.WriteBool(Main, QStringLiteral("GridFooter"), s.GridFooter);
    ini.WriteInteger(Main, QStringLiteral("RowHeight"), s.RowHeight);
    ini.WriteBool(Main, QStringLiteral("AllowRowMoving"), s.AllowRowMoving);
    ini.WriteBool(Main, QStringLiteral("AllowColumnMoving"), s.AllowColumnMoving);
    ini.WriteString(Main, QStringLiteral("ListFontName"), s.ListFontName);
    ini.WriteInteger(Main, QStringLiteral("ListFontSize"), s.ListFontSize);
    ini.WriteString(Main, QStringLiteral("FileAnalysis"), FileAnalysisText(s.FileAnalysis));
    ini.WriteBool(Main, QStringLiteral("pnConversionSettingsExpanded"),
                  s.ConversionSettingsExpanded);
    ini.WriteBool(Main, QStringLiteral("OpenFileAfterIconClick"), s.OpenFileAfterIconClick);
    ini.WriteString(Main, QStringLiteral("DefaultVideoCodec"),
                    s.DefaultVideoCodecIndex == vcH264 ? QStringLiteral("H.264")
                                                       : QStringLiteral("Xvid"));
    ini.WriteString(Main, QStringLiteral("OutputFormat"),
                    s.OutputFormat == TOutputFormat::MPG ? QStringLiteral("MPG")
                                                         : QStringLiteral("AVI"));
    ini.WriteString(Main, QStringLiteral("LastDir"), s.LastDir);
    ini.WriteBool(Main, QStringLiteral("DragAcceptDirectories"), s.DragAcceptDirectories);
    for (const int i : ListColumnKeyOrder)
        ini.WriteInteger(Main, Key(ListColumns[size_t(i)], "_Width"), s.Columns[size_t(i)].Width);
    for (const int i : ListColumnKeyOrder)
        ini.WriteInteger(
            Main, Key(ListColumns[size_t(i)], "_Position"),
            s.Columns[size_t(i)].Position == KeepPosition ? i : s.Columns[size_t(i)].Position);
    for (const int i : ListColumnKeyOrder)
        if (ListColumns[size_t(i)].Hideable)
            ini.WriteBool(Main, Key(ListColumns[size_t(i)], "_Visible"),
                          s.Columns[size_t(i)].Visible);
    // Newer than the keys above: written after them, so that they keep their order.
    ini.WriteString(Main, QStringLiteral("SimultaneousConversions"),
                    s.SimultaneousConversions > 0 ? QString::number(s.SimultaneousConversions)
                                                  : QStringLiteral("Auto"));

    const TProgressWindowSettings& p = s.Progress;
    ini.WriteBool(Progress, QStringLiteral("DontShowEncoderOutput"), p.DontShowEncoderOutput);
    ini.WriteInteger(Progress, QStringLiteral("Left"), p.Left);
    ini.WriteInteger(Progress, QStringLiteral("Top"), p.Top);
    ini.WriteInteger(Progress, QStringLiteral("Width"), p.Width);
    ini.WriteInteger(Progress, QStringLiteral("Height"), p.Height);
    ini.WriteBool(Progress, QStringLiteral("CloseAfterConversion"), p.CloseAfterConversion);
    ini.WriteBool(Progress, QStringLiteral("AutoScrollMemoToBottom"), p.AutoScrollMemoToBottom);
}

TProgramSettings ReadProgramSettingsFile(const QString& fileName, const TProgramSettings& current,
                                         QSize screen, bool* existed) {
    TProgramSettings settings = current;
    const TIniFile ini(fileName);
    LoadProgramSettings(settings, ini, screen);
    LoadProgressSettings(settings, ini);
    if (existed)
        *existed = ini.FileExisted();
    return settings;
}

bool SaveProgramSettingsFile(const TProgramSettings& settings, const QString& fileName) {
    TIniFile ini(fileName);
    StoreProgramSettings(settings, ini);
    return ini.Save();
}

void ApplyToolSettings(const TProgramSettings& s, TAppParams& params) {
    // A configured tool that does not exist falls back to the default location, never to a
    // program of that name in whatever folder the window was started from.
    const auto apply = [&params](const std::optional<QString>& configured, QString& field,
                                 QString (*locate)(TAppParams&)) {
        if (!configured)
            return;
        const QString path =
            configured->isEmpty() ? QString() : QFileInfo(*configured).absoluteFilePath();
        if (Platform::IsRegularFile(path)) {
            field = path;
        } else {
            field.clear();
            locate(params);
        }
    };
    apply(s.MediaInfoDll, params.MediaInfoDll, GetMediaInfoDll);
    if (s.ToolsDir && !s.ToolsDir->isEmpty()) {
        const QString dir = WithoutTrailingSlash(QFileInfo(*s.ToolsDir).absoluteFilePath());
        if (QFileInfo(dir).isDir())
            params.ToolsDir = dir;
    }
    apply(s.ffmpeg, params.ffmpeg, GetFFmpegExe);
}
