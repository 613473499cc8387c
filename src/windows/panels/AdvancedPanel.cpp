#include "windows/panels/AdvancedPanel.h"

#include "encoding/SettingsControls.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"
#include "windows/panels/FlowLayout.h"
#include "windows/panels/ItemDelegates.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QPushButton* InfoButton(QWidget* parent, const char* name) {
    auto* button = Named(new QPushButton(QStringLiteral("Info"), parent), name);
    button->setMaximumWidth(48);
    return button;
}

} // namespace

TAdvancedPanel::TAdvancedPanel(const TAppStrings& strings, const QStringList& resolutionItems,
                               const QStringList& fourccTags, QWidget* parent)
    : TSettingsPanel(parent) {
    setObjectName(QStringLiteral("pnAdvancedSettings"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* header = NewHeader("lblAdvancedSettings");
    layout->addWidget(header);
    // The groups reflow to the panel's width; only a vertical scroll bar where the height ends.
    auto* scroll = Named(new QScrollArea(this), "sbAdvanced");
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes to the controls; they scroll into view
    layout->addWidget(scroll, 1);

    auto* body = new QWidget;
    auto* columns = new TFlowLayout(body);
    const auto column = [&](std::initializer_list<QWidget*> widgets) {
        auto* holder = new QWidget(body);
        auto* box = new QVBoxLayout(holder);
        box->setContentsMargins(0, 0, 0, 0);
        for (QWidget* w : widgets)
            box->addWidget(w);
        box->addStretch(1);
        columns->addWidget(holder);
    };
    // The groups join the panel as the columns take them, so Tab follows the reading order.
    auto* interlacing = Named(new QGroupBox, "gbInterlacing");
    cbInterlacing = NewCombo(interlacing, "cbInterlacing");
    cbInterlacing->addItems(InterlacingItems(strings));
    (new QVBoxLayout(interlacing))->addWidget(cbInterlacing);
    auto* track = Named(new QGroupBox, "gbAudioTrackNo");
    cbAudioTrackNo = WideEnough(NewCombo(track, "cbAudioTrackNo"));
    cbAudioTrackNo->addItem(AudioTrackAutoItem(strings));
    (new QVBoxLayout(track))->addWidget(cbAudioTrackNo);
    column({NewCropping(), NewResolution(resolutionItems)});
    column({interlacing, NewVideoTag(fourccTags), track});
    column({NewFilters()});
    column({NewParams()});
    for (QGroupBox* group : body->findChildren<QGroupBox*>()) {
        group->layout()->setContentsMargins(6, 4, 6, 4);
        group->layout()->setSpacing(4);
    }
    scroll->setWidget(body);
    WatchEdits();
}

QWidget* TAdvancedPanel::NewCropping() {
    auto* group = Named(new QGroupBox, "gbCropping");
    auto* grid = new QGridLayout(group);
    edCropTop = NewUpDown(group, "edCropTop", 0, 5000, 8, 0);
    edCropBottom = NewUpDown(group, "edCropBottom", 0, 5000, 8, 0);
    edCropLeft = NewUpDown(group, "edCropLeft", 0, 5000, 8, 0);
    edCropRight = NewUpDown(group, "edCropRight", 0, 5000, 8, 0);
    grid->addWidget(EntryLabel(group, "lblCropTop", u"Main.edCropTop"), 0, 0);
    grid->addWidget(edCropTop, 0, 1);
    grid->addWidget(EntryLabel(group, "lblCropBottom", u"Main.edCropBottom"), 0, 2);
    grid->addWidget(edCropBottom, 0, 3);
    grid->addWidget(EntryLabel(group, "lblCropLeft", u"Main.edCropLeft"), 1, 0);
    grid->addWidget(edCropLeft, 1, 1);
    grid->addWidget(EntryLabel(group, "lblCropRight", u"Main.edCropRight"), 1, 2);
    grid->addWidget(edCropRight, 1, 3);
    return group;
}

QWidget* TAdvancedPanel::NewResolution(const QStringList& items) {
    auto* group = Named(new QGroupBox, "gbResolution");
    auto* grid = new QGridLayout(group);
    cbResolution = NewCombo(group, "cbResolution");
    cbResolution->addItems(items);
    InstallResolutionDelegate(cbResolution);
    edResWidth = NewUpDown(group, "edResWidth", 2, 30000, 2, 854);
    edResHeight = NewUpDown(group, "edResHeight", 2, 30000, 2, 480);
    grid->addWidget(cbResolution, 0, 0, 1, 3);
    grid->addWidget(EntryLabel(group, "lblResWidth", u"Main.edResWidth"), 1, 0);
    grid->addWidget(EntryLabel(group, "lblResHeight", u"Main.edResHeight"), 1, 2);
    grid->addWidget(edResWidth, 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("X"), group), 2, 1);
    grid->addWidget(edResHeight, 2, 2);
    return group;
}

QWidget* TAdvancedPanel::NewVideoTag(const QStringList& tags) {
    auto* group = Named(new QGroupBox, "gbVideoTag");
    auto* grid = new QGridLayout(group);
    chVideoFourcc = NewCheck(group, "chVideoFourcc");
    cbVideoTag = NewCombo(group, "cbVideoTag", true);
    cbVideoTag->lineEdit()->setMaxLength(4);
    cbVideoTag->addItems(tags);
    auto* info = InfoButton(group, "btnInfoFourcc");
    connect(info, &QPushButton::clicked, this, &TAdvancedPanel::FourccInfoRequested);
    grid->addWidget(chVideoFourcc, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("(fourcc):"), group), 1, 0);
    grid->addWidget(cbVideoTag, 1, 1);
    grid->addWidget(info, 1, 2);
    return group;
}

QWidget* TAdvancedPanel::NewFilters() {
    auto* panel = Named(new QWidget, "pnVideoFilters");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    chConvertColors = NewCheck(panel, "chConvertColors");
    cbConvertColors = NewCombo(panel, "cbConvertColors");
    cbConvertColors->addItems(ConvertColorsItems());
    chBrightness = NewCheck(panel, "chBrightness");
    tbBrightness = NewTrackBar(panel, "tbBrightness", -20, 20, 0);
    lblBrightnessValue = NewLabel(panel, "lblBrightnessValue", QStringLiteral("0"));
    chSaturation = NewCheck(panel, "chSaturation");
    tbSaturation = NewTrackBar(panel, "tbSaturation", 1, 30, 10);
    lblSaturationValue = NewLabel(panel, "lblSaturationValue", QStringLiteral("1"));
    chFlipHorizontal = NewCheck(panel, "chFlipHorizontal");
    chFlipVertical = NewCheck(panel, "chFlipVertical");
    chNegative = NewCheck(panel, "chNegative");
    chRotate = NewCheck(panel, "chRotate");
    cbRotate = NewCombo(panel, "cbRotate", true);
    cbRotate->addItems(RotateItems());
    for (QSlider* bar : {tbBrightness, tbSaturation})
        bar->setMinimumWidth(90);
    cbConvertColors->setMinimumWidth(90);
    for (QLabel* label : {lblBrightnessValue, lblSaturationValue})
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("-0.00")));
    grid->addWidget(chConvertColors, 0, 0);
    grid->addWidget(cbConvertColors, 0, 1, 1, 2);
    grid->addWidget(chBrightness, 1, 0);
    grid->addWidget(tbBrightness, 1, 1);
    grid->addWidget(lblBrightnessValue, 1, 2);
    grid->addWidget(chSaturation, 2, 0);
    grid->addWidget(tbSaturation, 2, 1);
    grid->addWidget(lblSaturationValue, 2, 2);
    grid->addWidget(chFlipHorizontal, 3, 0, 1, 3);
    grid->addWidget(chFlipVertical, 4, 0, 1, 3);
    grid->addWidget(chNegative, 5, 0, 1, 3);
    grid->addWidget(chRotate, 6, 0);
    grid->addWidget(cbRotate, 6, 1, 1, 2);
    grid->setRowStretch(7, 1);
    return panel;
}

QWidget* TAdvancedPanel::NewParams() {
    auto* panel = Named(new QWidget, "pnFFmpegParams");
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* help = InfoButton(panel, "btnFFParams");
    meParams = Named(new QPlainTextEdit(panel), "meParams");
    meParams->setMinimumWidth(160);
    meParams->setTabChangesFocus(true); // one option per line: Tab leaves the box
    connect(help, &QPushButton::clicked, this, &TAdvancedPanel::EncoderHelpRequested);
    auto* caption = EntryLabel(panel, "lblFFmpegParams", u"Main.gbFFmpegParams");
    caption->setWordWrap(true);
    grid->addWidget(caption, 0, 0);
    grid->addWidget(help, 0, 1);
    grid->addWidget(meParams, 1, 0, 1, 2);
    return panel;
}

void TAdvancedPanel::SetAudioTrackItems(const QStringList& items) {
    const int index = cbAudioTrackNo->currentIndex();
    const QSignalBlocker blocker(cbAudioTrackNo);
    cbAudioTrackNo->clear();
    cbAudioTrackNo->addItems(items);
    cbAudioTrackNo->setCurrentIndex(index >= 0 && index < items.size() ? index : 0);
}

QStringList TAdvancedPanel::ResolutionEntries() const {
    QStringList entries;
    for (int i = 2; i < cbResolution->count(); ++i)
        entries.append(cbResolution->itemText(i));
    return entries;
}

int TAdvancedPanel::ResolutionItemCount() const {
    return cbResolution->count();
}

void TAdvancedPanel::ShowSettings(const TEncoderSettings& s) {
    const TAdvancedSettings& a = s.Advanced;
    edCropTop->setValue(a.CropTop);
    edCropBottom->setValue(a.CropBottom);
    edCropLeft->setValue(a.CropLeft);
    edCropRight->setValue(a.CropRight);
    cbResolution->setCurrentIndex(a.Resolution < cbResolution->count() ? a.Resolution : 0);
    edResWidth->setValue(a.ResWidth);
    edResHeight->setValue(a.ResHeight);
    cbInterlacing->setCurrentIndex(a.Interlacing);
    chVideoFourcc->setChecked(a.ForceVideoTag);
    SetComboText(cbVideoTag, a.VideoTag);
    cbAudioTrackNo->setCurrentIndex(s.AudioTrackNo < cbAudioTrackNo->count() ? s.AudioTrackNo : 0);
    chConvertColors->setChecked(a.ConvertColors);
    cbConvertColors->setCurrentIndex(a.ConvertColorsValue);
    chBrightness->setChecked(a.Brightness);
    tbBrightness->setValue(a.BrightnessValue);
    chSaturation->setChecked(a.Saturation);
    tbSaturation->setValue(a.SaturationValue);
    chFlipHorizontal->setChecked(a.FlipHorizontal);
    chFlipVertical->setChecked(a.FlipVertical);
    chNegative->setChecked(a.Negative);
    chRotate->setChecked(a.Rotate);
    // The rotation is shown as typed text, with no item selected.
    cbRotate->setCurrentIndex(-1);
    cbRotate->setCurrentText(a.RotateValue);
    meParams->setPlainText(a.AdditionalParams.join(u'\n'));
}

void TAdvancedPanel::ReadSettings(TEncoderSettings& s) const {
    TAdvancedSettings& a = s.Advanced;
    a.CropTop = edCropTop->value();
    a.CropBottom = edCropBottom->value();
    a.CropLeft = edCropLeft->value();
    a.CropRight = edCropRight->value();
    a.Resolution = std::max(0, cbResolution->currentIndex());
    a.ResWidth = edResWidth->value();
    a.ResHeight = edResHeight->value();
    a.Interlacing = std::max(0, cbInterlacing->currentIndex());
    a.ForceVideoTag = chVideoFourcc->isChecked();
    a.VideoTag = cbVideoTag->currentText();
    s.AudioTrackNo = std::max(0, cbAudioTrackNo->currentIndex());
    a.ConvertColors = chConvertColors->isChecked();
    a.ConvertColorsValue = std::max(0, cbConvertColors->currentIndex());
    a.Brightness = chBrightness->isChecked();
    a.BrightnessValue = tbBrightness->value();
    a.Saturation = chSaturation->isChecked();
    a.SaturationValue = tbSaturation->value();
    a.FlipHorizontal = chFlipHorizontal->isChecked();
    a.FlipVertical = chFlipVertical->isChecked();
    a.Negative = chNegative->isChecked();
    a.Rotate = chRotate->isChecked();
    a.RotateValue = cbRotate->currentText();
    const QString params = meParams->toPlainText();
    a.AdditionalParams = params.isEmpty() ? QStringList() : params.split(u'\n');
}

QLabel* TAdvancedPanel::EntryLabel(QWidget* parent, const char* name, const char16_t* entry) {
    QLabel* label = NewLabel(parent, name);
    EntryLabels.append({label, entry});
    return label;
}

void TAdvancedPanel::SetLang(const TAppStrings& strings) {
    ApplyMainTexts(this, strings);
    for (const auto& [label, entry] : EntryLabels)
        if (const QString* text = FindCatalogText(strings, QStringView(entry)))
            label->setText(*text);
    cbResolution->setItemText(0, strings.Main.Auto);
    cbResolution->setItemText(1, strings.Main.Custom);
    cbAudioTrackNo->setItemText(0, AudioTrackAutoItem(strings));
    FillCombo(cbInterlacing, InterlacingItems(strings));
}

void TAdvancedPanel::ShowDerived(const TEncoderSettings& s, const TAppStrings&) {
    lblBrightnessValue->setText(TenthsText(s.Advanced.BrightnessValue));
    lblSaturationValue->setText(TenthsText(s.Advanced.SaturationValue));
}
