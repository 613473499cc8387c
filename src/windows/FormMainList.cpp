// The main window's file list: adding, removing and checking rows, the selected row's audio
// tracks and properties, dropping, list files, and opening files and folders.

#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/EncoderCaps.h"
#include "filelist/AnalysisCache.h"
#include "windows/DesktopShell.h"
#include "windows/FormMain.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormCmdLine.h"
#include "windows/dialogs/FormFileInfo.h"
#include "windows/panels/AdvancedPanel.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"
#include "windows/panels/OutputPanel.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTableView>
#include <QThreadPool>
#include <QUrl>
#include <algorithm>

using namespace Qt::StringLiterals;

void TFormMain::ConnectList() {
    OnAction("actAddFiles", [this] { actAddFilesExecute(); });
    OnAction("actAddFolder", [this] { actAddFolderExecute(); });
    OnAction("actRemoveChecked", [this] { List->RemoveChecked(); });
    OnAction("actClearFileList", [this] { List->Clear(); });
    OnAction("actCheckAll", [this] { List->CheckAll(true); });
    OnAction("actUncheckAll", [this] { List->CheckAll(false); });
    OnAction("actInvertSelection", [this] { List->InvertChecks(); });
    OnAction("actCheckSelected", [this] { List->CheckSelected(true); });
    OnAction("actUncheckSelected", [this] { List->CheckSelected(false); });
    OnAction("actLoadFileList", [this] { actLoadFileListExecute(); });
    OnAction("actSaveFileList", [this] { actSaveFileListExecute(); });
    OnAction("actExploreDirectory", [this] { actExploreDirectoryExecute(); });
    OnAction("actExploreOutDir", [this] { actExploreOutDirExecute(); });
    OnAction("actShowHideFileInfo", [this] { actShowHideFileInfoExecute(); });
    OnAction("actShowCmdLine", [this] { actShowCmdLineExecute(false); });

    connect(List, &TFileListPanel::ListChanged, this, [this] {
        if (!UpdatingControls)
            InitControls();
    });
    connect(List, &TFileListPanel::CurrentRowChanged, this,
            [this] { Guarded(this, [this] { ListSelectionChanged(); }); });
    connect(List, &TFileListPanel::IconClicked, this, [this](int row) {
        const TFileListRow& r = List->Model()->Rows()[size_t(row)];
        if (AppParams.OpenFileAfterIconClick && QFileInfo(r.Path).isFile())
            OpenPath(r.Path);
    });
    connect(List, &TFileListPanel::HeaderMenuRequested, this, [this](const QPoint& at) {
        if (auto* menu = findChild<QMenu*>(u"popColumns"_s))
            menu->popup(at);
    });
}

void TFormMain::UpdateInitialFolders(const QString& folder) {
    if (!folder.isEmpty())
        InitialDir = folder;
}

void TFormMain::actAddFilesExecute() {
    const QString filter =
        AppStrings->Main.dlgOpen_Filter1 +
        u" (*.flv *.swf *.f4v *.f4p *.f4a *.f4b *.FLV *.SWF *.F4V *.F4P *.F4A *.F4B);;"_s +
        AppStrings->Main.dlgOpen_Filter2 + u" ("_s + SupportedFilesPattern().replace(u';', u' ') +
        u' ' + SupportedFilesPattern().toUpper().replace(u';', u' ') + u')';
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), InitialDir, filter);
    if (files.isEmpty())
        return;
    UpdateInitialFolders(QFileInfo(files.first()).absolutePath());
    List->AddFiles(files);
}

void TFormMain::actAddFolderExecute() {
    const QString folder = QFileDialog::getExistingDirectory(this, QString(), InitialDir);
    if (folder.isEmpty())
        return;
    UpdateInitialFolders(folder);
    List->AddFolder(folder);
}

void TFormMain::AddDropped(const QStringList& dropped) {
    QStringList names = dropped;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    QStringList files;
    for (const QString& name : names) {
        const QFileInfo info(name);
        if (info.suffix().compare(u"lst"_s, Qt::CaseInsensitive) == 0 && info.isFile()) {
            List->AddFiles(files); // what came before keeps its place
            files.clear();
            QString error;
            if (!List->LoadListFile(name, &error))
                ShowWarning(this, error);
        } else if (info.isDir()) {
            if (!AppParams.DragAcceptDirectories)
                continue;
            UpdateInitialFolders(info.absoluteFilePath());
            List->AddFiles(files);
            files.clear();
            List->AddFolder(info.absoluteFilePath());
        } else {
            files.append(name);
            UpdateInitialFolders(info.absolutePath());
        }
    }
    List->AddFiles(files);
    List->Model()->Renumber();
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

void TFormMain::actLoadFileListExecute() {
    const QString file = QFileDialog::getOpenFileName(
        this, QString(), InitialDir,
        DialogFilter(AppStrings->Main.dlgOpenFileList_Filter, u"*.lst *.LST"_s));
    if (file.isEmpty())
        return;
    UpdateInitialFolders(QFileInfo(file).absolutePath());
    QString error;
    if (!List->LoadListFile(file, &error))
        ShowWarning(this, error);
}

void TFormMain::actSaveFileListExecute() {
    QString file = QFileDialog::getSaveFileName(
        this, QString(), InitialDir,
        DialogFilter(AppStrings->Main.dlgSaveFileList_Filter, u"*.lst *.LST"_s));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += u".lst"_s;
    int leftOut = 0;
    QString error;
    if (!List->SaveListFile(file, &leftOut, &error))
        throw std::runtime_error(error.toStdString());
    if (leftOut > 0)
        ShowWarning(this, FormatCatalogText(AppStrings->Main.LineBreakNamesLeftOut,
                                            QString::number(leftOut)));
}

void TFormMain::actExploreDirectoryExecute() {
    const QString path = List->CurrentPath();
    const QString directory = QFileInfo(path).absolutePath();
    if (path.isEmpty())
        return;
    if (!QFileInfo(directory).isDir()) {
        ShowWarning(this, FormatCatalogText(AppStrings->Main.DirectoryDoesNotExist, directory),
                    AppStrings->Main.Warning);
        return;
    }
    if (QFileInfo(path).isFile())
        ShowInFileManager(path);
    else
        OpenPath(directory);
}

void TFormMain::actExploreOutDirExecute() {
    const QString dir = Output->OutDir();
    OpenPath(QFileInfo(dir).isDir() ? dir : AppDir);
}

void TFormMain::ListSelectionChanged() {
    UpdateCbAudioTrackNo();
    if (FormCmdLine && FormCmdLine->isVisible())
        actShowCmdLineExecute(true);
    if (FormFileInfo && FormFileInfo->isVisible())
        RefreshFileInfo();
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
        return;
    }
    const QString ffmpeg = GetFFmpegExe(AppParams);
    const QString mediaInfo = AppParams.MediaInfoDll;
    TAnalysisCache* cache = Cache.get();
    QPointer<TFormMain> self(this);
    List->Pool()->start([self, cache, path, ffmpeg, mediaInfo] {
        TVideoFileInfo info;
        GetVideoFileInfoCached(*cache, path, ffmpeg, mediaInfo, info);
        QMetaObject::invokeMethod(qApp, [self, path] {
            if (self && self->List && self->List->CurrentPath() == path && self->Cache->Find(path))
                self->UpdateCbAudioTrackNo();
        });
    });
}

void TFormMain::actShowHideFileInfoExecute() {
    if (!FormFileInfo) {
        FormFileInfo = AddSecondary(new TFormFileInfo(*AppStrings, *Cache, this), false);
        FormFileInfo->adjustSize();
    }
    if (FormFileInfo->isVisible()) {
        FormFileInfo->hide();
        return;
    }
    if (List->CurrentRow() < 0 && List->Model()->rowCount() > 0)
        List->View()->selectRow(0);
    FormFileInfo->show();
    RefreshFileInfo();
}

void TFormMain::RefreshFileInfo() {
    const QString path = List->CurrentPath();
    if (path.isEmpty() || !FormFileInfo)
        return;
    if (GetFFmpegExe(AppParams).isEmpty()) {
        ShowWarning(this, FFmpegNotFoundText(*AppStrings));
        return;
    }
    FormFileInfo->ShowFile(path, 1, 1);
}

namespace {
// The builder's warnings about typed values, as message boxes.
class TWindowWarnings : public IWarningSink {
public:
    explicit TWindowWarnings(QWidget* owner) : Owner(owner) {}
    void ShowWarning(const QString& text) override { ::ShowWarning(Owner, text); }

private:
    QWidget* Owner;
};
} // namespace

void TFormMain::actShowCmdLineExecute(bool fromList) {
    if (!FormCmdLine)
        FormCmdLine =
            AddSecondary(new TFormCmdLine(*AppStrings, AppParams.MonospaceFont, this), false);
    if (!fromList && FormCmdLine->isVisible()) {
        FormCmdLine->hide();
        return;
    }
    ReadControls();
    const QString path = List->CurrentPath();
    const QString ffmpeg = GetFFmpegExe(AppParams);
    TVideoFileInfo info;
    if (!path.isEmpty())
        GetVideoFileInfoCached(*Cache, path, ffmpeg, AppParams.MediaInfoDll, info);
    TWindowWarnings warnings(this);
    TBuilderEnvironment environment;
    environment.ResolutionEntries = Advanced->ResolutionEntries();
    environment.ProcessorCount = GetProcessorCount();
    if (Settings.Audio.AudioCodec == acAac)
        environment.AacEncoder = AacEncoderFor(ffmpeg);
    environment.Warnings = &warnings;
    TArgumentPieces pieces = TArgumentBuilder(Settings, info, *AppStrings, environment).Pieces();
    // A rejected value has been told; the preview goes on without its piece.
    for (QString* piece : {&pieces.VParams, &pieces.AParams, &pieces.AdvParams})
        if (*piece == QStringView(ErrorPiece))
            piece->clear();
    FormCmdLine->SetText(CommandPreviewText(Settings, pieces, path));
    FormCmdLine->show();
}
