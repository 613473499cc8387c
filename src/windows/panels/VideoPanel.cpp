#include "windows/panels/VideoPanel.h"

#include "encoding/SettingsControls.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

TVideoPanel::TVideoPanel(const TAppStrings& strings, QWidget* parent) : TSettingsPanel(parent) {
    setObjectName(QStringLiteral("pnVideo"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* header = NewHeader("lblOutputFormatVideoSettings");
    layout->addWidget(header);
    pcVideoFormat = Named(new QTabWidget(this), "pcVideoFormat");
    pcVideoFormat->addTab(NewAviPage(), QStringLiteral("AVI"));
    pcVideoFormat->addTab(NewMpgPage(), QStringLiteral("MPG"));
    layout->addWidget(pcVideoFormat, 1);

    cbAviVideoCodec->addItems(AviVideoCodecItems(strings));
    cbAviVideoBitrate->addItems(AviVideoBitrateItems(strings));
    cbAviVideoFPS->addItems(VideoFPSItems(strings));
    cbAviVideoAspect->addItems(AviVideoAspectItems(strings));
    cbAviVideoThreads->addItems(AviVideoThreadsItems(strings));
    cbMpgVideo->addItems(MpgVideoItems(strings));
    cbMpgVideo->setCurrentIndex(2);
    cbMpegVersion->addItems(MpegVersionItems());
    cbMpgVideoBitrate->addItems(MpgVideoBitrateItems(strings));
    cbMpgVideoFPS->addItems(VideoFPSItems(strings));
    WatchEdits();
    connect(pcVideoFormat, &QTabWidget::currentChanged, this, &TSettingsPanel::Edited);
}

QWidget* TVideoPanel::NewAviPage() {
    auto* page = Named(new QWidget, "tsAvi");
    auto* grid = new QGridLayout(page);
    cbAviVideoCodec = NewCombo(page, "cbAviVideoCodec");
    cbAviVideoBitrate = NewCombo(page, "cbAviVideoBitrate", true);
    cbAviVideoFPS = NewCombo(page, "cbAviVideoFPS", true);
    cbAviVideoAspect = NewCombo(page, "cbAviVideoAspect", true);
    cbAviVideoThreads = NewCombo(page, "cbAviVideoThreads", true);
    chAviVideo2Pass = NewCheck(page, "chAviVideo2Pass");
    chAviVideoDontCopy = NewCheck(page, "chAviVideoDontCopy");
    grid->addWidget(NewLabel(page, "lblAviVideoCodec"), 0, 0);
    grid->addWidget(cbAviVideoCodec, 0, 1, 1, 2);
    grid->addWidget(NewLabel(page, "lblAviVideoBitrate"), 1, 0);
    grid->addWidget(cbAviVideoBitrate, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("kbit/s"), page), 1, 2);
    grid->addWidget(NewLabel(page, "lblAviVideoFPS"), 2, 0);
    grid->addWidget(cbAviVideoFPS, 2, 1);
    grid->addWidget(NewLabel(page, "lblAviVideoAspect"), 3, 0);
    grid->addWidget(cbAviVideoAspect, 3, 1);
    grid->addWidget(NewLabel(page, "lblAviVideoThreads"), 4, 0);
    grid->addWidget(cbAviVideoThreads, 4, 1);
    grid->addWidget(chAviVideo2Pass, 5, 0, 1, 3);
    grid->addWidget(chAviVideoDontCopy, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

QWidget* TVideoPanel::NewMpgPage() {
    auto* page = Named(new QWidget, "tsMpg");
    auto* grid = new QGridLayout(page);
    cbMpgVideo = NewCombo(page, "cbMpgVideo");
    cbMpegVersion = NewCombo(page, "cbMpegVersion");
    cbMpgVideoBitrate = NewCombo(page, "cbMpgVideoBitrate", true);
    cbMpgVideoFPS = NewCombo(page, "cbMpgVideoFPS", true);
    chMpgVideo2Pass = NewCheck(page, "chMpgVideo2Pass");
    chMpgVideoDontCopy = NewCheck(page, "chMpgVideoDontCopy");
    lblMpgInfo = NewLabel(page, "lblMpgInfo");
    grid->addWidget(NewLabel(page, "lblMpgVideo"), 0, 0);
    grid->addWidget(cbMpgVideo, 0, 1, 1, 2);
    grid->addWidget(lblMpgInfo, 1, 1, 1, 2);
    grid->addWidget(NewLabel(page, "lblMpegVersion"), 2, 0);
    grid->addWidget(cbMpegVersion, 2, 1);
    grid->addWidget(NewLabel(page, "lblMpgVideoBitrate"), 3, 0);
    grid->addWidget(cbMpgVideoBitrate, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("kbit/s"), page), 3, 2);
    grid->addWidget(NewLabel(page, "lblMpgVideoFPS"), 4, 0);
    grid->addWidget(cbMpgVideoFPS, 4, 1);
    grid->addWidget(chMpgVideo2Pass, 5, 0, 1, 3);
    grid->addWidget(chMpgVideoDontCopy, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

void TVideoPanel::ShowSettings(const TEncoderSettings& s) {
    pcVideoFormat->setCurrentIndex(s.IsMpg() ? 1 : 0);
    cbAviVideoCodec->setCurrentIndex(s.Avi.VideoCodec);
    SetComboText(cbAviVideoBitrate, s.Avi.VideoBitrate);
    SetComboText(cbAviVideoFPS, s.Avi.VideoFPS);
    SetComboText(cbAviVideoAspect, s.Avi.VideoAspect);
    SetComboText(cbAviVideoThreads, s.Avi.EncoderThreads);
    chAviVideo2Pass->setChecked(s.Avi.Video2Pass);
    chAviVideoDontCopy->setChecked(s.Avi.DoNotCopyVideo);
    cbMpgVideo->setCurrentIndex(s.Mpg.VideoFormat);
    cbMpegVersion->setCurrentIndex(s.Mpg.MPEGVersion);
    SetComboText(cbMpgVideoBitrate, s.Mpg.VideoBitrate);
    SetComboText(cbMpgVideoFPS, s.Mpg.VideoFPS);
    chMpgVideo2Pass->setChecked(s.Mpg.Video2Pass);
    chMpgVideoDontCopy->setChecked(s.Mpg.DoNotCopyVideo);
}

void TVideoPanel::ReadSettings(TEncoderSettings& s) const {
    s.OutputFormat = pcVideoFormat->currentIndex() == 1 ? TOutputFormat::MPG : TOutputFormat::AVI;
    s.Avi.VideoCodec = cbAviVideoCodec->currentIndex();
    s.Avi.VideoBitrate = cbAviVideoBitrate->currentText();
    s.Avi.VideoFPS = cbAviVideoFPS->currentText();
    s.Avi.VideoAspect = cbAviVideoAspect->currentText();
    s.Avi.EncoderThreads = cbAviVideoThreads->currentText();
    s.Avi.Video2Pass = chAviVideo2Pass->isChecked();
    s.Avi.DoNotCopyVideo = chAviVideoDontCopy->isChecked();
    s.Mpg.VideoFormat = cbMpgVideo->currentIndex();
    s.Mpg.MPEGVersion = cbMpegVersion->currentIndex();
    s.Mpg.VideoBitrate = cbMpgVideoBitrate->currentText();
    s.Mpg.VideoFPS = cbMpgVideoFPS->currentText();
    s.Mpg.Video2Pass = chMpgVideo2Pass->isChecked();
    s.Mpg.DoNotCopyVideo = chMpgVideoDontCopy->isChecked();
}

void TVideoPanel::SetLang(const TAppStrings& strings) {
    ApplyMainTexts(this, strings);
    FillCombo(cbAviVideoCodec, AviVideoCodecItems(strings));
    FillCombo(cbAviVideoBitrate, AviVideoBitrateItems(strings));
    FillCombo(cbAviVideoFPS, VideoFPSItems(strings));
    FillCombo(cbAviVideoAspect, AviVideoAspectItems(strings));
    FillCombo(cbAviVideoThreads, AviVideoThreadsItems(strings));
    FillCombo(cbMpgVideo, MpgVideoItems(strings));
    FillCombo(cbMpgVideoBitrate, MpgVideoBitrateItems(strings));
    FillCombo(cbMpgVideoFPS, VideoFPSItems(strings));
}

void TVideoPanel::ShowDerived(const TEncoderSettings& s, const TAppStrings& strings) {
    lblMpgInfo->setText(MpgInfoText(s, strings));
}
