#include "windows/dialogs/FormFileInfo.h"

#include "core/AppParams.h"
#include "filelist/AnalysisCache.h"
#include "filelist/FileInfoReport.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

// Description label name, catalogue field; the value label drops "Desc".
const std::pair<const char*, const char*> GeneralRows[] = {
    {"lblFileSize", "lblFileSize"},
    {"lblDuration", "lblDuration"},
    {"lblOverallBitrate", "lblOverallBitrate"},
    {"lblFormat", "lblFormat"},
    {"lblEncodedApplication", "lblEncodedApplication"},
    {"lblNumberOfDataStreams", "lblNumberOfDataStreams"},
    {"lblNumberOfVideoStreams", "lblNumberOfVideoStreams"},
    {"lblNumberOfAudioStreams", "lblNumberOfAudioStreams"}};
const char* const VideoRows[] = {
    "lblVideoCodec",         "lblVideoProfile", "lblVideoBitrate",    "lblResolution",
    "lblDisplayAspectRatio", "lblFPS",          "lblScanType",        "lblPixelFormat",
    "lblBitsPerPixel",       "lblVideoFrames",  "lblVideoStreamSize", "lblVideoEncodedLibrary",
    "lblVideoStreamIndex"};
const char* const AudioRows[] = {
    "lblAudioCodec",    "lblAudioProfile",    "lblAudioBitrate",        "lblChannels",
    "lblSamplingRate",  "lblBitsPerSample",   "lblAudioFrames",         "lblVideoDelay",
    "lblAudioLanguage", "lblAudioStreamSize", "lblAudioEncodedLibrary", "lblAudioStreamIndex"};

// A link whose text is shown as it is, whatever characters the name holds.
QString LinkHtml(const QString& path, const QString& text) {
    return u"<a href=\"%1\">%2</a>"_s.arg(
        QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toHtmlEscaped(),
        text.toHtmlEscaped());
}

} // namespace

TFormFileInfo::TFormFileInfo(const TAppStrings& strings, TAnalysisCache& cache, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      Strings(&strings), Cache(cache) {
    setObjectName(u"FormFileInfo"_s);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    const auto pair = [this](QGridLayout* grid, int row, const char* name) {
        auto* desc = NewLabel(this, (QByteArray(name) + "Desc").constData());
        auto* value = NewLabel(this, name);
        value->setTextFormat(Qt::PlainText);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(desc, row, 0);
        grid->addWidget(value, row, 1);
        Values.insert(QLatin1StringView(name), value);
        Descriptions.insert(QLatin1StringView(name), desc);
    };

    auto* top = new QGridLayout;
    lblFileName = NewLabel(this, "lblFileName");
    lblDirectory = NewLabel(this, "lblDirectory");
    for (QLabel* link : {lblFileName, lblDirectory}) {
        link->setTextFormat(Qt::RichText);
        link->setOpenExternalLinks(true);
        link->setTextInteractionFlags(Qt::TextBrowserInteraction);
    }
    lblFileNameDesc = NewLabel(this, "lblFileNameDesc");
    lblDirectoryDesc = NewLabel(this, "lblDirectoryDesc");
    top->addWidget(lblFileNameDesc, 0, 0);
    top->addWidget(lblFileName, 0, 1);
    top->addWidget(lblDirectoryDesc, 1, 0);
    top->addWidget(lblDirectory, 1, 1);
    top->setColumnStretch(1, 1);
    layout->addLayout(top);

    auto* general = pnGeneralInfo = Named(new QGroupBox(this), "pnGeneralInfo");
    auto* generalGrid = new QGridLayout(general);
    generalGrid->setContentsMargins(8, 4, 8, 4);
    generalGrid->setVerticalSpacing(0);
    int row = 0;
    for (const auto& [name, field] : GeneralRows)
        pair(generalGrid, row++, name);
    generalGrid->setColumnStretch(1, 1);
    layout->addWidget(general);

    auto* streams = new QHBoxLayout;
    const auto streamBox = [&](const char* name, QGroupBox*& box, QComboBox*& chooser,
                               const auto& rows) {
        box = Named(new QGroupBox(this), name);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(8, 4, 8, 4);
        grid->setVerticalSpacing(0);
        chooser = NewCombo(box, name == QByteArray("pnVideoStream") ? "cbVideoStreamNo"
                                                                    : "cbAudioStreamNo");
        grid->addWidget(chooser, 0, 1);
        int r = 1;
        for (const char* n : rows)
            pair(grid, r++, n);
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(r, 1);
        streams->addWidget(box);
        connect(chooser, &QComboBox::currentIndexChanged, this, [this] { StreamChosen(); });
    };
    streamBox("pnVideoStream", pnVideoStream, cbVideoStreamNo, VideoRows);
    streamBox("pnAudioStream", pnAudioStream, cbAudioStreamNo, AudioRows);
    layout->addLayout(streams);

    lblDataStreams = NewLabel(this, "lblDataStreams");
    layout->addWidget(lblDataStreams);
    ng = Named(new QTableWidget(0, 2, this), "ng");
    ng->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ng->setSelectionBehavior(QAbstractItemView::SelectRows);
    ng->verticalHeader()->hide();
    ng->verticalHeader()->setDefaultSectionSize(18);
    ng->setColumnWidth(0, 110);
    ng->horizontalHeader()->setStretchLastSection(true);
    ng->setMinimumHeight(70);
    layout->addWidget(ng, 1);

    auto* buttons = new QHBoxLayout;
    btnCopy = Named(new QPushButton(this), "btnCopy");
    btnSave = Named(new QPushButton(this), "btnSave");
    btnClose = Named(new QPushButton(this), "btnClose");
    buttons->addWidget(btnCopy);
    buttons->addWidget(btnSave);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnCopy, &QPushButton::clicked, this, [this] {
        Guarded(this, [this] { QGuiApplication::clipboard()->setText(ReportText()); });
    });
    connect(btnSave, &QPushButton::clicked, this, [this] { Guarded(this, [this] { Save(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);

    resize(693, 612);
    setMinimumSize(693, 612);
    setMaximumWidth(693 + 300);
    SetLang(strings);
    ClearAll();
}

QLabel* TFormFileInfo::Value(const char* name) const {
    return Values.value(QLatin1StringView(name));
}

void TFormFileInfo::ClearAll() {
    for (QLabel* label : std::as_const(Values))
        label->clear();
    lblFileName->clear();
    lblDirectory->clear();
    ng->setRowCount(0);
}

void TFormFileInfo::ShowFile(const QString& path, int audioNo, int videoNo) {
    TVideoFileInfo info;
    GetVideoFileInfoCached(Cache, path, GetFFmpegExe(AppParams), AppParams.MediaInfoDll, info);
    Path = path;
    UpdateList(info, audioNo, videoNo);
}

void TFormFileInfo::UpdateList(const TVideoFileInfo& info, int audioNo, int videoNo) {
    ClearAll();
    Shown = info;
    Path = info.FileName;
    audioNo = std::max(1, audioNo);
    videoNo = std::max(1, videoNo);
    Updating = true;
    const auto fill = [](QComboBox* chooser, int count, int chosen) {
        chooser->clear();
        for (int i = 1; i <= count; ++i)
            chooser->addItem(QString::number(i));
        chooser->setCurrentIndex(chosen - 1 < count ? chosen - 1 : -1);
        chooser->setEnabled(count > 1);
    };
    fill(cbAudioStreamNo, DescribedAudioStreams(info), audioNo);
    fill(cbVideoStreamNo, DescribedVideoStreams(info), videoNo);
    Updating = false;

    const TFileInfoGeneralView g = FileInfoGeneral(info);
    lblFileName->setText(LinkHtml(info.FileName, g.FileName));
    lblDirectory->setText(LinkHtml(QFileInfo(info.FileName).path(), g.Directory));
    Value("lblFileSize")->setText(g.FileSize);
    Value("lblDuration")->setText(g.Duration);
    Value("lblOverallBitrate")->setText(g.OverallBitrate);
    Value("lblFormat")->setText(g.Format);
    Value("lblEncodedApplication")->setText(g.EncodedApplication);
    Value("lblNumberOfDataStreams")->setText(g.NumberOfDataStreams);
    Value("lblNumberOfVideoStreams")->setText(g.NumberOfVideoStreams);
    Value("lblNumberOfAudioStreams")->setText(g.NumberOfAudioStreams);

    if (videoNo <= DescribedVideoStreams(info)) {
        const TFileInfoVideoView v =
            FileInfoVideo(info.VideoStreams[size_t(videoNo - 1)], *Strings);
        const QString texts[] = {v.Codec,         v.Profile, v.Bitrate,    v.Resolution,
                                 v.DisplayAspect, v.FPS,     v.ScanType,   v.PixelFormat,
                                 v.BitsPerPixel,  v.Frames,  v.StreamSize, v.EncodedLibrary,
                                 v.StreamIndex};
        for (size_t i = 0; i < std::size(VideoRows); ++i)
            Value(VideoRows[i])->setText(texts[i]);
    }
    if (audioNo <= DescribedAudioStreams(info)) {
        const TFileInfoAudioView a = FileInfoAudio(info.AudioStreams[size_t(audioNo - 1)]);
        const QString texts[] = {a.Codec,        a.Profile,       a.Bitrate,        a.Channels,
                                 a.SamplingRate, a.BitsPerSample, a.Samples,        a.VideoDelay,
                                 a.Language,     a.StreamSize,    a.EncodedLibrary, a.StreamIndex};
        for (size_t i = 0; i < std::size(AudioRows); ++i)
            Value(AudioRows[i])->setText(texts[i]);
    }
    const QList<TDataStreamRow> rows = DataStreamRows(info);
    ng->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        auto* stream = new QTableWidgetItem(rows.at(r).Stream);
        stream->setTextAlignment(Qt::AlignCenter);
        ng->setItem(r, 0, stream);
        ng->setItem(r, 1, new QTableWidgetItem(rows.at(r).Details));
    }
}

void TFormFileInfo::StreamChosen() {
    if (Updating || Path.isEmpty())
        return;
    ShowFile(Path, cbAudioStreamNo->currentIndex() + 1, cbVideoStreamNo->currentIndex() + 1);
}

QString TFormFileInfo::ReportText() const {
    if (Path.isEmpty())
        return {};
    TVideoFileInfo info;
    GetVideoFileInfoCached(Cache, Path, GetFFmpegExe(AppParams), AppParams.MediaInfoDll, info);
    return GetInfoAsText(info, *Strings);
}

void TFormFileInfo::Save() {
    if (Path.isEmpty())
        return;
    QString file = QFileDialog::getSaveFileName(
        this, QString(), Path + u"_info.txt"_s,
        DialogFilter(Strings->FileInfo.dlgSaveFilter, u"*.txt *.TXT"_s));
    if (file.isEmpty())
        return;
    QSaveFile out(file);
    const QByteArray bytes = ReportText().toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        throw std::runtime_error(out.errorString().toStdString());
}

void TFormFileInfo::SetLang(const TAppStrings& strings) {
    Strings = &strings;
    const TFileInfoModuleStrings& f = strings.FileInfo;
    setWindowTitle(f.Caption);
    for (const TCatalogEntry& entry : CatalogEntries()) {
        if (QStringView(entry.Section) != u"FileInfo")
            continue;
        if (QLabel* desc = Descriptions.value(QString::fromUtf16(entry.Field)))
            desc->setText(CatalogValue(strings, entry));
    }
    lblFileNameDesc->setText(f.lblFileName);
    lblDirectoryDesc->setText(f.lblDirectory);
    pnGeneralInfo->setTitle(f.gbGeneralInfo);
    pnVideoStream->setTitle(f.gbVideoStream);
    pnAudioStream->setTitle(f.gbAudioStream);
    QString streams = f.lblDataStreams;
    if (streams.endsWith(u':'))
        streams.chop(1);
    lblDataStreams->setText(u"  "_s + streams + u"   (FFmpeg)"_s);
    ng->setHorizontalHeaderLabels({f.ColumnTitle_Stream, f.ColumnTitle_Details});
    btnCopy->setText(f.btnCopy);
    btnCopy->setToolTip(f.actCopy);
    btnSave->setText(f.actSave);
    btnClose->setText(f.actClose);
}
