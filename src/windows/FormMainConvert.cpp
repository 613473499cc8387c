// Converting from the main window: the batch driver with this window, its progress window and
// its error log as the batch's view; scripts; what follows a batch.

#include "app/DesktopEntry.h"
#include "app/ToolsInfo.h"
#include "core/AppParams.h"
#include "core/CallRelay.h"
#include "core/DisplayFormats.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/BatchDriver.h"
#include "encoding/SizeEstimate.h"
#include "filelist/AnalysisCache.h"
#include "platform/Platform.h"
#include "windows/BatchController.h"
#include "windows/DesktopShell.h"
#include "windows/FormMain.h"
#include "windows/ListActions.h"
#include "windows/SettingsFileController.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormCheckUpdate.h"
#include "windows/dialogs/FormErrors.h"
#include "windows/dialogs/FormOptions.h"
#include "windows/dialogs/FormProgress.h"
#include "windows/dialogs/FormToolsInfo.h"
#include "windows/panels/AdvancedPanel.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"
#include "windows/panels/OutputPanel.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QThreadPool>
#include <QTimer>

using namespace Qt::StringLiterals;

void TFormMain::CreateBatchWindows() {
    FormProgress =
        Secondaries->Add(new TFormProgress(*AppStrings, AppParams.MonospaceFont, this), true);
    FormErrors = Secondaries->Add(
        new TFormErrors(*AppStrings, ErrorLog, AppParams.MonospaceFont, this), false);
    Batch = new TBatchController(*AppStrings, *FormProgress, *FormErrors, this);
    Batch->SetLocked = [this](bool locked) {
        ConversionRunning = locked;
        if (locked)
            DisableAll();
        else
            EnableAll();
    };
    Batch->SetAppTitle = [this](const QString& title) { setWindowTitle(title); };
    Batch->ShowWarning = [this](const QString& text) { ::ShowWarning(this, text); };
    connect(Batch, &TBatchController::Finished, this, &TFormMain::BatchEnded);
    OnAction(Act.actConvert, [this] { StartBatch(QString()); });
    OnAction(Act.actSaveBat, [this] { actSaveBATExecute(); });
    OnAction(Act.actShowProgressWindow, [this] {
        FormProgress->show();
        FormProgress->raise();
    });
    OnAction(Act.actShowOptions, [this] { actShowOptionsExecute(); });
    OnAction(Act.actToolsInfo, [this] { actToolsInfoExecute(); });
    OnAction(Act.actCheckUpdate, [this] { actCheckUpdateExecute(); });
    OnAction(Act.actPreview, [this] { actPreviewExecute(); });
    OnAction(Act.actShowHideFormErrors,
             [this] { FormErrors->setVisible(!FormErrors->isVisible()); });
}

void TFormMain::actToolsInfoExecute() {
    if (!FormToolsInfo)
        FormToolsInfo =
            Secondaries->Add(new TFormToolsInfo(*AppStrings, AppParams.MonospaceFont, this), true);
    FormToolsInfo->SetText(ToolsReport(AppParams, 18));
    FormToolsInfo->show();
    FormToolsInfo->raise();
}

void TFormMain::actCheckUpdateExecute() {
    if (!FormCheckUpdate)
        FormCheckUpdate = Secondaries->Add(
            new TFormCheckUpdate(*AppStrings, AppParams.MonospaceFont, this), false);
    FormCheckUpdate->Open();
}

void TFormMain::actSaveBATExecute() {
    QString selected;
    const QString shell = DialogFilter(AppStrings->Main.dlgSaveSH_Filter, u"*.sh *.SH"_s);
    const QString batch = DialogFilter(AppStrings->Main.dlgSaveBAT_Filter, u"*.bat *.BAT"_s);
    QString file = QFileDialog::getSaveFileName(this, QString(), ListActions->InitialDir(),
                                                shell + u";;"_s + batch, &selected);
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += selected == batch ? u".bat"_s : u".sh"_s;
    StartBatch(file);
}

bool TFormMain::StartBatch(const QString& scriptFileName) {
    if (Batch->Running())
        return false;
    ReadControls();
    const TProgramSettings program = SettingsFile->Current();
    TBatchOptions options;
    options.OutDirIsInDir = program.OutIn;
    options.OutDir = program.OutDir;
    options.OutputExists = program.OutputExists;
    options.AfterConversion = program.AfterConversion;
    options.KeepFileDates = program.KeepFileDates;
    options.ScriptFileName = scriptFileName;

    // The rows in the order the list shows them; the batch takes the checked ones.
    QList<TBatchRow> rows;
    QList<int> modelRows;
    for (const int r : List->DisplayOrder()) {
        const TFileListRow& row = List->Model()->Rows()[size_t(r)];
        rows.append({row.Path, row.Checked});
        modelRows.append(r);
    }
    Batch->SetRowStatus = [this, modelRows](int row, const QString& status) {
        List->Model()->SetStatus(modelRows.value(row, -1), status);
    };
    if (!SpaceAllows(rows, options))
        return false;
    auto engine =
        std::make_unique<TBatchEngine>(Settings, rows, options, AppParams, *AppStrings, ErrorLog);
    engine->ResolutionEntries = Advanced->ResolutionEntries();
    engine->ProcessorCount = GetProcessorCount();
    engine->SimultaneousConversions =
        SimultaneousConversionsFor(program.SimultaneousConversions, GetProcessorCount());
    engine->Cache = Cache.get();
    CloseWhenBatchEnds = false;
    BatchFolder.clear();
    if (scriptFileName.isEmpty()) {
        for (const TBatchRow& row : rows)
            if (row.Checked && BatchFolder.isEmpty())
                BatchFolder =
                    options.OutDirIsInDir ? QFileInfo(row.Path).absolutePath() : options.OutDir;
        Awake->Inhibit(AppStrings->Main.Converting);
    }
    return Batch->Start(std::move(engine));
}

TBuilderEnvironment TFormMain::BuilderEnvironment() const {
    TBuilderEnvironment environment;
    environment.ResolutionEntries = Advanced->ResolutionEntries();
    environment.ProcessorCount = GetProcessorCount();
    return environment;
}

// The batch's estimated size goes to the progress window; outputs that will not fit where they
// go are asked about before anything starts (a script writes no outputs).
bool TFormMain::SpaceAllows(const QList<TBatchRow>& rows, const TBatchOptions& options) {
    const QList<TPlannedOutput> planned =
        PlanOutputSizes(rows, options, Settings, BuilderEnvironment(), *AppStrings,
                        [this](const QString& path) { return Cache->Find(path); });
    const qint64 total = TotalBytes(planned);
    FormProgress->SetEstimate(
        total > 0 ? FormatCatalogText(AppStrings->Main.BatchEstimate, GetFileSizeString(total))
                  : QString());
    if (!options.ScriptFileName.isEmpty())
        return true;
    const QList<TSpaceShortage> shortages = SpaceShortages(planned);
    if (shortages.isEmpty())
        return true;
    QStringList texts;
    for (const TSpaceShortage& shortage : shortages)
        texts.append(SpaceShortageText(shortage, *AppStrings));
    const QString text =
        texts.join(u"\r\n\r\n"_s) + u"\r\n\r\n"_s + AppStrings->Main.SpaceConvertAnyway;
    if (ConfirmSpace)
        return ConfirmSpace(text);
    QMessageBox question(QMessageBox::Warning, QString::fromUtf16(ProductName), text,
                         QMessageBox::Cancel, this);
    QPushButton* convert = question.addButton(AppStrings->Main.btnConvert, QMessageBox::AcceptRole);
    question.setDefaultButton(QMessageBox::Cancel);
    question.exec();
    return question.clickedButton() == convert;
}

// The checked files' estimated output size in the list's footer, made off the window's thread
// from the analyses the list keeps; an older round's answer is dropped.
void TFormMain::EstimateChecked() {
    QList<TBatchRow> rows;
    for (const TFileListRow& row : List->Model()->Rows())
        if (row.Checked)
            rows.append({row.Path, true});
    const quint64 round = ++EstimateRound;
    TAnalysisCache* cache = Cache.get();
    // The list waits for its pool before it goes, and it goes before this window's relay.
    List->Pool()->start([this, calls = Calls, cache, round, rows, settings = Settings,
                         environment = BuilderEnvironment(), strings = *AppStrings] {
        // The same plan as a batch's; where the outputs go does not change their size.
        const qint64 total =
            TotalBytes(PlanOutputSizes(rows, TBatchOptions{}, settings, environment, strings,
                                       [cache](const QString& path) { return cache->Find(path); }));
        const QString text =
            total > 0 ? FormatCatalogText(strings.Main.EstimatedSizeShort, GetFileSizeString(total))
                      : QString();
        calls->Post([this, round, text] {
            if (List && round == EstimateRound)
                List->SetEstimateText(text);
        });
    });
}

// The machine stays awake while files convert; the taskbar entry shows the batch's progress, and
// a batch that ends while the user works elsewhere says so.
void TFormMain::CreateDesktopSession(const TBusAddresses& buses) {
    Awake = new TSleepInhibitor(buses, this);
    Notifier = new TDesktopNotifier(buses, this);
    Notifier->Fallback = [this](const QString& summary, const QString& body) {
        if (ti && QSystemTrayIcon::isSystemTrayAvailable()) {
            ti->show();
            ti->showMessage(summary, body);
        }
    };
    Notifier->OpenFolder = [](const QString& folder) { OpenPath(folder); };
    Launcher = std::make_unique<TLauncherEntry>(buses);
    Batch->ShowBatchProgress = [this](int percent, int left) { Launcher->Show(percent, left); };
}

void TFormMain::TellBatchEnded(const TBatchResult& result) {
    Awake->Release();
    if (BatchFolder.isEmpty())
        return; // a script
    Launcher->Clear();
    if (isActiveWindow() || !result.Started)
        return;
    const QString body =
        result.Failed > 0
            ? FormatCatalogText(AppStrings->Main.NotifyConvertedFailed,
                                QString::number(result.Converted), QString::number(result.Failed))
            : FormatCatalogText(AppStrings->Main.NotifyConverted,
                                QString::number(result.Converted));
    Notifier->Notify(QString::fromUtf16(ProductName), body, AppStrings->Main.NotifyOpenFolder,
                     BatchFolder);
}

void TFormMain::BatchEnded(const TBatchResult& result) {
    ConversionRunning = false;
    TellBatchEnded(result);
    if (result.AfterConversion == acCloseWindows)
        ConfirmPowerOff();
    if (result.AfterConversion != acDoNothing || CloseWhenBatchEnds)
        QTimer::singleShot(0, this, &QWidget::close);
    Q_EMIT BatchFinished(result);
}

bool TFormMain::BatchRunning() const {
    return Batch->Running();
}

void TFormMain::ConfirmPowerOff() {
    // An ordinary power-off, after a minute in which the user can still say no.
    QMessageBox notice(QMessageBox::Warning, QString::fromUtf16(ProductName), QString(),
                       QMessageBox::Cancel, this);
    notice.setWindowFlag(Qt::WindowStaysOnTopHint);
    int left = PowerOffDelaySeconds;
    const auto update = [&] {
        notice.setText(FormatCatalogText(AppStrings->Main.PowerOffNotice, QString::number(left)));
    };
    update();
    QTimer tick;
    connect(&tick, &QTimer::timeout, &notice, [&] {
        if (--left <= 0)
            notice.done(QMessageBox::Ok);
        else
            update();
    });
    tick.start(1000);
    if (notice.exec() == QMessageBox::Ok)
        PowerOff();
}

void TFormMain::actShowOptionsExecute() {
    if (!FormOptions) {
        TOptionsHost host;
        host.Settings = [this] { return SettingsFile->Current(); };
        host.Apply = [this](const TProgramSettings& s) {
            Program() = s;
            List->ApplySettings(s);
            AppParams.OpenFileAfterIconClick = s.OpenFileAfterIconClick;
            AppParams.FileAnalysis = s.FileAnalysis;
        };
        host.Languages = [this]() -> const TLangIniList& { return LanguageList; };
        host.LanguageIni = [] { return AppParams.LanguageIni; };
        host.SwitchLanguage = [this](const QString& name) { SwitchLanguage(name); };
        host.CreateShortcut = [this] {
            const QString desktop =
                QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
            // A portable copy's own picture, else the icon an installed program put in the
            // icon theme.
            QString icon = AppDir + u"/zorvane.png"_s;
            if (!QFileInfo(icon).isFile())
                icon = AppParams.Installed ? u"net.zorvane.zorvane"_s : QString();
            if (CreateDesktopShortcut(desktop, QCoreApplication::applicationFilePath(),
                                      ProductTitle(), icon) == TShortcutResult::NoDesktopFolder)
                ::ShowWarning(this, AppStrings->Main.NoDesktopFolder);
        };
        FormOptions = Secondaries->Add(
            new TFormOptions(*AppStrings, std::move(host), Act.actShowOptions->shortcut(), this),
            true);
    }
    if (FormOptions->isVisible()) {
        FormOptions->hide();
        return;
    }
    FormOptions->show();
    FormOptions->raise();
}
