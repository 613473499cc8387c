#pragma once

#include "app/ProgramSettings.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchDriver.h"
#include "encoding/EncoderSettings.h"
#include "execution/ErrorLog.h"
#include "filelist/GridInfo.h"
#include "localisation/AppStrings.h"
#include "localisation/LangIniList.h"
#include "windows/DesktopSession.h"
#include "windows/MainActions.h"
#include "windows/SecondaryWindows.h"
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
class QTimer;
class QToolBar;
class QToolButton;
class TAdvancedPanel;
class TAnalysisCache;
class TBatchController;
class TCallRelay;
class TFileListPanel;
class TListActions;
class TProfileController;
class TSettingsFileController;
class TFormErrors;
class TFormOptions;
class TFormCheckUpdate;
class TFormToolsInfo;
class TFormProgress;
class TFormPreview;
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
    TBusAddresses Buses;   // the desktop's buses (tests give private ones)
};

// The main window: menus, toolbar, the file list's place, the output options and the encoder
// settings panels, the tray icon. It shows what the logic computes; its controllers do the
// work: the profiles, the settings file, the list's actions and the batch.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFormMain(const TFormMainOptions& options = {}, QWidget* parent = nullptr);
    ~TFormMain() override;

    const TAppStrings& Strings() const { return *AppStrings; }
    bool SystemLanguageFirst() const { return SystemLanguageFirst_; }
    const TEncoderSettings& EncoderSettings() const { return Settings; }
    bool StayOnTop() const { return StayOnTopEnabled; }
    const TMainActions& Actions() const { return Act; }
    // The action of that object name (null for none).
    QAction* Action(const QString& name) const { return Act.ByName(name); }

    // The counts of the file list (empty until the list holds rows).
    TGridInfo GridInfo() const;
    int SelectedRow() const;

    void InitControls();
    void DisableAll();
    void EnableAll();
    void SetLang();

    // The language switch: the language file of that native name, applied to every window.
    void SwitchLanguage(const QString& nativeName);
    const TLangIniList& Languages() const { return LanguageList; }

    TProfileController& Profiles() const { return *ProfileControl; }

    // The secondary windows made so far, for stay-on-top, closing and hiding.
    QList<QWidget*> SecondaryWindows() const { return Secondaries->All(); }

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
    // Asks whether to convert although the outputs may not fit; tests answer instead.
    std::function<bool(const QString& text)> ConfirmSpace;

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
    void PrepareControls();
    void CreateControllers();
    void ConnectActions();
    void CreateMenus();
    void CreateToolbar();
    void CreateTray();
    QWidget* CreateConversionSettings();
    void ConnectPanels();
    void SetDefaultParams();
    void ShowSettings();
    void ReadControls();
    void ApplySettings(const TEncoderSettings& settings);
    void ReadWindowSettings(TProgramSettings& s) const;
    void ShowWindowSettings(const TProgramSettings& s);
    void ShowColumnStates();
    void SetUnlocked(bool unlocked);
    TProgramSettings& Program();
    void OpenUrl(const QString& address);
    // Runs handler when the action fires; a failure shows a message instead of escaping.
    void OnAction(QAction* action, std::function<void()> handler);

    void actStayOnTopExecute();
    void actMinimizeToTrayExecute();
    void actShowHideMainWindowExecute();
    void actBrowseOutDirExecute();
    void actAboutExecute();
    void actEscExecute();
    void btnInfoAudioBitratesClick();
    void btnFFParamsClick();
    void UpdateCbAudioTrackNo();
    void CreateBatchWindows();
    void CreateDesktopSession(const TBusAddresses& buses);
    void TellBatchEnded(const TBatchResult& result);
    void actSaveBATExecute();
    void actShowOptionsExecute();
    void actToolsInfoExecute();
    void actCheckUpdateExecute();
    void actPreviewExecute();
    void UpdatePreview();
    void ConfirmPowerOff();
    TBuilderEnvironment BuilderEnvironment() const;
    bool SpaceAllows(const QList<TBatchRow>& rows, const TBatchOptions& options);
    void EstimateChecked();
    void BatchEnded(const TBatchResult& result);
    static void Platform_PowerOff();

    void ApplyQtTranslation();
    void FitLeftPanels();

    std::unique_ptr<TAppStrings> AppStrings;
    std::unique_ptr<QTranslator> QtTranslator; // Qt's own texts in the chosen language
    std::unique_ptr<TAnalysisCache> Cache;
    std::unique_ptr<TSettingsFileController> SettingsFile;
    TMainActions Act;
    TSecondaryWindows* Secondaries = nullptr;
    TCallRelay* Calls = nullptr; // results of the list's pool, handed to this thread
    TProfileController* ProfileControl = nullptr;
    TListActions* ListActions = nullptr;
    TLangIniList LanguageList;
    bool SystemLanguageFirst_ = true;
    TEncoderSettings Settings;
    QStringList ResolutionEntries;
    QStringList FourccTags;
    bool UpdatingControls = false;
    bool ConversionRunning = false;
    bool StayOnTopEnabled = false;
    bool ClosedOnce = false;

    QTableView* ng = nullptr;
    TFileListPanel* List = nullptr;
    TFormProgress* FormProgress = nullptr;
    TFormErrors* FormErrors = nullptr;
    TFormOptions* FormOptions = nullptr;
    TFormCheckUpdate* FormCheckUpdate = nullptr;
    TFormToolsInfo* FormToolsInfo = nullptr;
    TErrorLog ErrorLog;
    TBatchController* Batch = nullptr;
    bool CloseWhenBatchEnds = false; // the user closed the window during a batch
    TSleepInhibitor* Awake = nullptr;
    TDesktopNotifier* Notifier = nullptr;
    std::unique_ptr<TLauncherEntry> Launcher;
    QString BatchFolder; // where the outputs of the batch under way go; empty for a script
    QTimer* EstimateTimer = nullptr; // the footer's estimate, a moment after the last change
    quint64 EstimateRound = 0;       // the newest estimate asked for
    QWidget* fpConversionSettings = nullptr;
    QToolButton* ConversionSettingsHeader = nullptr;
    QWidget* pnLeft = nullptr;
    TVideoPanel* Video = nullptr;
    TAudioPanel* Audio = nullptr;
    TAdvancedPanel* Advanced = nullptr;
    TOutputPanel* Output = nullptr;
    TProfilePanel* Profile = nullptr;
    QList<TSettingsPanel*> Panels;
    QSystemTrayIcon* ti = nullptr;
    QMenu* popTi = nullptr;
    QMenu* popLv = nullptr;
    QMenu* popColumns = nullptr;
    QToolBar* tbMain = nullptr;
    TFormAbout* FormAbout = nullptr;
    TFormTextView* FormEncoderHelp = nullptr;
    TFormPreview* FormPreview = nullptr;
};
