#pragma once

#include "windows/panels/SettingsPanel.h"

class QComboBox;
class QCheckBox;
class QLabel;
class QTabWidget;

// pnVideo: the output format pages AVI and MPG with their video settings.
class TVideoPanel : public TSettingsPanel {
    Q_OBJECT

public:
    TVideoPanel(const TAppStrings& strings, QWidget* parent);

    void ShowSettings(const TEncoderSettings& s) override;
    void ReadSettings(TEncoderSettings& s) const override;
    void SetLang(const TAppStrings& strings) override;
    void ShowDerived(const TEncoderSettings& s, const TAppStrings& strings) override;

    QTabWidget* pcVideoFormat;

private:
    QWidget* NewAviPage();
    QWidget* NewMpgPage();

    QComboBox* cbAviVideoCodec;
    QComboBox* cbAviVideoBitrate;
    QComboBox* cbAviVideoFPS;
    QComboBox* cbAviVideoAspect;
    QComboBox* cbAviVideoThreads;
    QCheckBox* chAviVideo2Pass;
    QCheckBox* chAviVideoDontCopy;
    QComboBox* cbMpgVideo;
    QComboBox* cbMpegVersion;
    QComboBox* cbMpgVideoBitrate;
    QComboBox* cbMpgVideoFPS;
    QCheckBox* chMpgVideo2Pass;
    QCheckBox* chMpgVideoDontCopy;
    QLabel* lblMpgInfo;
};
