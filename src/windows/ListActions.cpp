#include "windows/ListActions.h"

#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/EncoderCaps.h"
#include "filelist/AnalysisCache.h"
#include "localisation/AppStrings.h"
#include "windows/DesktopShell.h"
#include "windows/MainActions.h"
#include "windows/SecondaryWindows.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormCmdLine.h"
#include "windows/dialogs/FormFileInfo.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QTableView>
#include <algorithm>
#include <stdexcept>

using namespace Qt::StringLiterals;

TListActions::TListActions(const TAppStrings& strings, TFileListPanel& list, TAnalysisCache& cache,
                           const TMainActions& actions, TSecondaryWindows& secondaries, THost host,
                           QWidget* window)
    : QObject(window), Strings(strings), List(list), Cache(cache), Secondaries(secondaries),
      Host(std::move(host)), Window(window) {
    const auto on = [this](QAction* action, std::function<void()> handler) {
        connect(action, &QAction::triggered, this,
                [this, handler = std::move(handler)] { Guarded(Window, handler); });
    };
    on(actions.actAddFiles, [this] { AddFiles(); });
    on(actions.actAddFolder, [this] { AddFolder(); });
    on(actions.actRemoveChecked, [this] { List.RemoveChecked(); });
    on(actions.actClearFileList, [this] { List.Clear(); });
    on(actions.actCheckAll, [this] { List.CheckAll(true); });
    on(actions.actUncheckAll, [this] { List.CheckAll(false); });
    on(actions.actInvertSelection, [this] { List.InvertChecks(); });
    on(actions.actCheckSelected, [this] { List.CheckSelected(true); });
    on(actions.actUncheckSelected, [this] { List.CheckSelected(false); });
    on(actions.actLoadFileList, [this] { LoadFileList(); });
    on(actions.actSaveFileList, [this] { SaveFileList(); });
    on(actions.actExploreDirectory, [this] { ExploreDirectory(); });
    on(actions.actExploreOutDir, [this] { ExploreOutDir(); });
    on(actions.actShowHideFileInfo, [this] { ShowHideFileInfo(); });
    on(actions.actShowCmdLine, [this] { ShowCmdLine(false); });
    connect(&list, &TFileListPanel::CurrentRowChanged, this,
            [this] { Guarded(Window, [this] { CurrentRowChanged(); }); });
    connect(&list, &TFileListPanel::IconClicked, this, [this](int row) {
        const TFileListRow& r = List.Model()->Rows()[size_t(row)];
        if (AppParams.OpenFileAfterIconClick && QFileInfo(r.Path).isFile())
            OpenPath(r.Path);
    });
}

void TListActions::SetInitialDir(const QString& folder) {
    if (!folder.isEmpty())
        InitialDir_ = folder;
}

void TListActions::AddFiles() {
    const QString filter =
        Strings.Main.dlgOpen_Filter1 +
        u" (*.flv *.swf *.f4v *.f4p *.f4a *.f4b *.FLV *.SWF *.F4V *.F4P *.F4A *.F4B);;"_s +
        Strings.Main.dlgOpen_Filter2 + u" ("_s + SupportedFilesPattern().replace(u';', u' ') +
        u' ' + SupportedFilesPattern().toUpper().replace(u';', u' ') + u')';
    const QStringList files = QFileDialog::getOpenFileNames(Window, QString(), InitialDir_, filter);
    if (files.isEmpty())
        return;
    SetInitialDir(QFileInfo(files.first()).absolutePath());
    List.AddFiles(files);
}

void TListActions::AddFolder() {
    const QString folder = QFileDialog::getExistingDirectory(Window, QString(), InitialDir_);
    if (folder.isEmpty())
        return;
    SetInitialDir(folder);
    List.AddFolder(folder);
}

void TListActions::AddDropped(const QStringList& dropped) {
    QStringList names = dropped;
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    QStringList files;
    for (const QString& name : names) {
        const QFileInfo info(name);
        if (info.suffix().compare(u"lst"_s, Qt::CaseInsensitive) == 0 && info.isFile()) {
            List.AddFiles(files); // what came before keeps its place
            files.clear();
            QString error;
            if (!List.LoadListFile(name, &error))
                ShowWarning(Window, error);
        } else if (info.isDir()) {
            if (!AppParams.DragAcceptDirectories)
                continue;
            SetInitialDir(info.absoluteFilePath());
            List.AddFiles(files);
            files.clear();
            List.AddFolder(info.absoluteFilePath());
        } else {
            files.append(name);
            SetInitialDir(info.absolutePath());
        }
    }
    List.AddFiles(files);
    List.Model()->Renumber();
}

void TListActions::LoadFileList() {
    const QString file = QFileDialog::getOpenFileName(
        Window, QString(), InitialDir_,
        DialogFilter(Strings.Main.dlgOpenFileList_Filter, u"*.lst *.LST"_s));
    if (file.isEmpty())
        return;
    SetInitialDir(QFileInfo(file).absolutePath());
    QString error;
    if (!List.LoadListFile(file, &error))
        ShowWarning(Window, error);
}

void TListActions::SaveFileList() {
    QString file = QFileDialog::getSaveFileName(
        Window, QString(), InitialDir_,
        DialogFilter(Strings.Main.dlgSaveFileList_Filter, u"*.lst *.LST"_s));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += u".lst"_s;
    int leftOut = 0;
    QString error;
    if (!List.SaveListFile(file, &leftOut, &error))
        throw std::runtime_error(error.toStdString());
    if (leftOut > 0)
        ShowWarning(Window, FormatCatalogText(Strings.Main.LineBreakNamesLeftOut,
                                              QString::number(leftOut)));
}

void TListActions::ExploreDirectory() {
    const QString path = List.CurrentPath();
    const QString directory = QFileInfo(path).absolutePath();
    if (path.isEmpty())
        return;
    if (!QFileInfo(directory).isDir()) {
        ShowWarning(Window, FormatCatalogText(Strings.Main.DirectoryDoesNotExist, directory),
                    Strings.Main.Warning);
        return;
    }
    if (QFileInfo(path).isFile())
        ShowInFileManager(path);
    else
        OpenPath(directory);
}

void TListActions::ExploreOutDir() {
    const QString dir = Host.OutDir();
    OpenPath(QFileInfo(dir).isDir() ? dir : AppDir);
}

void TListActions::CurrentRowChanged() {
    if (FormCmdLine && FormCmdLine->isVisible())
        ShowCmdLine(true);
    if (FormFileInfo && FormFileInfo->isVisible())
        RefreshFileInfo();
}

void TListActions::ShowHideFileInfo() {
    if (!FormFileInfo) {
        FormFileInfo = Secondaries.Add(new TFormFileInfo(Strings, Cache, Window), false);
        FormFileInfo->adjustSize();
    }
    if (FormFileInfo->isVisible()) {
        FormFileInfo->hide();
        return;
    }
    if (List.CurrentRow() < 0 && List.Model()->rowCount() > 0)
        List.View()->selectRow(0);
    FormFileInfo->show();
    RefreshFileInfo();
}

void TListActions::RefreshFileInfo() {
    const QString path = List.CurrentPath();
    if (path.isEmpty() || !FormFileInfo)
        return;
    if (GetFFmpegExe(AppParams).isEmpty()) {
        ShowWarning(Window, FFmpegNotFoundText(Strings));
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

void TListActions::ShowCmdLine(bool fromList) {
    if (!FormCmdLine)
        FormCmdLine =
            Secondaries.Add(new TFormCmdLine(Strings, AppParams.MonospaceFont, Window), false);
    if (!fromList && FormCmdLine->isVisible()) {
        FormCmdLine->hide();
        return;
    }
    const TEncoderSettings& settings = Host.ReadSettings();
    const QString path = List.CurrentPath();
    const QString ffmpeg = GetFFmpegExe(AppParams);
    TVideoFileInfo info;
    if (!path.isEmpty())
        GetVideoFileInfoCached(Cache, path, ffmpeg, AppParams.MediaInfoDll, info);
    TWindowWarnings warnings(Window);
    TBuilderEnvironment environment;
    environment.ResolutionEntries = Host.ResolutionEntries();
    environment.ProcessorCount = GetProcessorCount();
    if (settings.Audio.AudioCodec == acAac)
        environment.AacEncoder = AacEncoderFor(ffmpeg);
    environment.Warnings = &warnings;
    TArgumentPieces pieces = TArgumentBuilder(settings, info, Strings, environment).Pieces();
    // A rejected value has been told; the preview goes on without its piece.
    for (QString* piece : {&pieces.VParams, &pieces.AParams, &pieces.AdvParams})
        if (*piece == QStringView(ErrorPiece))
            piece->clear();
    FormCmdLine->SetText(CommandPreviewText(settings, pieces, path));
    FormCmdLine->show();
}
