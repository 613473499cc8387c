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

using namespace Qt::StringLiterals;

namespace {

// The menu entries of a list of actions; null is a separator.
void AddActions(QMenu* menu, const QList<QAction*>& actions) {
    for (QAction* action : actions)
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
}

} // namespace

void TFormMain::OnAction(QAction* action, std::function<void()> handler) {
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { Guarded(this, handler); });
}

// The actions the window handles itself; the profiles, the list and the batch connect theirs.
void TFormMain::ConnectActions() {
    const auto run = [this](QAction* action, void (TFormMain::*handler)()) {
        OnAction(action, [this, handler] { (this->*handler)(); });
    };
    run(Act.actStayOnTop, &TFormMain::actStayOnTopExecute);
    run(Act.actMinimizeToTray, &TFormMain::actMinimizeToTrayExecute);
    connect(Act.actExit, &QAction::triggered, this, &QWidget::close);
    const std::pair<QAction*, const char16_t*> links[] = {{Act.actHelp, QuickStartUrl},
                                                          {Act.actGoToHomePage, HomePageUrl},
                                                          {Act.actGoToDonation, DonationUrl},
                                                          {Act.actGoToFacebook, FacebookUrl},
                                                          {Act.actGoToTwitter, TwitterUrl}};
    for (const auto& [action, address] : links) {
        const QString url = QString::fromUtf16(address);
        connect(action, &QAction::triggered, this, [this, url] { OpenUrl(url); });
    }
    run(Act.actAbout, &TFormMain::actAboutExecute);
    run(Act.actShowHideMainWindow, &TFormMain::actShowHideMainWindowExecute);
    run(Act.actBrowseOutDir, &TFormMain::actBrowseOutDirExecute);
    run(Act.actEsc, &TFormMain::actEscExecute);
    // The column actions show and hide the list's columns; their states are kept in the
    // settings file until the list draws its columns.
    for (int i = 0; i < ListColumnCount; ++i)
        if (QAction* action = Act.actColVisible[size_t(i)])
            connect(action, &QAction::toggled, this, [this, i](bool on) {
                Program().Columns[size_t(i)].Visible = on;
                if (List)
                    List->SetColumnVisible(i, on);
            });
}

void TFormMain::CreateMenus() {
    const TMainActions& a = Act;
    QMenuBar* bar = menuBar();
    bar->setObjectName(u"tbMainMenu"_s);
    const auto menu = [&](const char* name) {
        QMenu* m = bar->addMenu(QString());
        m->setObjectName(QLatin1StringView(name));
        return m;
    };
    const auto columnsMenu = [&](QWidget* parent, const char* name) {
        auto* m = Named(new QMenu(parent), name);
        AddActions(m, a.ColumnMenu());
        return m;
    };
    AddActions(menu("mnuFile"), {a.actConvert, nullptr, a.actSaveBat, nullptr, a.actShowOptions,
                                 a.actStayOnTop, nullptr, a.actMinimizeToTray, a.actExit});
    QMenu* view = menu("mnuView");
    AddActions(view, {a.actShowProgressWindow, a.actShowHideFileInfo, nullptr,
                      a.actShowHideFormErrors, nullptr});
    view->addMenu(columnsMenu(view, "mnuColumns"));
    AddActions(menu("mnuFileList"),
               {a.actAddFiles, a.actAddFolder, a.actRemoveChecked, a.actClearFileList, nullptr,
                a.actCheckAll, a.actUncheckAll, a.actInvertSelection, a.actCheckSelected,
                a.actUncheckSelected, nullptr, a.actLoadFileList, a.actSaveFileList, nullptr,
                a.actExploreDirectory});
    AddActions(menu("mnuEncoder"),
               {a.actLoadProfile, a.actSaveProfile, nullptr, a.actSetDefaultEncoderSettings,
                nullptr, a.actShowCmdLine, a.actPreview, nullptr, a.actToolsInfo});
    AddActions(menu("mnuHelp"),
               {a.actHelp, nullptr, a.actGoToHomePage, a.actGoToDonation, a.actGoToFacebook,
                a.actGoToTwitter, nullptr, a.actCheckUpdate, nullptr, a.actAbout});

    popLv = Named(new QMenu(this), "popLv");
    AddActions(popLv, {a.actConvert,
                       nullptr,
                       a.actAddFiles,
                       a.actAddFolder,
                       a.actRemoveChecked,
                       a.actClearFileList,
                       nullptr,
                       a.actCheckAll,
                       a.actUncheckAll,
                       a.actInvertSelection,
                       a.actCheckSelected,
                       a.actUncheckSelected,
                       nullptr,
                       a.actLoadFileList,
                       a.actSaveFileList,
                       nullptr,
                       a.actShowHideFileInfo,
                       a.actPreview,
                       nullptr,
                       a.actExploreDirectory,
                       nullptr});
    popLv->addMenu(columnsMenu(popLv, "popColumnsSubmenu"));
    popColumns = columnsMenu(this, "popColumns");
}

void TFormMain::CreateToolbar() {
    QToolBar* bar = tbMain = addToolBar(QString());
    bar->setObjectName(u"tbMain"_s);
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    const auto icon = [this](const char* theme, QStyle::StandardPixmap fallback) {
        return QIcon::fromTheme(QLatin1StringView(theme), style()->standardIcon(fallback));
    };
    const struct {
        const char* Button;
        QAction* Action;
        const char* Theme;
        QStyle::StandardPixmap Fallback;
        bool Separator;
    } buttons[] = {
        {"btnAdd", Act.actAddFiles, "list-add", QStyle::SP_FileIcon, false},
        {"btnAddFolder", Act.actAddFolder, "folder-new", QStyle::SP_DirIcon, false},
        {"btnRemove", Act.actRemoveChecked, "list-remove", QStyle::SP_TrashIcon, true},
        {"btnConvert", Act.actConvert, "media-playback-start", QStyle::SP_MediaPlay, true},
        {"btnFileInfo", Act.actShowHideFileInfo, "dialog-information",
         QStyle::SP_FileDialogInfoView, false},
        {"btnPreview", Act.actPreview, "video-display", QStyle::SP_FileDialogContentsView, false},
        {"btnOptions", Act.actShowOptions, "preferences-system", QStyle::SP_FileDialogDetailedView,
         true},
        {"btnHomePage", Act.actGoToHomePage, "go-home", QStyle::SP_DirHomeIcon, true},
        {"btnStayOnTop", Act.actStayOnTop, "go-top", QStyle::SP_TitleBarShadeButton, false},
    };
    for (const auto& b : buttons) {
        b.Action->setIcon(icon(b.Theme, b.Fallback));
        bar->addAction(b.Action);
        auto* button = static_cast<QToolButton*>(bar->widgetForAction(b.Action));
        button->setObjectName(QLatin1StringView(b.Button));
        // The last two show their image only.
        if (b.Action == Act.actGoToHomePage || b.Action == Act.actStayOnTop ||
            b.Action == Act.actPreview)
            button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        if (b.Separator)
            bar->addSeparator();
    }
}

void TFormMain::CreateTray() {
    ti = new QSystemTrayIcon(windowIcon(), this);
    ti->setObjectName(QStringLiteral("ti"));
    ti->setToolTip(QString::fromUtf16(ProductName));
    popTi = Named(new QMenu(this), "popTi");
    AddActions(popTi, {Act.actShowHideMainWindow, nullptr, Act.actExit});
    connect(popTi, &QMenu::aboutToShow, this, [this] { InitControls(); });
    ti->setContextMenu(popTi);
    connect(ti, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why == QSystemTrayIcon::Trigger && !isVisible())
            Act.actShowHideMainWindow->trigger();
    });
}

void TFormMain::actStayOnTopExecute() {
    StayOnTopEnabled = !StayOnTopEnabled;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, StayOnTopEnabled);
    if (wasVisible)
        show();
    Secondaries->RenewStayOnTop(); // they stay above this window
    Act.actStayOnTop->setChecked(StayOnTopEnabled);
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
        Secondaries->HideWithMain();
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
        FormAbout =
            Secondaries->Add(new TFormAbout(*AppStrings, Act.actAbout->shortcut(), this), true);
    FormAbout->show();
    FormAbout->raise();
}

void TFormMain::actEscExecute() {
    if (EscClosesWindow(Program().EscExit, ConversionRunning))
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
        FormEncoderHelp = Secondaries->Add(
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
