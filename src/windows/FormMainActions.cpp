// The main window's actions, menus, toolbar, tray icon and the commands that open other windows.

#include "app/MainWindowRules.h"
#include "core/AppParams.h"
#include "encoding/AudioBitrateReference.h"
#include "encoding/EncoderCaps.h"
#include "windows/FormMain.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormAbout.h"
#include "windows/dialogs/FormCheckUpdate.h"
#include "windows/dialogs/FormCmdLine.h"
#include "windows/dialogs/FormErrors.h"
#include "windows/dialogs/FormFileInfo.h"
#include "windows/dialogs/FormOptions.h"
#include "windows/dialogs/FormProgress.h"
#include "windows/dialogs/FormTextView.h"
#include "windows/dialogs/FormToolsInfo.h"
#include "windows/panels/FileListPanel.h"
#include "windows/panels/OutputPanel.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace {

// Column visibility actions, in the order of the columns menus, with separators as null.
const char* const ColumnActions[] = {"actColNoVisible",
                                     "actColIconVisible",
                                     "actColDirectoryVisible",
                                     "actColSizeVisible",
                                     "actColDurationVisible",
                                     nullptr,
                                     "actColVideoVisible",
                                     "actColVideoCodecVisible",
                                     "actColVideoCodecIDVisible",
                                     "actColVideoProfileVisible",
                                     "actColVideoBitrateVisible",
                                     "actColVideoWidthVisible",
                                     "actColVideoHeightVisible",
                                     "actColVideoResolutionVisible",
                                     "actColVideoDisplayAspectVisible",
                                     "actColVideoFPSVisible",
                                     "actColVideoScanTypeVisible",
                                     "actColVideoBppVisible",
                                     "actColVideoStreamSizeVisible",
                                     nullptr,
                                     "actColAudioVisible",
                                     "actColAudioCodecVisible",
                                     "actColAudioCodecIDVisible",
                                     "actColAudioProfileVisible",
                                     "actColAudioBitrateVisible",
                                     "actColAudioChannelsVisible",
                                     "actColAudioSamplingVisible",
                                     "actColAudioStreamSizeVisible",
                                     nullptr,
                                     "actColStatusVisible"};

// The menu entries of a list of action names; null is a separator.
void AddActions(QMenu* menu, const QList<QAction*>& actions) {
    for (QAction* action : actions)
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
}

} // namespace

QAction* TFormMain::NewAction(const char* name, QKeySequence key) {
    auto* action = Named(new QAction(this), name);
    if (!key.isEmpty())
        action->setShortcut(key);
    addAction(action); // shortcuts work whatever menu or button shows the action
    return action;
}

void TFormMain::OnAction(QAction* action, std::function<void()> handler) {
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { Guarded(this, handler); });
}

void TFormMain::OnAction(const char* name, std::function<void()> handler) {
    OnAction(Action(QLatin1StringView(name)), std::move(handler));
}

void TFormMain::CreateActions() {
    const auto run = [this](QAction* action, void (TFormMain::*handler)()) {
        OnAction(action, [this, handler] { (this->*handler)(); });
    };
    NewAction("actConvert", QKeySequence(Qt::CTRL | Qt::Key_E));
    NewAction("actSaveBat");
    NewAction("actShowOptions", QKeySequence(Qt::Key_F12));
    auto* stayOnTop = NewAction("actStayOnTop");
    stayOnTop->setCheckable(true);
    run(stayOnTop, &TFormMain::actStayOnTopExecute);
    run(NewAction("actMinimizeToTray", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)),
        &TFormMain::actMinimizeToTrayExecute);
    connect(NewAction("actExit"), &QAction::triggered, this, &QWidget::close);
    NewAction("actShowProgressWindow", QKeySequence(Qt::Key_F8));
    NewAction("actShowHideFileInfo", QKeySequence(Qt::Key_F10));
    NewAction("actShowHideFormErrors", QKeySequence(Qt::Key_F11));
    NewAction("actAddFiles", QKeySequence(Qt::CTRL | Qt::Key_O));
    NewAction("actAddFolder", QKeySequence(Qt::CTRL | Qt::Key_F));
    NewAction("actRemoveChecked");
    NewAction("actClearFileList");
    NewAction("actCheckAll", QKeySequence(Qt::CTRL | Qt::Key_A));
    NewAction("actUncheckAll");
    NewAction("actInvertSelection", QKeySequence(Qt::CTRL | Qt::Key_I));
    NewAction("actCheckSelected");
    NewAction("actUncheckSelected");
    NewAction("actLoadFileList", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    NewAction("actSaveFileList", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    NewAction("actExploreDirectory");
    run(NewAction("actLoadProfile", QKeySequence(Qt::CTRL | Qt::Key_P)),
        &TFormMain::actLoadProfileExecute);
    run(NewAction("actSaveProfile", QKeySequence(Qt::CTRL | Qt::Key_S)),
        &TFormMain::actSaveProfileExecute);
    NewAction("actLoadSelectedProfile");
    run(NewAction("actSetDefaultEncoderSettings"), &TFormMain::actSetDefaultEncoderSettingsExecute);
    NewAction("actShowCmdLine", QKeySequence(Qt::Key_F2));
    NewAction("actToolsInfo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    const std::pair<const char*, const char16_t*> links[] = {{"actHelp", QuickStartUrl},
                                                             {"actGoToHomePage", HomePageUrl},
                                                             {"actGoToDonation", DonationUrl},
                                                             {"actGoToFacebook", FacebookUrl},
                                                             {"actGoToTwitter", TwitterUrl}};
    for (const auto& [name, address] : links) {
        QAction* action =
            NewAction(name, QString::fromLatin1(name) == u"actHelp" ? QKeySequence(Qt::Key_F1)
                                                                    : QKeySequence());
        const QString url = QString::fromUtf16(address);
        connect(action, &QAction::triggered, this, [this, url] { OpenUrl(url); });
    }
    Action(QStringLiteral("actGoToFacebook"))->setText(QStringLiteral("Facebook"));
    Action(QStringLiteral("actGoToTwitter"))->setText(QStringLiteral("Twitter"));
    NewAction("actCheckUpdate", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U));
    run(NewAction("actAbout", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F1)),
        &TFormMain::actAboutExecute);
    run(NewAction("actShowHideMainWindow"), &TFormMain::actShowHideMainWindowExecute);
    run(NewAction("actBrowseOutDir"), &TFormMain::actBrowseOutDirExecute);
    NewAction("actExploreOutDir");
    // The column actions show and hide the list's columns; their states are kept in the
    // settings file until the list draws its columns.
    for (const char* name : ColumnActions) {
        if (!name)
            continue;
        QAction* action = NewAction(name);
        action->setCheckable(true);
        const QString column = QStringLiteral("col") + QLatin1StringView(name + 6).chopped(7);
        for (int i = 0; i < ListColumnCount; ++i)
            if (column == QStringView(ListColumns[size_t(i)].Name))
                connect(action, &QAction::toggled, this, [this, i](bool on) {
                    Program.Columns[size_t(i)].Visible = on;
                    if (List)
                        List->SetColumnVisible(i, on);
                });
    }
    run(NewAction("actEsc", QKeySequence(Qt::Key_Escape)), &TFormMain::actEscExecute);
}

void TFormMain::CreateMenus() {
    const auto a = [this](const char* name) { return Action(QLatin1StringView(name)); };
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("tbMainMenu"));
    const auto menu = [&](const char* name) {
        QMenu* m = bar->addMenu(QString());
        m->setObjectName(QLatin1StringView(name));
        return m;
    };
    const auto columnsMenu = [&](QWidget* parent, const char* name) {
        auto* m = Named(new QMenu(parent), name);
        for (const char* column : ColumnActions)
            if (column)
                m->addAction(a(column));
            else
                m->addSeparator();
        return m;
    };
    AddActions(menu("mnuFile"),
               {a("actConvert"), nullptr, a("actSaveBat"), nullptr, a("actShowOptions"),
                a("actStayOnTop"), nullptr, a("actMinimizeToTray"), a("actExit")});
    QMenu* view = menu("mnuView");
    AddActions(view, {a("actShowProgressWindow"), a("actShowHideFileInfo"), nullptr,
                      a("actShowHideFormErrors"), nullptr});
    view->addMenu(columnsMenu(view, "mnuColumns"));
    AddActions(menu("mnuFileList"),
               {a("actAddFiles"), a("actAddFolder"), a("actRemoveChecked"), a("actClearFileList"),
                nullptr, a("actCheckAll"), a("actUncheckAll"), a("actInvertSelection"),
                a("actCheckSelected"), a("actUncheckSelected"), nullptr, a("actLoadFileList"),
                a("actSaveFileList"), nullptr, a("actExploreDirectory")});
    AddActions(menu("mnuEncoder"), {a("actLoadProfile"), a("actSaveProfile"), nullptr,
                                    a("actSetDefaultEncoderSettings"), nullptr, a("actShowCmdLine"),
                                    nullptr, a("actToolsInfo")});
    AddActions(menu("mnuHelp"), {a("actHelp"), nullptr, a("actGoToHomePage"), a("actGoToDonation"),
                                 a("actGoToFacebook"), a("actGoToTwitter"), nullptr,
                                 a("actCheckUpdate"), nullptr, a("actAbout")});

    popLv = Named(new QMenu(this), "popLv");
    AddActions(popLv, {a("actConvert"),
                       nullptr,
                       a("actAddFiles"),
                       a("actAddFolder"),
                       a("actRemoveChecked"),
                       a("actClearFileList"),
                       nullptr,
                       a("actCheckAll"),
                       a("actUncheckAll"),
                       a("actInvertSelection"),
                       a("actCheckSelected"),
                       a("actUncheckSelected"),
                       nullptr,
                       a("actLoadFileList"),
                       a("actSaveFileList"),
                       nullptr,
                       a("actShowHideFileInfo"),
                       nullptr,
                       a("actExploreDirectory"),
                       nullptr});
    popLv->addMenu(columnsMenu(popLv, "popColumnsSubmenu"));
    columnsMenu(this, "popColumns");
}

void TFormMain::CreateToolbar() {
    QToolBar* bar = addToolBar(QString());
    bar->setObjectName(QStringLiteral("tbMain"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    const auto icon = [this](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1StringView(theme), style()->standardIcon(fallback));
    };
    const struct {
        const char* Button;
        const char* Action;
        const char* Theme;
        QStyle::StandardPixmap Fallback;
        bool Separator;
    } buttons[] = {
        {"btnAdd", "actAddFiles", "list-add", QStyle::SP_FileIcon, false},
        {"btnAddFolder", "actAddFolder", "folder-new", QStyle::SP_DirIcon, false},
        {"btnRemove", "actRemoveChecked", "list-remove", QStyle::SP_TrashIcon, true},
        {"btnConvert", "actConvert", "media-playback-start", QStyle::SP_MediaPlay, true},
        {"btnFileInfo", "actShowHideFileInfo", "dialog-information", QStyle::SP_FileDialogInfoView,
         false},
        {"btnOptions", "actShowOptions", "preferences-system", QStyle::SP_FileDialogDetailedView,
         true},
        {"btnHomePage", "actGoToHomePage", "go-home", QStyle::SP_DirHomeIcon, true},
        {"btnStayOnTop", "actStayOnTop", "go-top", QStyle::SP_TitleBarShadeButton, false},
    };
    for (const auto& b : buttons) {
        QAction* action = Action(QLatin1StringView(b.Action));
        action->setIcon(icon(b.Theme, b.Fallback));
        bar->addAction(action);
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(QLatin1StringView(b.Button));
        if (b.Separator)
            bar->addSeparator();
    }
    // The last two show their image only.
    for (const char* name : {"btnHomePage", "btnStayOnTop"})
        if (auto* button = bar->findChild<QToolButton*>(QLatin1StringView(name)))
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
}

void TFormMain::CreateTray() {
    ti = new QSystemTrayIcon(windowIcon(), this);
    ti->setObjectName(QStringLiteral("ti"));
    ti->setToolTip(QString::fromUtf16(ProductName));
    popTi = Named(new QMenu(this), "popTi");
    popTi->addAction(Action(QStringLiteral("actShowHideMainWindow")));
    popTi->addSeparator();
    popTi->addAction(Action(QStringLiteral("actExit")));
    connect(popTi, &QMenu::aboutToShow, this, [this] { InitControls(); });
    ti->setContextMenu(popTi);
    connect(ti, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger && !isVisible())
            Action(QStringLiteral("actShowHideMainWindow"))->trigger();
    });
}

QList<QWidget*> TFormMain::SecondaryWindows() const {
    QList<QWidget*> windows;
    for (const TSecondary& secondary : Secondaries)
        if (secondary.Window)
            windows.append(secondary.Window);
    return windows;
}

void TFormMain::actStayOnTopExecute() {
    StayOnTopEnabled = !StayOnTopEnabled;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTopEnabled);
    if (wasVisible)
        show();
    // Each secondary window goes to the normal style and back, so it stays above this one.
    for (QWidget* window : SecondaryWindows()) {
        const bool shown = window->isVisible();
        window->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown)
            window->show();
    }
    Action(QStringLiteral("actStayOnTop"))->setChecked(StayOnTopEnabled);
}

void TFormMain::actMinimizeToTrayExecute() {
    // Without a tray the window could never come back: it is minimized instead.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        showMinimized();
        return;
    }
    ti->show();
    hide();
    InitControls();
}

void TFormMain::actShowHideMainWindowExecute() {
    if (isVisible()) {
        if (!QSystemTrayIcon::isSystemTrayAvailable()) {
            showMinimized();
            return;
        }
        for (const TSecondary& secondary : Secondaries)
            if (secondary.Window && secondary.HidesWithMain)
                secondary.Window->hide();
        hide();
        ti->show();
    } else {
        show();
        ti->hide();
    }
    InitControls();
}

void TFormMain::actBrowseOutDirExecute() {
    const QString start = QFileInfo(Output->OutDir()).isDir() ? Output->OutDir() : AppDir;
    const QString dir = QFileDialog::getExistingDirectory(this, QString(), start);
    if (!dir.isEmpty())
        Output->SetOutDir(dir);
}

void TFormMain::actAboutExecute() {
    if (!FormAbout)
        FormAbout = AddSecondary(
            new TFormAbout(*AppStrings, Action(QStringLiteral("actAbout"))->shortcut(), this),
            true);
    FormAbout->show();
    FormAbout->raise();
}

void TFormMain::actEscExecute() {
    if (EscClosesWindow(Program.EscExit, ConversionRunning))
        close();
}

void TFormMain::btnInfoAudioBitratesClick() {
    WriteAudioBitrateReference(AppParams.AudioBitratesTxt); // a failure is silent
    if (QFileInfo(AppParams.AudioBitratesTxt).isFile())
        OpenUrl(QUrl::fromLocalFile(AppParams.AudioBitratesTxt).toString());
}

void TFormMain::btnFFParamsClick() {
    const QString ffmpeg = GetFFmpegExe(AppParams);
    if (ffmpeg.isEmpty()) {
        ShowWarning(this, FFmpegNotFoundText(*AppStrings));
        return;
    }
    const QString helpFile =
        QFileInfo(ffmpeg).absolutePath() + QStringLiteral("/ffmpeg_HELP_long.txt");
    if (QFileInfo(helpFile).isFile()) {
        OpenUrl(QUrl::fromLocalFile(helpFile).toString());
        return;
    }
    if (!FormEncoderHelp)
        FormEncoderHelp = AddSecondary(
            new TFormTextView(AppStrings->Main.gbFFmpegParams, AppParams.MonospaceFont, this),
            false, [this](const TAppStrings& strings) {
                FormEncoderHelp->setWindowTitle(strings.Main.gbFFmpegParams);
            });
    FormEncoderHelp->SetText(EncoderLongHelp(ffmpeg));
    FormEncoderHelp->show();
    FormEncoderHelp->raise();
}

void TFormMain::OpenUrl(const QString& address) {
    QDesktopServices::openUrl(QUrl(address)); // the result is not checked
}
