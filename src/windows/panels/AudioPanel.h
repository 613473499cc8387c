#pragma once

#include "windows/panels/SettingsPanel.h"

class QComboBox;
class QCheckBox;
class QLabel;
class QSlider;

// pnAudio: codec, bitrate, sampling, channels, volume and "do not copy audio".
class TAudioPanel : public TSettingsPanel {
    Q_OBJECT

public:
    TAudioPanel(const TAppStrings& strings, QWidget* parent);

    void ShowSettings(const TEncoderSettings& s) override;
    void ReadSettings(TEncoderSettings& s) const override;
    void SetLang(const TAppStrings& strings) override;
    void ShowDerived(const TEncoderSettings& s, const TAppStrings& strings) override;

Q_SIGNALS:
    void BitrateReferenceRequested();

private:
    QComboBox* cbAudioCodec;
    QComboBox* cbAudioBitrate;
    QComboBox* cbAudioSampling;
    QComboBox* cbAudioChannels;
    QSlider* tbAudioVolume;
    QLabel* lblAudioVolume;
    QLabel* lblAudioVolumeInfo;
    QCheckBox* chAudioDontCopy;
};
