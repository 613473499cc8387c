#include "windows/SettingsFileController.h"

#include "app/Startup.h"
#include "core/AppParams.h"
#include "core/IniFile.h"
#include "encoding/Profiles.h"
#include "filelist/MediaInfoHelper.h"
#include "localisation/AppStrings.h"
#include "localisation/LangIniList.h"
#include "platform/Platform.h"
#include "windows/Widgets.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

using namespace Qt::StringLiterals;

TSettingsFileController::TSettingsFileController(TAppStrings& strings, THost host, QWidget* window)
    : Strings(strings), Host(std::move(host)), Window(window) {}

bool TSettingsFileController::StartUp(const QString& appDir) {
    ::StartUp(AppParams, appDir);
    // Media files are read by MediaInfo in helper processes when the helper is there: a file
    // that crashes the library must not take the user's list with it.
    const QString helper = Platform::ExecutableDir() + u"/zorvane-cli"_s;
    UseMediaInfoHelper(Platform::IsExecutableFile(helper) ? helper : QString());
    AppParams.ScrollProgressToBottom = true;
    return CheckIniFile(AppParams);
}

void TSettingsFileController::ChooseLanguage(TLangIniList& languages, bool systemLanguageFirst) {
    languages = TLangIniList();
    languages.AddIniFilesFromDir(AppParams.LangDir, u"ini"_s);
    const QString saved = TIniFile(AppParams.IniName).ReadString(u"MAIN"_s, u"LanguageIni"_s, {});
    const QString chosen =
        ChooseLanguageIni(systemLanguageFirst, saved, QLocale::system(), AppParams.LangDir);
    if (!chosen.isEmpty() && QFileInfo(AppParams.LangDir + u'/' + chosen).isFile())
        AppParams.LanguageIni = chosen;
    if (!chosen.isEmpty())
        Strings.LoadFromFile(AppParams.LangDir + u'/' + chosen);
}

void TSettingsFileController::Load(const QSize& screenSize) {
    TProgramSettings current = Current();
    current.Maximized = false;
    bool existed = false;
    Program_ = ReadProgramSettingsFile(AppParams.IniName, current, screenSize, &existed);
    if (!existed)
        return;
    ApplyToolSettings(Program_, AppParams);
    if (!Program_.LanguageIni.isEmpty()) {
        const QString file = AppParams.LangDir + u'/' + Program_.LanguageIni;
        if (QFileInfo(file).isFile()) {
            Strings.SetEN();
            Strings.LoadFromFile(file);
            AppParams.LanguageIni = Program_.LanguageIni;
        }
    }
    AppParams.KeepFileDates = Program_.KeepFileDates;
    AppParams.FileAnalysis = Program_.FileAnalysis;
    AppParams.OpenFileAfterIconClick = Program_.OpenFileAfterIconClick;
    AppParams.DragAcceptDirectories = Program_.DragAcceptDirectories;
    Host.ShowWindow(Program_);
}

TProgramSettings TSettingsFileController::Current() const {
    TProgramSettings s = Program_;
    s.LanguageIni = AppParams.LanguageIni;
    s.FileAnalysis = AppParams.FileAnalysis;
    s.OpenFileAfterIconClick = AppParams.OpenFileAfterIconClick;
    s.DragAcceptDirectories = AppParams.DragAcceptDirectories;
    Host.ReadWindow(s);
    return s;
}

void TSettingsFileController::Save() {
    const TEncoderSettings& settings = Host.ReadEncoderSettings();
    Program_ = Current();
    // Both files are written through a temporary file: a failure leaves the old ones whole.
    QDir().mkpath(QFileInfo(AppParams.IniName).absolutePath());
    const bool settingsSaved = SaveProgramSettingsFile(Program_, AppParams.IniName);
    QDir().mkpath(AppParams.ProfilesDir);
    const bool profileSaved = SaveProfile(settings, AppParams.LastProfileFile, Strings);
    if (!settingsSaved || !profileSaved) {
        // Told once, whatever failed.
        const QString folder = QDir::toNativeSeparators(
            QFileInfo(settingsSaved ? AppParams.LastProfileFile : AppParams.IniName)
                .absolutePath());
        ::ShowWarning(Window, FormatCatalogText(Strings.Main.CantSaveSettings, folder));
    }
}
