#include "windows/panels/AudioPanel.h"

#include "encoding/SettingsControls.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

TAudioPanel::TAudioPanel(const TAppStrings& strings, QWidget* parent) : TSettingsPanel(parent) {
    setObjectName(QStringLiteral("pnAudio"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    auto* header = NewHeader("lblAudioSettings");
    grid->addWidget(header, 0, 0, 1, 4);
    cbAudioCodec = NewCombo(this, "cbAudioCodec");
    cbAudioBitrate = NewCombo(this, "cbAudioBitrate", true);
    // Beside the bit rate, and next after it for Tab.
    auto* info = Named(new QPushButton(QStringLiteral("Info"), this), "btnInfoAudioBitrates");
    cbAudioSampling = NewCombo(this, "cbAudioSampling", true);
    cbAudioChannels = NewCombo(this, "cbAudioChannels");
    tbAudioVolume = NewTrackBar(this, "tbAudioVolume", 1, 300, 100);
    lblAudioVolume = NewLabel(this, "lblAudioVolume", QStringLiteral("1.00x"));
    chAudioDontCopy = NewCheck(this, "chAudioDontCopy");
    info->setMaximumWidth(48);
    connect(info, &QPushButton::clicked, this, &TAudioPanel::BitrateReferenceRequested);

    grid->addWidget(NewLabel(this, "lblAudioCodec"), 1, 0);
    grid->addWidget(cbAudioCodec, 1, 1, 1, 3);
    grid->addWidget(NewLabel(this, "lblAudioBitrate"), 2, 0);
    grid->addWidget(cbAudioBitrate, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("kbit/s"), this), 2, 2);
    grid->addWidget(info, 2, 3);
    grid->addWidget(NewLabel(this, "lblAudioSampling"), 3, 0);
    grid->addWidget(cbAudioSampling, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Hz"), this), 3, 2);
    grid->addWidget(NewLabel(this, "lblAudioChannels"), 4, 0);
    grid->addWidget(cbAudioChannels, 4, 1);
    lblAudioVolumeInfo = NewLabel(this, "lblAudioVolumeInfo");
    grid->addWidget(lblAudioVolumeInfo, 5, 0);
    grid->addWidget(tbAudioVolume, 5, 1);
    grid->addWidget(lblAudioVolume, 5, 2);
    grid->addWidget(chAudioDontCopy, 6, 0, 1, 4);
    grid->setRowStretch(7, 1);
    grid->setColumnStretch(1, 1);

    cbAudioCodec->addItems(AudioCodecItems(strings));
    cbAudioBitrate->addItems(AudioBitrateItems(strings));
    cbAudioSampling->addItems(AudioSamplingItems(strings));
    cbAudioChannels->addItems(AudioChannelsItems(strings));
    WatchEdits();
}

void TAudioPanel::ShowSettings(const TEncoderSettings& s) {
    cbAudioCodec->setCurrentIndex(s.Audio.AudioCodec);
    SetComboText(cbAudioBitrate, s.Audio.AudioBitrate);
    SetComboText(cbAudioSampling, s.Audio.AudioSampling);
    cbAudioChannels->setCurrentIndex(s.Audio.AudioChannels);
    chAudioDontCopy->setChecked(s.Audio.DoNotCopyAudio);
    tbAudioVolume->setValue(s.Audio.Volume);
}

void TAudioPanel::ReadSettings(TEncoderSettings& s) const {
    s.Audio.AudioCodec = cbAudioCodec->currentIndex();
    s.Audio.AudioBitrate = cbAudioBitrate->currentText();
    s.Audio.AudioSampling = cbAudioSampling->currentText();
    s.Audio.AudioChannels = cbAudioChannels->currentIndex();
    s.Audio.DoNotCopyAudio = chAudioDontCopy->isChecked();
    s.Audio.Volume = tbAudioVolume->value();
}

void TAudioPanel::SetLang(const TAppStrings& strings) {
    // The volume factor label shares its name with the caption entry: it gets the factor back.
    ApplyMainTexts(this, strings);
    if (const QString* caption = FindCatalogText(strings, u"Main.lblAudioVolume"))
        lblAudioVolumeInfo->setText(*caption);
    lblAudioVolume->setText(VolumeToStr(tbAudioVolume->value()) + u'x');
    FillCombo(cbAudioCodec, AudioCodecItems(strings));
    FillCombo(cbAudioBitrate, AudioBitrateItems(strings));
    FillCombo(cbAudioSampling, AudioSamplingItems(strings));
    FillCombo(cbAudioChannels, AudioChannelsItems(strings));
}

void TAudioPanel::ShowDerived(const TEncoderSettings& s, const TAppStrings&) {
    lblAudioVolume->setText(VolumeToStr(s.Audio.Volume) + u'x');
}
