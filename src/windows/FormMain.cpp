#include "windows/FormMain.h"

#include "app/MainWindowRules.h"
#include "app/Startup.h"
#include "core/AppParams.h"
#include "core/IniFile.h"
#include "encoding/Profiles.h"
#include "encoding/ReferenceLists.h"
#include "encoding/SettingsControls.h"
#include "filelist/AnalysisCache.h"
#include "filelist/MediaInfoHelper.h"
#include "platform/Platform.h"
#include "windows/BatchController.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormAbout.h"
#include "windows/dialogs/FormCheckUpdate.h"
#include "windows/dialogs/FormCmdLine.h"
#include "windows/dialogs/FormErrors.h"
#include "windows/dialogs/FormFileInfo.h"
#include "windows/dialogs/FormOptions.h"
#include "windows/dialogs/FormProgress.h"
#include "windows/dialogs/FormToolsInfo.h"
#include "windows/panels/AdvancedPanel.h"
#include "windows/panels/AudioPanel.h"
#include "windows/panels/FileListPanel.h"
#include "windows/panels/OutputPanel.h"
#include "windows/panels/ProfilePanel.h"
#include "windows/panels/VideoPanel.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TFormMain::TFormMain(const TFormMainOptions& options, QWidget* parent) : QMainWindow(parent) {
    FormCreate(options);
}

TFormMain::~TFormMain() {
    // The list first: it waits for analyses still running, which write to the cache. A batch
    // still running next (its encoders are killed), then the batch windows: they refer to this
    // window's error log.
    delete List;
    List = nullptr;
    delete Batch;
    Batch = nullptr;
    delete FormProgress;
    FormProgress = nullptr;
    delete FormErrors;
    FormErrors = nullptr;
}

QAction* TFormMain::Action(const QString& name) const {
    return findChild<QAction*>(name, Qt::FindDirectChildrenOnly);
}

void TFormMain::FormCreate(const TFormMainOptions& options) {
    setObjectName(QStringLiteral("FormMain"));
    // The installed icon, else a theme's video icon.
    setWindowIcon(QIcon::fromTheme(QStringLiteral("net.zorvane.zorvane"),
                                   QIcon::fromTheme(QStringLiteral("video-x-generic"),
                                                    style()->standardIcon(QStyle::SP_MediaPlay))));
    setMinimumSize(650, 400);
    resize(SizeOnScreen({934, 712}, minimumSize(),
                        screen() ? screen()->availableGeometry().size() : QSize()));
    StayOnTopEnabled = false;
    Cache = std::make_unique<TAnalysisCache>();

    StartUp(AppParams, options.AppDir);
    // Media files are read by MediaInfo in helper processes when the helper is there: a file
    // that crashes the library must not take the user's list with it.
    const QString helper = Platform::ExecutableDir() + QStringLiteral("/zorvane-cli");
    UseMediaInfoHelper(Platform::IsExecutableFile(helper) ? helper : QString());
    AppParams.ScrollProgressToBottom = true;
    AppStrings = std::make_unique<TAppStrings>();
    setWindowTitle(ProductTitle());

    SystemLanguageFirst_ = CheckIniFile(AppParams);
    InitLang();
    PrepareControls();
    CreateBatchWindows();
    List->ApplySettings(Program);
    SetDefaultParams();
    ShowColumnStates();

    InitialDir = AppDir;
    QDir().mkpath(AppParams.ProfilesDir); // a failure only means profiles cannot be saved
    setAcceptDrops(true);
    if (QFileInfo(AppParams.LastProfileFile).isFile())
        LoadProfileFrom(AppParams.LastProfileFile);

    LoadSettingsFromIni();
    SetLang();
    InitControls();
    GetProfiles();

    // A file named on the command line joins the list; a folder or anything further does not.
    const QString first = options.Arguments.value(0);
    if (!first.isEmpty() && QFileInfo(first).isFile())
        List->AddFiles({first});
    List->CalcFooter();
}

void TFormMain::InitLang() {
    LanguageList = TLangIniList();
    LanguageList.AddIniFilesFromDir(AppParams.LangDir, QStringLiteral("ini"));
    const QString saved =
        TIniFile(AppParams.IniName)
            .ReadString(QStringLiteral("MAIN"), QStringLiteral("LanguageIni"), {});
    const QString chosen =
        ChooseLanguageIni(SystemLanguageFirst_, saved, QLocale::system(), AppParams.LangDir);
    if (!chosen.isEmpty() && QFileInfo(AppParams.LangDir + u'/' + chosen).isFile())
        AppParams.LanguageIni = chosen;
    if (!chosen.isEmpty())
        AppStrings->LoadFromFile(AppParams.LangDir + u'/' + chosen);
}

void TFormMain::SwitchLanguage(const QString& nativeName) {
    const TLangIniListItem* item = LanguageList.GetItemByNativeName(nativeName);
    if (!item)
        return;
    AppParams.LanguageIni = QFileInfo(item->FileName).fileName();
    AppStrings->SetEN();
    AppStrings->LoadFromFile(item->FileName);
    SetLang();
    ReadControls(); // the lists' Auto is now the new language's word
    List->CalcFooter();
}

void TFormMain::PrepareControls() {
    ResolutionEntries = LoadResolutionEntries(AppParams.ResolutionTxt);
    FourccTags = LoadFourccTags(AppParams.FourccTagsFile);
    AppParams.MonospaceFont = ChooseMonospaceFont(QFontDatabase::families());

    CreateActions();
    CreateMenus();
    CreateToolbar();
    CreateTray();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    List = new TFileListPanel(*AppStrings, *Cache, central);
    ng = List->View();
    connect(ng, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        InitControls();
        popLv->popup(ng->viewport()->mapToGlobal(at));
    });
    ConnectList();
    layout->addWidget(List, 1);

    Output = new TOutputPanel(*AppStrings, Action(QStringLiteral("actBrowseOutDir")),
                              Action(QStringLiteral("actExploreOutDir")), central);
    Output->SetOutDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    connect(Output, &TOutputPanel::OutDirChoiceChanged, this, [this] { InitControls(); });
    layout->addWidget(Output);
    layout->addWidget(CreateConversionSettings());
    setCentralWidget(central);
    setStyleSheet(QStringLiteral(
        "QLabel[panelHeader=\"true\"] { font-weight: bold; padding: 3px 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef2f8, stop:1 #d8e0ec);"
        " border: 1px solid #c2ccda; border-radius: 2px; }"
        "QToolButton#pnConversionSettings { font-weight: bold; text-align: left; }"));
}

QWidget* TFormMain::CreateConversionSettings() {
    fpConversionSettings = Named(new QWidget(this), "fpConversionSettings");
    auto* layout = new QVBoxLayout(fpConversionSettings);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    ConversionSettingsHeader = Named(new QToolButton(fpConversionSettings), "pnConversionSettings");
    ConversionSettingsHeader->setCheckable(true);
    ConversionSettingsHeader->setChecked(true);
    ConversionSettingsHeader->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ConversionSettingsHeader->setArrowType(Qt::DownArrow);
    ConversionSettingsHeader->setFixedHeight(22);
    ConversionSettingsHeader->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    layout->addWidget(ConversionSettingsHeader);

    auto* body = new QWidget(fpConversionSettings);
    body->setFixedHeight(302 - 22);
    auto* row = new QHBoxLayout(body);
    row->setContentsMargins(0, 0, 0, 0);
    auto* pnLeft = Named(new QWidget(body), "pnLeft");
    auto* left = new QVBoxLayout(pnLeft);
    left->setContentsMargins(0, 0, 0, 0);
    Profile = new TProfilePanel(pnLeft);
    left->addWidget(Profile);
    auto* panels = new QHBoxLayout;
    Video = new TVideoPanel(*AppStrings, pnLeft);
    Audio = new TAudioPanel(*AppStrings, pnLeft);
    panels->addWidget(Video);
    panels->addWidget(Audio);
    left->addLayout(panels, 1);
    row->addWidget(pnLeft);
    Advanced = new TAdvancedPanel(
        *AppStrings, ResolutionListItems(*AppStrings, AppParams.ResolutionTxt), FourccTags, body);
    row->addWidget(Advanced, 1);
    layout->addWidget(body);
    Panels = {Video, Audio, Advanced};
    for (TSettingsPanel* panel : Panels)
        FollowLanguage(panel);
    FollowLanguage(Output);
    FollowLanguage(List);
    FollowLanguage(Profile);

    connect(ConversionSettingsHeader, &QToolButton::toggled, this, [this, body](bool expanded) {
        body->setVisible(expanded);
        ConversionSettingsHeader->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    });
    for (TSettingsPanel* panel : Panels)
        connect(panel, &TSettingsPanel::Edited, this, [this] {
            if (UpdatingControls)
                return;
            // An exception raised while the panels recompute their states is swallowed.
            Guarded(this, [this] {
                ReadControls();
                InitControls();
            });
        });
    connect(Profile, &TProfilePanel::ProfileChosen, this,
            [this](int item) { Guarded(this, [&] { actLoadSelectedProfileExecute(item); }); });
    connect(Audio, &TAudioPanel::BitrateReferenceRequested, this,
            [this] { Guarded(this, [this] { btnInfoAudioBitratesClick(); }); });
    connect(Advanced, &TAdvancedPanel::FourccInfoRequested, this,
            [this] { OpenUrl(QString::fromUtf16(FourccInfoUrl)); });
    connect(Advanced, &TAdvancedPanel::EncoderHelpRequested, this,
            [this] { Guarded(this, [this] { btnFFParamsClick(); }); });
    return fpConversionSettings;
}

TGridInfo TFormMain::GridInfo() const {
    return List->GridInfo();
}

int TFormMain::SelectedRow() const {
    return List->CurrentRow();
}

void TFormMain::SetDefaultParams() {
    Settings = DefaultEncoderSettings(*AppStrings, Program.DefaultVideoCodecIndex);
    ShowSettings();
}

void TFormMain::ShowSettings() {
    UpdatingControls = true;
    for (TSettingsPanel* panel : Panels)
        panel->ShowSettings(Settings);
    for (TSettingsPanel* panel : Panels)
        panel->ShowDerived(Settings, *AppStrings);
    UpdatingControls = false;
}

void TFormMain::ReadControls() {
    for (TSettingsPanel* panel : Panels)
        panel->ReadSettings(Settings);
}

void TFormMain::InitControls() {
    UpdatingControls = true;
    const QHash<QString, bool> enabled = EncoderControlsEnabled(Settings);
    const QHash<QString, bool> visible = EncoderControlsVisible(Settings);
    for (TSettingsPanel* panel : Panels) {
        panel->ApplyStates(enabled, visible);
        panel->ShowDerived(Settings, *AppStrings);
    }
    if (!ConversionRunning) {
        const QHash<QString, bool> actions =
            MainActionsEnabled(GridInfo(), SelectedRow(), Output->OutDirChosen());
        for (const auto& [name, on] : actions.asKeyValueRange())
            if (QAction* action = Action(name))
                action->setEnabled(on);
        Action(QStringLiteral("actEsc"))->setEnabled(EscClosesWindow(Program.EscExit, false));
    }
    Action(QStringLiteral("actExploreDirectory"))
        ->setText(ExploreDirectoryCaption(*AppStrings, List->CurrentDirectory()));
    Action(QStringLiteral("actShowHideMainWindow"))
        ->setText(isVisible() ? AppStrings->Main.actMinimizeToTray
                              : AppStrings->Main.actShowMainWindow);
    UpdatingControls = false;
}

void TFormMain::FollowLanguage(QObject* window, std::function<void(const TAppStrings&)> setLang) {
    connect(this, &TFormMain::LanguageChanged, window, std::move(setLang));
}

// Qt's own texts (file dialogs, standard buttons) from Qt's translation of the chosen language,
// where the system has one.
void TFormMain::ApplyQtTranslation() {
    if (QtTranslator) {
        QCoreApplication::removeTranslator(QtTranslator.get());
        QtTranslator.reset();
    }
    const QLocale locale = LocaleForLanguageFile(AppParams.LanguageIni);
    if (locale.language() == QLocale::English)
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(locale, u"qtbase"_s, u"_"_s,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(translator.get());
        QtTranslator = std::move(translator);
    }
}

// The profile row spans the video and audio panels, as wide as their texts need (the layout's
// own minimum: both panels, the space between them, and the profile row).
void TFormMain::FitLeftPanels() {
    QWidget* pnLeft = findChild<QWidget*>(u"pnLeft"_s);
    const QLayout* panels = pnLeft->layout()->itemAt(1)->layout();
    const int both =
        Video->minimumSizeHint().width() + panels->spacing() + Audio->minimumSizeHint().width();
    pnLeft->setFixedWidth(std::max(both, Profile->minimumSizeHint().width()));
}

void TFormMain::SetLang() {
    ApplyQtTranslation();
    setWindowTitle(ProductTitle());
    SetUnexpectedErrorText(AppStrings->Main.UnexpectedError);
    Q_EMIT LanguageChanged(*AppStrings);
    FitLeftPanels();
    // Once more when the new texts' layouts have settled: some sizes are measured only then.
    QTimer::singleShot(0, this, &TFormMain::FitLeftPanels);
    ConversionSettingsHeader->setText(AppStrings->Main.pnConversionSettings);
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly)) {
        const QString name = action->objectName();
        QString caption;
        if (name == u"actSaveBat")
            caption = AppStrings->Main.actSaveBAT;
        else if (name == u"actHelp")
            caption = AppStrings->Main.mnuHelp;
        else if (name == u"actGoToDonation")
            caption = AppStrings->About.Donation;
        else if (name.startsWith(u"actCol") && name.endsWith(u"Visible")) {
            // A column action takes its column's header text, "actColNoVisible" that of colNo.
            const QString column = u"col"_s + name.mid(6, name.size() - 6 - 7);
            const QString* text = FindCatalogText(*AppStrings, QStringLiteral("Main.") + column);
            if (!text)
                continue;
            caption = *text;
        } else if (const QString* text =
                       FindCatalogText(*AppStrings, QStringLiteral("Main.") + name))
            caption = *text;
        else
            continue;
        action->setText(caption);
        action->setToolTip(caption);
    }
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        if (const QString* text =
                FindCatalogText(*AppStrings, QStringLiteral("Main.") + menu->objectName()))
            menu->setTitle(*text);
    const std::pair<const char*, QString> buttons[] = {
        {"actAddFiles", AppStrings->Main.btnAdd},
        {"actAddFolder", AppStrings->Main.btnAddFolder},
        {"actRemoveChecked", AppStrings->Main.btnRemove},
        {"actConvert", AppStrings->Main.btnConvert},
        {"actShowHideFileInfo", AppStrings->Main.btnFileInfo},
        {"actShowOptions", AppStrings->Main.btnOptions}};
    for (const auto& [name, text] : buttons)
        Action(QLatin1StringView(name))->setIconText(text);
    InitControls();
    // Screen readers' names come from the labels, so they follow the language too.
    NameControlsFromLabels(this);
    for (QWidget* window : SecondaryWindows())
        NameControlsFromLabels(window);
}

void TFormMain::SetUnlocked(bool unlocked) {
    for (const char* name : {"tbMain", "ng", "pnMid", "pnVideo", "pnAudio", "pnAdvancedSettings"})
        if (QWidget* w = findChild<QWidget*>(QLatin1StringView(name)))
            w->setEnabled(unlocked);
    for (QAction* action : findChildren<QAction*>(Qt::FindDirectChildrenOnly))
        action->setEnabled(unlocked);
}

void TFormMain::DisableAll() {
    SetUnlocked(false);
}

void TFormMain::EnableAll() {
    SetUnlocked(true);
    InitControls();
}

// Profiles

void TFormMain::LoadProfileFrom(const QString& fileName) {
    TEncoderSettings loaded = Settings;
    LoadProfile(loaded, fileName,
                {*AppStrings, Program.DefaultVideoCodecIndex, Advanced->ResolutionItemCount()});
    ApplyProfile(loaded);
}

void TFormMain::ApplyProfile(const TEncoderSettings& settings) {
    Settings = settings;
    ShowSettings();
    ReadControls(); // the controls' own ranges apply to what the profile held
    InitControls();
}

void TFormMain::SaveProfileTo(const QString& fileName) {
    ReadControls();
    QString error;
    if (!SaveProfile(Settings, fileName, *AppStrings, &error))
        throw std::runtime_error(error.toStdString());
}

void TFormMain::GetProfiles() {
    Profile->Fill(::GetProfiles(AppParams.ProfilesDir, AppParams.LastProfileFile,
                                AppParams.ShippedProfilesDir),
                  *AppStrings);
}

void TFormMain::actLoadSelectedProfileExecute(int item) {
    if (!Action(QStringLiteral("actLoadSelectedProfile"))->isEnabled())
        return; // during a conversion only the shown item changes
    if (item == 0) {
        LoadProfileFrom(AppParams.LastProfileFile);
    } else if (item == 1) {
        actSetDefaultEncoderSettingsExecute();
    } else if (item >= 2 && !Profile->Profiles().isEmpty()) {
        const int entry = item - 2 < Profile->Profiles().size() ? item - 2 : 0;
        LoadProfileFrom(Profile->Profiles().at(entry).FileName);
    }
}

void TFormMain::actSetDefaultEncoderSettingsExecute() {
    SetDefaultParams();
    Profile->Select(1);
    InitControls();
}

void TFormMain::actLoadProfileExecute() {
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), AppParams.ProfilesDir,
        DialogFilter(AppStrings->Main.dlgOpenProfile_Filter, QStringLiteral("*.ini *.INI")));
    if (!file.isEmpty())
        LoadProfileFrom(file);
}

void TFormMain::actSaveProfileExecute() {
    QString file = QFileDialog::getSaveFileName(
        this, QString(), AppParams.ProfilesDir,
        DialogFilter(AppStrings->Main.dlgSaveProfile_Filter, QStringLiteral("*.ini *.INI")));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += QStringLiteral(".ini");
    SaveProfileTo(file);
    if (QFileInfo(file).absolutePath().compare(QFileInfo(AppParams.ProfilesDir).absoluteFilePath(),
                                               Qt::CaseInsensitive) != 0)
        return;
    GetProfiles();
    const QString name = QFileInfo(file).fileName();
    int item = 0;
    for (int i = 0; i < Profile->Profiles().size(); ++i)
        if (Profile->Profiles().at(i).ShortFileName.compare(name, Qt::CaseInsensitive) == 0)
            item = i + 2;
    Profile->Select(item);
}

// Settings file

TProgramSettings TFormMain::CurrentProgramSettings() const {
    TProgramSettings s = Program;
    s.LanguageIni = AppParams.LanguageIni;
    s.Maximized = isMaximized();
    if (!s.Maximized) {
        s.Left = x();
        s.Top = y();
        s.Width = width();
        s.Height = height();
    }
    Output->ReadSettings(s);
    s.ConversionSettingsExpanded = ConversionSettingsHeader->isChecked();
    s.OutputFormat = Settings.OutputFormat;
    s.FileAnalysis = AppParams.FileAnalysis;
    s.OpenFileAfterIconClick = AppParams.OpenFileAfterIconClick;
    s.DragAcceptDirectories = AppParams.DragAcceptDirectories;
    s.LastDir = InitialDir;
    List->ReadSettings(s);
    if (FormProgress)
        FormProgress->ReadSettings(s);
    return s;
}

void TFormMain::LoadSettingsFromIni() {
    TProgramSettings current = CurrentProgramSettings();
    current.Maximized = false;
    const QSize screenSize = screen() ? screen()->geometry().size() : QSize(1920, 1080);
    bool existed = false;
    Program = ReadProgramSettingsFile(AppParams.IniName, current, screenSize, &existed);
    if (!existed)
        return;
    ApplyToolSettings(Program, AppParams);
    if (!Program.LanguageIni.isEmpty()) {
        const QString file = AppParams.LangDir + u'/' + Program.LanguageIni;
        if (QFileInfo(file).isFile()) {
            AppStrings->SetEN();
            AppStrings->LoadFromFile(file);
            AppParams.LanguageIni = Program.LanguageIni;
        }
    }
    Settings.OutputFormat = Program.OutputFormat;
    UpdatingControls = true;
    Video->ShowSettings(Settings);
    UpdatingControls = false;
    move(Program.Left, Program.Top);
    resize(SizeOnScreen({Program.Width, Program.Height}, minimumSize(),
                        screen() ? screen()->availableGeometry().size() : QSize()));
    if (Program.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    Output->ShowSettings(Program);
    AppParams.KeepFileDates = Program.KeepFileDates;
    AppParams.FileAnalysis = Program.FileAnalysis;
    AppParams.OpenFileAfterIconClick = Program.OpenFileAfterIconClick;
    AppParams.DragAcceptDirectories = Program.DragAcceptDirectories;
    List->ApplySettings(Program);
    FormProgress->LoadSettings(Program);
    if (QFileInfo(Program.LastDir).isDir())
        InitialDir = Program.LastDir;
    ConversionSettingsHeader->setChecked(Program.ConversionSettingsExpanded);
    ShowColumnStates();
}

void TFormMain::ShowColumnStates() {
    for (int i = 0; i < ListColumnCount; ++i) {
        const QString name =
            u"actCol"_s + QString::fromUtf16(ListColumns[size_t(i)].Name).mid(3) + u"Visible"_s;
        if (QAction* action = Action(name))
            action->setChecked(Program.Columns[size_t(i)].Visible);
    }
}

bool TFormMain::SaveSettingsToIni() {
    Program = CurrentProgramSettings();
    QDir().mkpath(QFileInfo(AppParams.IniName).absolutePath());
    return SaveProgramSettingsFile(Program, AppParams.IniName);
}

void TFormMain::FormClose() {
    if (ClosedOnce)
        return;
    ClosedOnce = true;
    setAcceptDrops(false);
    ReadControls();
    // Both files are written through a temporary file: a failure leaves the old ones whole.
    const bool settingsSaved = SaveSettingsToIni();
    QDir().mkpath(AppParams.ProfilesDir);
    const bool profileSaved = SaveProfile(Settings, AppParams.LastProfileFile, *AppStrings);
    if (!settingsSaved || !profileSaved) {
        // Told once, whatever failed.
        const QString folder = QDir::toNativeSeparators(
            QFileInfo(settingsSaved ? AppParams.LastProfileFile : AppParams.IniName)
                .absolutePath());
        ::ShowWarning(this, FormatCatalogText(AppStrings->Main.CantSaveSettings, folder));
    }
    if (ti)
        ti->hide();
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (Batch && Batch->Running()) {
        // The encoders are stopped first; the window closes, and saves, once the batch has
        // ended.
        Batch->Abort();
        CloseWhenBatchEnds = true;
        event->ignore();
        return;
    }
    FormClose();
    for (QWidget* window : SecondaryWindows())
        window->close();
    event->accept();
    Q_EMIT Closed();
}

void TFormMain::Platform_PowerOff() {
    Platform::PowerOff();
}
