#pragma once

#include "windows/panels/SettingsPanel.h"

class QComboBox;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QSlider;
class QSpinBox;

// pnAdvancedSettings: cropping, resolution, deinterlacing, video tag, audio track, picture filters
// and additional encoder parameters.
class TAdvancedPanel : public TSettingsPanel {
    Q_OBJECT

public:
    TAdvancedPanel(const TAppStrings& strings, const QStringList& resolutionItems,
                   const QStringList& fourccTags, QWidget* parent);

    void ShowSettings(const TEncoderSettings& s) override;
    void ReadSettings(TEncoderSettings& s) const override;
    void SetLang(const TAppStrings& strings) override;
    void ShowDerived(const TEncoderSettings& s, const TAppStrings& strings) override;

    int ResolutionItemCount() const;
    // The resolution list from its third item on, as the argument builder reads it.
    QStringList ResolutionEntries() const;
    // Refills the audio track chooser, keeping the chosen item when it still exists.
    void SetAudioTrackItems(const QStringList& items);

Q_SIGNALS:
    void FourccInfoRequested();
    void EncoderHelpRequested();

private:
    QWidget* NewCropping();
    QWidget* NewResolution(const QStringList& items);
    QWidget* NewVideoTag(const QStringList& tags);
    QWidget* NewFilters();
    QWidget* NewParams();
    // A caption label that takes its text from the catalogue entry `entry`.
    QLabel* EntryLabel(QWidget* parent, const char* name, const char16_t* entry);

    QSpinBox* edCropTop;
    QSpinBox* edCropBottom;
    QSpinBox* edCropLeft;
    QSpinBox* edCropRight;
    QComboBox* cbResolution;
    QSpinBox* edResWidth;
    QSpinBox* edResHeight;
    QComboBox* cbInterlacing;
    QCheckBox* chVideoFourcc;
    QComboBox* cbVideoTag;
    QComboBox* cbAudioTrackNo;
    QCheckBox* chConvertColors;
    QComboBox* cbConvertColors;
    QCheckBox* chBrightness;
    QSlider* tbBrightness;
    // The caption labels that show another entry's text ("lblCropTop" shows "edCropTop").
    QList<std::pair<QLabel*, const char16_t*>> EntryLabels;
    QLabel* lblBrightnessValue;
    QCheckBox* chSaturation;
    QSlider* tbSaturation;
    QLabel* lblSaturationValue;
    QCheckBox* chFlipHorizontal;
    QCheckBox* chFlipVertical;
    QCheckBox* chNegative;
    QCheckBox* chRotate;
    QComboBox* cbRotate;
    QPlainTextEdit* meParams;
};
