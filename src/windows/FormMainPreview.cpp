// The preview window from the main window: the selected file, and the picture chain of the
// current settings for it; the crop edges dragged there become the crop settings.

#include "core/AppParams.h"
#include "encoding/ArgumentBuilder.h"
#include "filelist/AnalysisCache.h"
#include "windows/FormMain.h"
#include "windows/dialogs/FormPreview.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"

#include <QAction>
#include <QTableView>

void TFormMain::actPreviewExecute() {
    if (!FormPreview) {
        FormPreview = Secondaries->Add(new TFormPreview(*AppStrings, this), false);
        connect(FormPreview, &TFormPreview::CropDragged, this, [this](const TCropEdges& crop) {
            Settings.Advanced.CropTop = crop.Top;
            Settings.Advanced.CropBottom = crop.Bottom;
            Settings.Advanced.CropLeft = crop.Left;
            Settings.Advanced.CropRight = crop.Right;
            ShowSettings();
            ReadControls();
            InitControls();
        });
    }
    if (FormPreview->isVisible()) {
        FormPreview->hide();
        return;
    }
    if (List->CurrentRow() < 0 && List->Model()->rowCount() > 0)
        List->View()->selectRow(0);
    FormPreview->show();
    FormPreview->raise();
    UpdatePreview();
}

// The selected file as far as it is known: its analysis comes when it is made (the audio track
// chooser asks for it), and the preview follows then.
void TFormMain::UpdatePreview() {
    if (!FormPreview || !FormPreview->isVisible())
        return;
    const QString path = List->CurrentPath();
    const std::optional<TVideoFileInfo> info = path.isEmpty() ? std::nullopt : Cache->Find(path);
    FormPreview->FFmpeg = GetFFmpegExe(AppParams);
    if (!info) {
        FormPreview->ShowFile(QString(), 0, false);
        return;
    }
    FormPreview->ShowFile(path, info->DurationSeconds(), info->NumberOfVideoStreams > 0);
    FormPreview->SetChain(
        TArgumentBuilder(Settings, *info, *AppStrings, BuilderEnvironment()).PictureChain());
    const TAdvancedSettings& a = Settings.Advanced;
    FormPreview->SetCrop({a.CropTop, a.CropBottom, a.CropLeft, a.CropRight},
                         GeometryEnabled(Settings));
}
