// zorvane-cli: the program's logic without windows, for scripts, servers and tests.

#include "app/Startup.h"
#include "cli/Cli.h"
#include "core/AppParams.h"
#include "core/IniFile.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/AudioBitrateReference.h"
#include "encoding/EncoderCaps.h"
#include "encoding/Profiles.h"
#include "encoding/ReferenceLists.h"
#include "execution/ConRun.h"
#include "filelist/AnalysisCache.h"
#include "filelist/FileInfoReport.h"
#include "filelist/MediaInfoHelper.h"
#include "filelist/ProbeParser.h"
#include "localisation/AppStrings.h"
#include "platform/Platform.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <QThread>
#include <cstdio>
#include <functional>

QTextStream& Out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& Err() {
    static QTextStream stream(stderr);
    return stream;
}

QString TerminalText(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void AddSettingsOptions(QCommandLineParser& p, bool scriptFormats) {
    p.addOption({QStringLiteral("profile"),
                 QStringLiteral("Load these encoder settings over the defaults (a file, or the "
                                "name of a saved or shipped profile)."),
                 QStringLiteral("FILE")});
    p.addOption({QStringLiteral("format"),
                 scriptFormats
                     ? QStringLiteral("Output format: avi or mpg; and the script's kind: sh or bat "
                                      "(by default as the name ends), or parallel, a job file for "
                                      "GNU parallel with one line per file. May be given twice.")
                     : QStringLiteral("Output format: avi or mpg."),
                 QStringLiteral("FORMAT")});
}

bool ScriptFormatOption(const QString& value) {
    return value == u"sh" || value == u"bat" || value == u"parallel";
}

int SettingsFromOptions(const QCommandLineParser& parser, const QString& command,
                        const TAppStrings& strings, const QStringList& resolutions,
                        TEncoderSettings& settings) {
    settings = DefaultEncoderSettings(strings);
    if (parser.isSet(QStringLiteral("profile"))) {
        QString profile = parser.value(QStringLiteral("profile"));
        // A bare name is looked for among the user's profiles, then the shipped ones.
        if (!Platform::IsRegularFile(profile) && !profile.contains(u'/')) {
            for (const QString& folder : {AppParams.ProfilesDir, AppParams.ShippedProfilesDir})
                if (Platform::IsRegularFile(folder + u'/' + profile)) {
                    profile = folder + u'/' + profile;
                    break;
                }
        }
        if (!Platform::IsRegularFile(profile)) {
            Err() << "zorvane-cli " << command << ": " << profile << ": no such profile file\n";
            return 1;
        }
        LoadProfile(settings, profile, {strings, 0, int(resolutions.size()) + 2});
    }
    // `script` takes the kind of script here too (--format parallel): each value is one or
    // the other.
    for (const QString& value : parser.values(QStringLiteral("format"))) {
        const QString format = value.toLower();
        if (command == u"script" && ScriptFormatOption(format))
            continue;
        if (format != u"avi" && format != u"mpg") {
            Err() << "zorvane-cli " << command
                  << (command == u"script" ? ": --format takes avi, mpg, sh, bat or parallel\n"
                                           : ": --format takes avi or mpg\n");
            return 2;
        }
        settings.OutputFormat = format == u"mpg" ? TOutputFormat::MPG : TOutputFormat::AVI;
    }
    return 0;
}

namespace {

struct TCommand {
    QString Name;
    QString Summary;
    std::function<void(QCommandLineParser&)> AddOptions;
    std::function<int(const QCommandLineParser&)> Run;
    bool TakesFiles = false;
};

int RunVersion(const QCommandLineParser&) {
    Out() << ProductTitle() << '\n';
    return 0;
}

int RunPaths(const QCommandLineParser&) {
    StartUp(AppParams);
    Out() << "ffmpeg: " << AppParams.ffmpeg << '\n';
    Out() << "mediainfo: " << AppParams.MediaInfoDll << '\n';
    Out() << "settings: " << AppParams.IniName << '\n';
    Out() << "profiles: " << AppParams.ProfilesDir << '\n';
    Out() << "shared: " << AppParams.ShareDir << '\n';
    return 0;
}

int RunLangTemplate(const QCommandLineParser& parser) {
    TAppStrings strings;
    QString nativeName = strings.LanguageName;
    if (parser.isSet(QStringLiteral("from"))) {
        const QString file = parser.value(QStringLiteral("from"));
        if (!QFileInfo(file).isFile()) {
            Err() << "zorvane-cli lang-template: " << file << ": no such file\n";
            return 1;
        }
        strings.LoadFromFile(file);
        nativeName = TIniFile(file).ReadString(QStringLiteral("INFO"),
                                               QStringLiteral("LangName_Native"), QString());
    }
    Out() << CatalogToLanguageFile(strings, nativeName, QStringLiteral("\n"));
    return 0;
}

int RunInfo(const QCommandLineParser& parser) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty()) {
        Err() << "zorvane-cli info: name at least one file\n";
        return 2;
    }
    StartUp(AppParams);
    const QString ffmpeg = AppParams.ffmpeg;
    const QString mediaInfo = AppParams.MediaInfoDll;
    const TAppStrings strings;
    if (ffmpeg.isEmpty()) {
        Err() << TerminalText(FFmpegNotFoundText(strings)) << '\n';
        return 1;
    }
    // Every file is checked first; the reports then come in the order given, the analyses
    // made side by side with the encoder describing many files per run.
    int status = 0;
    QStringList valid;
    for (const QString& name : files) {
        const QFileInfo file(name);
        if (!file.exists()) {
            Err() << "zorvane-cli info: " << name << ": no such file\n";
            status = 1;
        } else if (!Platform::IsRegularFile(name)) {
            Err() << "zorvane-cli info: " << name << ": not a regular file\n";
            status = 1;
        } else {
            valid.append(file.absoluteFilePath());
        }
    }
    const QList<TVideoFileInfo> infos =
        AnalyseFiles(valid, ffmpeg, mediaInfo, std::max(1, QThread::idealThreadCount()));
    bool first = true;
    for (const TVideoFileInfo& info : infos) {
        if (!first)
            Out() << '\n';
        first = false;
        Out() << TerminalText(GetInfoAsText(info, strings));
    }
    Out().flush();
    return status;
}

// Warnings of rejected typed values go to standard error.
class TStderrWarnings : public IWarningSink {
public:
    void ShowWarning(const QString& text) override {
        Err() << TerminalText(text) << '\n';
        Shown = true;
    }
    bool Shown = false;
};

int RunCommand(const QCommandLineParser& parser) {
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        Err() << "zorvane-cli command: name at most one file\n";
        return 2;
    }
    const TAppStrings strings;
    StartUp(AppParams);
    const QString ffmpeg = AppParams.ffmpeg;
    const QString mediaInfo = AppParams.MediaInfoDll;
    const QStringList resolutions = LoadResolutionEntries(AppParams.ResolutionTxt);
    TEncoderSettings settings;
    if (const int status =
            SettingsFromOptions(parser, QStringLiteral("command"), strings, resolutions, settings))
        return status;
    if (parser.isSet(QStringLiteral("track"))) {
        bool ok = false;
        settings.AudioTrackNo = parser.value(QStringLiteral("track")).toInt(&ok);
        if (!ok || settings.AudioTrackNo < 0) {
            Err() << "zorvane-cli command: --track takes a track number (0 for the first)\n";
            return 2;
        }
    }
    TVideoFileInfo info;
    QString input;
    if (!files.isEmpty()) {
        const QFileInfo file(files.first());
        if (!Platform::IsRegularFile(file.filePath())) {
            Err() << "zorvane-cli command: " << files.first()
                  << (file.exists() ? ": not a regular file\n" : ": no such file\n");
            return 1;
        }
        input = file.absoluteFilePath();
        GetVideoFileInfo(input, ffmpeg, mediaInfo, info);
    }
    TStderrWarnings warnings;
    TBuilderEnvironment environment;
    environment.ResolutionEntries = resolutions;
    environment.ProcessorCount = GetProcessorCount();
    if (settings.Audio.AudioCodec == acAac)
        environment.AacEncoder = AacEncoderFor(ffmpeg);
    environment.Warnings = &warnings;
    TArgumentPieces pieces = TArgumentBuilder(settings, info, strings, environment).Pieces();
    // A rejected value has been told; the preview goes on without its piece.
    for (QString* piece : {&pieces.VParams, &pieces.AParams, &pieces.AdvParams})
        if (*piece == QStringView(ErrorPiece))
            piece->clear();
    Out() << TerminalText(CommandPreviewText(settings, pieces, input)) << '\n';
    return warnings.Shown ? 1 : 0;
}

int RunBitrateReference(const QCommandLineParser& parser) {
    QString path = parser.positionalArguments().value(0);
    if (parser.positionalArguments().size() > 1) {
        Err() << "zorvane-cli bitrate-reference: name at most one file\n";
        return 2;
    }
    if (path.isEmpty()) {
        StartUp(AppParams);
        path = AppParams.AudioBitratesTxt;
    }
    QString error;
    if (!WriteAudioBitrateReference(path, &error)) {
        Err() << "zorvane-cli bitrate-reference: " << path << ": " << error << '\n';
        return 1;
    }
    Out() << TerminalText(AudioBitrateReferenceText());
    return 0;
}

const QList<TCommand>& Commands() {
    static const QList<TCommand> commands = {
        {QStringLiteral("version"), QStringLiteral("Print the product title."), nullptr,
         RunVersion},
        {QStringLiteral("paths"),
         QStringLiteral("Print the encoder and MediaInfo library the program would use."), nullptr,
         RunPaths},
        {QStringLiteral("lang-template"),
         QStringLiteral("Print a complete language file of the catalogue, to start a "
                        "translation from."),
         [](QCommandLineParser& p) {
             p.addOption({QStringLiteral("from"),
                          QStringLiteral("Start from the texts of this language file."),
                          QStringLiteral("FILE")});
         },
         RunLangTemplate},
        {QStringLiteral("info"), QStringLiteral("Print the properties report of each FILE."),
         [](QCommandLineParser& p) {
             p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A media file."),
                                     QStringLiteral("FILE..."));
         },
         RunInfo, true},
        {QStringLiteral("command"),
         QStringLiteral("Print the encoder command line the program would use for FILE, or for "
                        "<input_file> without one."),
         [](QCommandLineParser& p) {
             AddSettingsOptions(p);
             p.addOption({QStringLiteral("track"),
                          QStringLiteral("Audio track to convert, from 1 (0: the first)."),
                          QStringLiteral("N")});
             p.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("A media file."),
                                     QStringLiteral("[FILE]"));
         },
         RunCommand, true},
        {QStringLiteral("bitrate-reference"),
         QStringLiteral("Write the reference of valid audio bitrates to PATH (default: "
                        "audio_bitrates.txt in data/, or in the user's folder when installed) "
                        "and print it."),
         [](QCommandLineParser& p) {
             p.addPositionalArgument(QStringLiteral("PATH"), QStringLiteral("File to write."),
                                     QStringLiteral("[PATH]"));
         },
         RunBitrateReference, true},
        {QStringLiteral("convert"),
         QStringLiteral("Convert the files as one batch, with the default settings or a profile."),
         [](QCommandLineParser& p) { AddConvertOptions(p, false); }, RunConvert, true},
        {QStringLiteral("script"),
         QStringLiteral("Write the conversion of the files as a script (.sh or .bat) instead of "
                        "running it."),
         [](QCommandLineParser& p) { AddConvertOptions(p, true); }, RunScript, true},
    };
    return commands;
}

QString Usage() {
    QString text = QStringLiteral("Usage: zorvane-cli COMMAND [OPTIONS]\n\nCommands:\n");
    for (const TCommand& command : Commands())
        text += QStringLiteral("  %1  %2\n").arg(command.Name, -14).arg(command.Summary);
    text += QStringLiteral("\nRun 'zorvane-cli COMMAND --help' for the options of a command.\n");
    return text;
}

int Main() {
    QStringList args = QCoreApplication::arguments();
    if (args.size() < 2) {
        Err() << Usage();
        return 2;
    }
    const QString name = args.at(1);
    if (name == u"--help" || name == u"-h" || name == u"help") {
        Out() << Usage();
        return 0;
    }
    if (name == u"--version") {
        return RunVersion(QCommandLineParser());
    }
    // Not listed: the desktop program starts it to read media files with MediaInfo.
    if (name == u"mediainfo-helper" && args.size() == 3)
        return RunMediaInfoHelper(args.at(2));
    for (const TCommand& command : Commands()) {
        if (command.Name != name)
            continue;
        QCommandLineParser parser;
        parser.setApplicationDescription(command.Summary);
        const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("Show this help."));
        parser.addOption(help);
        if (command.AddOptions)
            command.AddOptions(parser);
        args.removeAt(1);
        if (!parser.parse(args)) {
            Err() << "zorvane-cli " << name << ": " << parser.errorText() << '\n';
            return 2;
        }
        if (parser.isSet(help)) {
            // The parser names the executable by its path; the usage line names the command.
            QString text = parser.helpText();
            text = text.mid(text.indexOf(QStringLiteral(" [options]")));
            Out() << "Usage: zorvane-cli " << name << text;
            return 0;
        }
        if (!command.TakesFiles && !parser.positionalArguments().isEmpty()) {
            Err() << "zorvane-cli " << name << ": unexpected argument '"
                  << parser.positionalArguments().first() << "'\n";
            return 2;
        }
        return command.Run(parser);
    }
    Err() << "zorvane-cli: unknown command '" << name << "'\n\n" << Usage();
    return 2;
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorvane-cli"));
    int status = 2;
    try {
        status = Main();
    } catch (const EOSError& error) {
        Out().flush();
        Err() << "zorvane-cli: " << error.Message() << '\n';
        status = 1;
    }
    Out().flush();
    Err().flush();
    return status;
}
