#include "FuzzTargets.h"

#include "app/ProgramSettings.h"
#include "app/ToolsInfo.h"
#include "app/UpdateCheck.h"
#include "core/IniFile.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/EncoderSettings.h"
#include "encoding/Profiles.h"
#include "execution/ConRun.h"
#include "execution/ProgressMonitor.h"
#include "filelist/BatchProbe.h"
#include "filelist/FileInfoReport.h"
#include "filelist/FileList.h"
#include "filelist/MediaInfoDll.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSize>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

QByteArray Bytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken property: %s\n", what);
        std::abort();
    }
}

// The readers of files get the bytes as a file, as they would from the user's disk. One file per
// process, rewritten for every input.
QString AsFile(const uint8_t* data, size_t size, const char* extension) {
    static const QString folder = [] {
        const QString path =
            QDir::tempPath() + QStringLiteral("/zorvane-fuzz-%1").arg(QString::number(::getpid()));
        QDir().mkpath(path);
        return path;
    }();
    const QString path = folder + QStringLiteral("/input.") + QString::fromLatin1(extension);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(Bytes(data, size)) != qsizetype(size))
        std::abort(); // the harness itself failed, not the reader
    return path;
}

const TAppStrings& Strings() {
    static const TAppStrings strings;
    return strings;
}

// Everything the program computes from a file's record: the row's cells, the audio-track items,
// the properties report and the encoder command line.
void UseRecord(const TVideoFileInfo& info) {
    TFileListRow row;
    FillRowCells(row, info, Strings());
    Require(row.DurationMs >= 0, "a duration is never negative");
    for (int column = 0; column < ListColumnCount; ++column)
        CellText(row, column, 1);
    AudioTrackItems(info, Strings());
    GetInfoAsText(info, Strings());
    const TEncoderSettings settings = DefaultEncoderSettings(Strings());
    TBuilderEnvironment environment;
    TArgumentBuilder(settings, info, Strings(), environment).Pieces();
}

// The encoder's description of an input, as the probe of the file list reads it, and everything
// computed from it: the row's cells, the properties report and the encoder command line.
void ProbeOutput(const uint8_t* data, size_t size) {
    const QStringList lines = ConsoleLines(Bytes(data, size));
    QList<QStringList> perInput;
    const QStringList inputs{QStringLiteral("/in/a.flv"), QStringLiteral("/in/b.mp4")};
    const int described = SplitBatchProbeOutput(lines, inputs, perInput);
    Require(described >= 0 && described <= inputs.size(), "described inputs within range");
    TVideoFileInfo info;
    info.FileName = QStringLiteral("/in/a.flv");
    ParseProbeOutput(lines, info);
    DeriveVideoStreamSize(info);
    UseRecord(info);
}

// MediaInfo's values, as a helper sends them: one "kind/number/parameter=value" per line. They
// go through the same reading as in the window, then into everything computed from the record.
// The bytes are also tried as a helper's whole answer.
void MediaInfoAnswers(const uint8_t* data, size_t size) {
    const QByteArray bytes = Bytes(data, size);
    TMediaInfoAnswers answers;
    answers.Opened = true;
    for (const QByteArray& line : bytes.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0)
            answers.Values.insert(QString::fromUtf8(line.left(equals)),
                                  QString::fromUtf8(line.mid(equals + 1)));
    }
    TVideoFileInfo info;
    info.FileName = QStringLiteral("/in/a.flv");
    ApplyMediaInfoAnswers(answers, info);
    if (const std::optional<TMediaInfoAnswers> whole = DeserializeMediaInfoAnswers(bytes))
        ApplyMediaInfoAnswers(*whole, info);
    UseRecord(info);
}

// The progress lines of a conversion: filtered and scanned as the progress window does.
void ProgressLines(const uint8_t* data, size_t size) {
    QStringList lines = ConsoleLines(Bytes(data, size));
    ScanProgress(lines);
    FilterEncoderOutput(lines);
    const TProgressValues values = ScanProgress(lines);
    ProgressPercent(values.Frame, 250);
}

// The runner's splitting of the encoder's byte stream into lines.
void ConsoleLineSplitter(const uint8_t* data, size_t size) {
    const QStringList lines = ConsoleLines(Bytes(data, size));
    for (const QString& line : lines) {
        Require(!line.contains(u'\r') && !line.contains(u'\n'), "no line break inside a line");
        Require(line.toUtf8().size() <= 3 * ConsoleLinePieceBytes, "a line is at most one piece");
    }
}

// The INI reader, and the program settings read through it.
void IniFile(const uint8_t* data, size_t size) {
    const QString path = AsFile(data, size, "ini");
    const TIniFile ini(path);
    for (const QString& section : ini.Sections())
        for (const QString& key : ini.SectionKeys(section))
            ini.ReadInteger(section, key, 0);
    ini.ToText(QStringLiteral("\r\n"));
    TProgramSettings settings;
    LoadProgramSettings(settings, ini, QSize(1920, 1080));
    LoadProgressSettings(settings, ini);
    // Keys written into what was read (into its sections and a new one) read the same from the
    // file as it would be saved.
    TIniFile copy = ini;
    QStringList sections = ini.Sections();
    sections.append(QStringLiteral("Added"));
    int n = 0;
    for (const QString& section : sections) {
        copy.WriteString(section, QStringLiteral("k%1").arg(n), QString::number(n));
        if (const QStringList keys = copy.SectionKeys(section); !keys.isEmpty())
            copy.WriteString(section, keys.first(), QStringLiteral("first"));
        ++n;
    }
    const TIniFile saved = TIniFile::FromText(copy.ToText(QStringLiteral("\n")));
    for (const QString& section : saved.Sections())
        for (const QString& key : saved.SectionKeys(section))
            Require(copy.ReadString(section, key, {}) == saved.ReadString(section, key, {}),
                    "an INI file reads back as it was written");
}

void Profile(const uint8_t* data, size_t size) {
    const QString path = AsFile(data, size, "ini");
    TEncoderSettings settings = DefaultEncoderSettings(Strings());
    LoadProfile(settings, path, {Strings(), 0, 17});
    QList<TProfileInfo> list;
    AP_AddProfile(list, path);
    if (!list.isEmpty())
        ProfileItemText(list.first());
    TBuilderEnvironment environment;
    TArgumentBuilder(settings, TVideoFileInfo{}, Strings(), environment).Pieces();
}

void LanguageFile(const uint8_t* data, size_t size) {
    TAppStrings strings;
    strings.LoadFromFile(AsFile(data, size, "ini"));
    CatalogToLanguageFile(strings, QStringLiteral("x"), QStringLiteral("\n"));
}

void ListFile(const uint8_t* data, size_t size) {
    const std::optional<QStringList> paths = ReadFileListFile(AsFile(data, size, "lst"));
    if (paths)
        for (const QString& path : *paths)
            Require(!path.isEmpty() && !path.contains(QChar(0)), "list entries are real names");
}

void ExecutableHeader(const uint8_t* data, size_t size) {
    const QString path = AsFile(data, size, "bin");
    ReadBinaryInfo(path);
    ReadPeInfo(path);
    ReadElfInfo(path);
    ReadPeVersionStrings(path);
    ParseVersionInfo(Bytes(data, size));
}

void UpdateAnswer(const uint8_t* data, size_t size) {
    const TUpdateAnswer answer = EvaluateUpdateAnswer(Bytes(data, size), QStringLiteral("1.14"));
    if (answer.Outcome == TUpdateOutcome::UpdateAvailable)
        Require(CompareVersions(answer.LatestVersion, QStringLiteral("1.14")) > 0,
                "an update is newer than the running version");
}

} // namespace

const std::vector<TFuzzTarget>& FuzzTargets() {
    static const std::vector<TFuzzTarget> targets{
        {"probe_output", ProbeOutput},
        {"mediainfo_answers", MediaInfoAnswers},
        {"progress_lines", ProgressLines},
        {"console_lines", ConsoleLineSplitter},
        {"ini_file", IniFile},
        {"profile", Profile},
        {"language_file", LanguageFile},
        {"list_file", ListFile},
        {"executable_header", ExecutableHeader},
        {"update_answer", UpdateAnswer},
    };
    return targets;
}
