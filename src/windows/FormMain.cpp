#include "windows/FormMain.h"

#include "app/MainWindowRules.h"
#include "core/AppParams.h"
#include "core/CallRelay.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/EncoderCaps.h"
#include "encoding/Profiles.h"
#include "encoding/ReferenceLists.h"
#include "encoding/SettingsControls.h"
#include "filelist/AnalysisCache.h"
#include "platform/Platform.h"
#include "windows/BatchController.h"
#include "windows/ListActions.h"
#include "windows/ProfileController.h"
#include "windows/SettingsFileController.h"
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
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QThreadPool>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
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

void TFormMain::FormCreate(const TFormMainOptions& options) {
    setObjectName(u"FormMain"_s);
    // The installed icon, else a theme's video icon.
    setWindowIcon(QIcon::fromTheme(
        u"net.zorvane.zorvane"_s,
        QIcon::fromTheme(u"video-x-generic"_s, style()->standardIcon(QStyle::SP_MediaPlay))));
    setMinimumSize(650, 400);
    resize(SizeOnScreen({934, 712}, minimumSize(),
                        screen() ? screen()->availableGeometry().size() : QSize()));
    StayOnTopEnabled = false;
    Cache = std::make_unique<TAnalysisCache>();
    AppStrings = std::make_unique<TAppStrings>();
    Calls = new TCallRelay(this);
    Secondaries = new TSecondaryWindows(this);
    connect(this, &TFormMain::LanguageChanged, Secondaries, &TSecondaryWindows::LanguageChanged);

    SystemLanguageFirst_ = TSettingsFileController::StartUp(options.AppDir);
    setWindowTitle(ProductTitle());
    TSettingsFileController::THost file;
    file.ReadWindow = [this](TProgramSettings& s) { ReadWindowSettings(s); };
    file.ShowWindow = [this](const TProgramSettings& s) { ShowWindowSettings(s); };
    file.ReadEncoderSettings = [this]() -> const TEncoderSettings& {
        ReadControls();
        return Settings;
    };
    SettingsFile = std::make_unique<TSettingsFileController>(*AppStrings, std::move(file), this);
    SettingsFile->ChooseLanguage(LanguageList, SystemLanguageFirst_);
    PrepareControls();
    CreateBatchWindows();
    CreateDesktopSession(options.Buses);
    List->ApplySettings(Program());
    SetDefaultParams();
    ShowColumnStates();

    ListActions->SetInitialDir(AppDir);
    QDir().mkpath(AppParams.ProfilesDir); // a failure only means profiles cannot be saved
    setAcceptDrops(true);
    if (QFileInfo(AppParams.LastProfileFile).isFile())
        ProfileControl->LoadFrom(AppParams.LastProfileFile);

    SettingsFile->Load(screen() ? screen()->geometry().size() : QSize(1920, 1080));
    SetLang();
    InitControls();
    ProfileControl->Refill();

    // A file named on the command line joins the list; a folder or anything further does not.
    const QString first = options.Arguments.value(0);
    if (!first.isEmpty() && QFileInfo(first).isFile())
        List->AddFiles({first});
    List->CalcFooter();
}

void TFormMain::SwitchLanguage(const QString& nativeName) {
    const TLangIniListItem* item = LanguageList.GetItemByNativeName(nativeName);
    if (!item)
        return;
    AppParams.LanguageIni = QFileInfo(item->FileName).fileName();
    AppStrings->SetEN();
    AppStrings->LoadFromFile(item->FileName);
    SetLang();
    List->CalcFooter();
}

void TFormMain::PrepareControls() {
    ResolutionEntries = LoadResolutionEntries(AppParams.ResolutionTxt);
    FourccTags = LoadFourccTags(AppParams.FourccTagsFile);
    AppParams.MonospaceFont = ChooseMonospaceFont(QFontDatabase::families());

    Act.Create(this);
    CreateMenus();
    CreateToolbar();
    CreateTray();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    List = new TFileListPanel(*AppStrings, *Cache, central);
    ng = List->View();
    layout->addWidget(List, 1);
    Output = new TOutputPanel(*AppStrings, Act.actBrowseOutDir, Act.actExploreOutDir, central);
    Output->SetOutDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    layout->addWidget(Output);
    layout->addWidget(CreateConversionSettings());
    setCentralWidget(central);
    setStyleSheet(QStringLiteral(
        "QLabel[panelHeader=\"true\"] { font-weight: bold; padding: 3px 4px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #eef2f8, stop:1 #d8e0ec);"
        " border: 1px solid #c2ccda; border-radius: 2px; }"
        "QToolButton#pnConversionSettings { font-weight: bold; text-align: left; }"));
    ConnectPanels();
    CreateControllers();
    ConnectActions();
    EstimateTimer = new QTimer(this);
    EstimateTimer->setSingleShot(true);
    EstimateTimer->setInterval(200);
    connect(EstimateTimer, &QTimer::timeout, this,
            [this] { Guarded(this, [this] { EstimateChecked(); }); });
}

// The profiles and the list's actions reach the window's parts through small hosts.
void TFormMain::CreateControllers() {
    const auto read = [this]() -> const TEncoderSettings& {
        ReadControls();
        return Settings;
    };
    TProfileController::THost profiles;
    profiles.Current = [this]() -> const TEncoderSettings& { return Settings; };
    profiles.Read = read;
    profiles.Apply = [this](const TEncoderSettings& settings) { ApplySettings(settings); };
    profiles.ApplyDefaults = [this] {
        SetDefaultParams();
        InitControls();
    };
    profiles.Context = [this] {
        return TProfileContext{*AppStrings, Program().DefaultVideoCodecIndex,
                               Advanced->ResolutionItemCount()};
    };
    ProfileControl = new TProfileController(*AppStrings, *Profile, Act, std::move(profiles), this);

    TListActions::THost list;
    list.ReadSettings = read;
    list.ResolutionEntries = [this] { return Advanced->ResolutionEntries(); };
    list.OutDir = [this] { return Output->OutDir(); };
    ListActions =
        new TListActions(*AppStrings, *List, *Cache, Act, *Secondaries, std::move(list), this);
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
    pnLeft = Named(new QWidget(body), "pnLeft");
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
        Secondaries->Follow(panel);
    Secondaries->Follow(Output);
    Secondaries->Follow(List);
    Secondaries->Follow(Profile);
    connect(ConversionSettingsHeader, &QToolButton::toggled, this, [this, body](bool expanded) {
        body->setVisible(expanded);
        ConversionSettingsHeader->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    });
    return fpConversionSettings;
}

// What the panels and the list tell the window: the encoder settings and the actions' states
// follow them.
void TFormMain::ConnectPanels() {
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
    connect(Audio, &TAudioPanel::BitrateReferenceRequested, this,
            [this] { Guarded(this, [this] { btnInfoAudioBitratesClick(); }); });
    connect(Advanced, &TAdvancedPanel::FourccInfoRequested, this,
            [this] { OpenUrl(QString::fromUtf16(FourccInfoUrl)); });
    connect(Advanced, &TAdvancedPanel::EncoderHelpRequested, this,
            [this] { Guarded(this, [this] { btnFFParamsClick(); }); });
    connect(Output, &TOutputPanel::OutDirChoiceChanged, this, [this] { InitControls(); });
    connect(ng, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        InitControls();
        popLv->popup(ng->viewport()->mapToGlobal(at));
    });
    connect(List, &TFileListPanel::ListChanged, this, [this] {
        if (!UpdatingControls)
            InitControls();
    });
    // Before the list's actions see the new row: the command line reads the track chosen here.
    connect(List, &TFileListPanel::CurrentRowChanged, this,
            [this] { Guarded(this, [this] { UpdateCbAudioTrackNo(); }); });
    connect(List, &TFileListPanel::HeaderMenuRequested, this,
            [this](const QPoint& at) { popColumns->popup(at); });
}

TGridInfo TFormMain::GridInfo() const {
    return List->GridInfo();
}

int TFormMain::SelectedRow() const {
    return List->CurrentRow();
}

void TFormMain::SetDefaultParams() {
    Settings = DefaultEncoderSettings(*AppStrings, Program().DefaultVideoCodecIndex);
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

void TFormMain::ApplySettings(const TEncoderSettings& settings) {
    Settings = settings;
    ShowSettings();
    ReadControls(); // the controls' own ranges apply to what a profile held
    InitControls();
}

TProgramSettings& TFormMain::Program() {
    return SettingsFile->Program();
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
        Act.ApplyStates(MainActionsEnabled(GridInfo(), SelectedRow(), Output->OutDirChosen()));
        Act.actEsc->setEnabled(EscClosesWindow(Program().EscExit, false));
    }
    Act.actExploreDirectory->setText(
        ExploreDirectoryCaption(*AppStrings, List->CurrentDirectory()));
    Act.actShowHideMainWindow->setText(isVisible() ? AppStrings->Main.actMinimizeToTray
                                                   : AppStrings->Main.actShowMainWindow);
    UpdatingControls = false;
    if (EstimateTimer)
        EstimateTimer->start(); // settings, checks and analyses all change the estimate
    UpdatePreview();
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
    // The lists' Auto is now the new language's word: the settings take it, also at start-up,
    // where the settings file may name another language than the one the profile was read in.
    ReadControls();
    FitLeftPanels();
    // Once more when the new texts' layouts have settled: some sizes are measured only then.
    QTimer::singleShot(0, this, &TFormMain::FitLeftPanels);
    ConversionSettingsHeader->setText(AppStrings->Main.pnConversionSettings);
    Act.SetLang(*AppStrings);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        if (const QString* text = FindCatalogText(*AppStrings, u"Main."_s + menu->objectName()))
            menu->setTitle(*text);
    InitControls();
    // Screen readers' names come from the labels, so they follow the language too.
    NameControlsFromLabels(this);
    for (QWidget* window : SecondaryWindows())
        NameControlsFromLabels(window);
}

void TFormMain::SetUnlocked(bool unlocked) {
    for (QWidget* w : std::initializer_list<QWidget*>{tbMain, ng, Output, Video, Audio, Advanced})
        w->setEnabled(unlocked);
    for (QAction* action : Act.All())
        action->setEnabled(unlocked);
}

void TFormMain::DisableAll() {
    SetUnlocked(false);
}

void TFormMain::EnableAll() {
    SetUnlocked(true);
    InitControls();
}

// The window's own part of the settings file.

void TFormMain::ReadWindowSettings(TProgramSettings& s) const {
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
    s.LastDir = ListActions->InitialDir();
    List->ReadSettings(s);
    if (FormProgress)
        FormProgress->ReadSettings(s);
}

void TFormMain::ShowWindowSettings(const TProgramSettings& s) {
    Settings.OutputFormat = s.OutputFormat;
    UpdatingControls = true;
    Video->ShowSettings(Settings);
    UpdatingControls = false;
    move(s.Left, s.Top);
    resize(SizeOnScreen({s.Width, s.Height}, minimumSize(),
                        screen() ? screen()->availableGeometry().size() : QSize()));
    if (s.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    Output->ShowSettings(s);
    List->ApplySettings(s);
    FormProgress->LoadSettings(s);
    if (QFileInfo(s.LastDir).isDir())
        ListActions->SetInitialDir(s.LastDir);
    ConversionSettingsHeader->setChecked(s.ConversionSettingsExpanded);
    ShowColumnStates();
}

void TFormMain::ShowColumnStates() {
    for (int i = 0; i < ListColumnCount; ++i)
        if (QAction* action = Act.actColVisible[size_t(i)])
            action->setChecked(Program().Columns[size_t(i)].Visible);
}

void TFormMain::FormClose() {
    if (ClosedOnce)
        return;
    ClosedOnce = true;
    setAcceptDrops(false);
    SettingsFile->Save();
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

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && !ConversionRunning)
        event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
    QStringList names;
    // Whole names, however long: only local files take part.
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            names.append(url.toLocalFile());
    event->acceptProposedAction();
    Guarded(this, [&] { AddDropped(names); });
}

void TFormMain::AddDropped(const QStringList& names) {
    ListActions->AddDropped(names);
}

// The selected file's full analysis: kept from when it was added when it is unchanged, else made
// now off the window's thread; the chooser is refilled when it arrives.
void TFormMain::UpdateCbAudioTrackNo() {
    const QString path = List->CurrentPath();
    if (path.isEmpty())
        return;
    if (const std::optional<TVideoFileInfo> kept = Cache->Find(path)) {
        UpdatingControls = true;
        Advanced->SetAudioTrackItems(AudioTrackItems(*kept, *AppStrings));
        UpdatingControls = false;
        ReadControls();
        UpdatePreview();
        return;
    }
    const QString ffmpeg = GetFFmpegExe(AppParams);
    const QString mediaInfo = AppParams.MediaInfoDll;
    TAnalysisCache* cache = Cache.get();
    // The list waits for its pool before it goes, and it goes before this window's relay.
    List->Pool()->start([this, calls = Calls, cache, path, ffmpeg, mediaInfo] {
        TVideoFileInfo info;
        GetVideoFileInfoCached(*cache, path, ffmpeg, mediaInfo, info);
        calls->Post([this, path] {
            if (List && List->CurrentPath() == path && Cache->Find(path))
                UpdateCbAudioTrackNo();
        });
    });
}

void TFormMain::Platform_PowerOff() {
    Platform::PowerOff();
}
