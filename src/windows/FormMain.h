#pragma once

#include "app/ProgramSettings.h"
#include "encoding/BatchDriver.h"
#include "encoding/EncoderSettings.h"
#include "execution/ErrorLog.h"
#include "filelist/GridInfo.h"
#include "localisation/AppStrings.h"
#include "localisation/LangIniList.h"
#include "windows/Widgets.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTranslator>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QSystemTrayIcon;
class QTableView;
class QToolButton;
class TAdvancedPanel;
class TAnalysisCache;
class TBatchController;
class TFileListPanel;
class TFormCmdLine;
class TFormErrors;
class TFormOptions;
class TFormCheckUpdate;
class TFormToolsInfo;
class TFormProgress;
class TFormFileInfo;
class TAudioPanel;
class TFormAbout;
class TFormTextView;
class TOutputPanel;
class TProfilePanel;
class TSettingsPanel;
class TVideoPanel;

struct TFormMainOptions {
    QString AppDir;        // empty: the executable's folder
    QStringList Arguments; // the program's arguments, without the program itself
};

// The main window: menus, toolbar, the file list's place, the output options and the encoder
// settings panels, the tray icon. It shows what the logic computes and hands actions to it.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFormMain(const TFormMainOptions& options = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

    const TAppStrings& Strings() const { return *AppStrings; }
    bool SystemLanguageFirst() const { return SystemLanguageFirst_; }
    const TEncoderSettings& EncoderSettings() const { return Settings; }
    bool StayOnTop() const { return StayOnTopEnabled; }
    QAction* Action(const QString& name) const;

    // The counts of the file list (empty until the list holds rows).
    TGridInfo GridInfo() const;
    int SelectedRow() const;

    void InitControls();
    void SetDefaultParams();
    void DisableAll();
    void EnableAll();
    void SetLang();

    // The language switch: the language file of that native name, applied to every window.
    void SwitchLanguage(const QString& nativeName);
    const TLangIniList& Languages() const { return LanguageList; }

    void SaveProfileTo(const QString& fileName);
    void LoadProfileFrom(const QString& fileName);
    void GetProfiles();

    // The secondary windows made so far, for stay-on-top, closing and hiding.
    QList<QWidget*> SecondaryWindows() const;

    TFileListPanel* FileList() const { return List; }
    TAnalysisCache& AnalysisCache() const { return *Cache; }
    // Adds files, folders and list files as a drop does.
    void AddDropped(const QStringList& names);

    // Starts converting the checked rows, or writing the work as a script when a file name is
    // given; BatchFinished tells when it is over. False while a batch runs.
    bool StartBatch(const QString& scriptFileName);
    bool BatchRunning() const;
    const TErrorLog& Errors() const { return ErrorLog; }
    // How the computer is powered off after a batch; tests record the call instead.
    std::function<void()> PowerOff = [] { Platform_PowerOff(); };
    int PowerOffDelaySeconds = 60;

Q_SIGNALS:
    // The window has saved everything and closed; the program ends.
    void Closed();
    // A batch is over; the windows show its outcome.
    void BatchFinished(const TBatchResult& result);
    // The catalogue's texts changed: every window and panel sets its own texts from `strings`.
    void LanguageChanged(const TAppStrings& strings);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void FormCreate(const TFormMainOptions& options);
    void FormClose();
    void InitLang();
    void PrepareControls();
    void CreateActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateTray();
    QWidget* CreateConversionSettings();
    void LoadSettingsFromIni();
    bool SaveSettingsToIni();
    void ShowSettings();
    void ShowColumnStates();
    void SetUnlocked(bool unlocked);
    void ReadControls();
    void ApplyProfile(const TEncoderSettings& settings);
    TProgramSettings CurrentProgramSettings() const;
    void OpenUrl(const QString& address);
    QAction* NewAction(const char* name, QKeySequence key = {});
    // Runs handler when the action fires; a failure shows a message instead of escaping.
    void OnAction(QAction* action, std::function<void()> handler);
    void OnAction(const char* name, std::function<void()> handler);

    void actLoadSelectedProfileExecute(int item);
    void actSetDefaultEncoderSettingsExecute();
    void actLoadProfileExecute();
    void actSaveProfileExecute();
    void actStayOnTopExecute();
    void actMinimizeToTrayExecute();
    void actShowHideMainWindowExecute();
    void actBrowseOutDirExecute();
    void actAboutExecute();
    void actEscExecute();
    void btnInfoAudioBitratesClick();
    void btnFFParamsClick();
    void ConnectList();
    void ListSelectionChanged();
    void UpdateCbAudioTrackNo();
    void RefreshFileInfo();
    void actAddFilesExecute();
    void actAddFolderExecute();
    void actLoadFileListExecute();
    void actSaveFileListExecute();
    void actExploreDirectoryExecute();
    void actExploreOutDirExecute();
    void actShowHideFileInfoExecute();
    void actShowCmdLineExecute(bool fromList);
    void UpdateInitialFolders(const QString& folder);
    void CreateBatchWindows();
    void actSaveBATExecute();
    void actShowOptionsExecute();
    void ConfirmPowerOff();
    void BatchEnded(const TBatchResult& result);
    static void Platform_PowerOff();

    void ApplyQtTranslation();
    void FitLeftPanels();
    // A window or panel follows the language from now on; `setLang` sets its texts.
    void FollowLanguage(QObject* window, std::function<void(const TAppStrings&)> setLang);
    template <class TWindow>
    void FollowLanguage(TWindow* window) {
        FollowLanguage(window, [window](const TAppStrings& strings) { window->SetLang(strings); });
    }
    // A secondary window joins the registry when it is made: it follows the language, and
    // stay-on-top, closing and (when `hidesWithMain`) hiding the main window reach it.
    template <class TWindow>
    TWindow* AddSecondary(TWindow* window, bool hidesWithMain,
                          std::function<void(const TAppStrings&)> setLang = {}) {
        if (setLang)
            FollowLanguage(window, std::move(setLang));
        else if constexpr (requires(const TAppStrings& strings) { window->SetLang(strings); })
            FollowLanguage(window);
        Secondaries.append({window, hidesWithMain});
        NameControlsFromLabels(window);
        return window;
    }
    struct TSecondary {
        QPointer<QWidget> Window;
        bool HidesWithMain = false;
    };
    QList<TSecondary> Secondaries;

    std::unique_ptr<TAppStrings> AppStrings;
    std::unique_ptr<QTranslator> QtTranslator; // Qt's own texts in the chosen language
    std::unique_ptr<TAnalysisCache> Cache;
    TLangIniList LanguageList;
    bool SystemLanguageFirst_ = true;
    TEncoderSettings Settings;
    TProgramSettings Program;
    QStringList ResolutionEntries;
    QStringList FourccTags;
    QString InitialDir;
    bool UpdatingControls = false;
    bool ConversionRunning = false;
    bool StayOnTopEnabled = false;
    bool ClosedOnce = false;

    QTableView* ng = nullptr;
    TFileListPanel* List = nullptr;
    TFormFileInfo* FormFileInfo = nullptr;
    TFormCmdLine* FormCmdLine = nullptr;
    TFormProgress* FormProgress = nullptr;
    TFormErrors* FormErrors = nullptr;
    TFormOptions* FormOptions = nullptr;
    TFormCheckUpdate* FormCheckUpdate = nullptr;
    TFormToolsInfo* FormToolsInfo = nullptr;
    TErrorLog ErrorLog;
    TBatchController* Batch = nullptr;
    bool CloseWhenBatchEnds = false; // the user closed the window during a batch
    QWidget* fpConversionSettings = nullptr;
    QToolButton* ConversionSettingsHeader = nullptr;
    TVideoPanel* Video = nullptr;
    TAudioPanel* Audio = nullptr;
    TAdvancedPanel* Advanced = nullptr;
    TOutputPanel* Output = nullptr;
    TProfilePanel* Profile = nullptr;
    QList<TSettingsPanel*> Panels;
    QSystemTrayIcon* ti = nullptr;
    QMenu* popTi = nullptr;
    QMenu* popLv = nullptr;
    TFormAbout* FormAbout = nullptr;
    TFormTextView* FormEncoderHelp = nullptr;
};
