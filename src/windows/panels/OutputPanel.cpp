#include "windows/panels/OutputPanel.h"

#include "app/ProgramSettings.h"
#include "encoding/SettingsControls.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

TOutputPanel::TOutputPanel(const TAppStrings& strings, QAction* browse, QAction* explore,
                           QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("pnMid"));
    setFixedHeight(82);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);

    auto* options = new QGridLayout;
    cbOutputExists = NewCombo(this, "cbOutputExists");
    cbOutputExists->addItems(OutputExistsItems(strings));
    cbAfterConversion = NewCombo(this, "cbAfterConversion");
    cbAfterConversion->addItems(AfterConversionItems(strings));
    chKeepDates = NewCheck(this, "chKeepDates");
    // These two lists show their whole texts, whatever the language.
    for (QComboBox* combo : {cbOutputExists, cbAfterConversion})
        combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    options->addWidget(NewLabel(this, "lblIfOutputExists"), 0, 0);
    options->addWidget(cbOutputExists, 0, 1);
    options->addWidget(NewLabel(this, "lblAfterConversion"), 1, 0);
    options->addWidget(cbAfterConversion, 1, 1);
    options->addWidget(chKeepDates, 2, 0, 1, 2);
    layout->addLayout(options);
    layout->addStretch(1);

    auto* pnOutputDir = Named(new QWidget(this), "pnOutputDir");
    auto* outer = new QHBoxLayout(pnOutputDir);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* group = Named(new QGroupBox(pnOutputDir), "gbOutputDir");
    outer->addWidget(group);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(6, 2, 6, 2);
    rbOutDirIsInDir = Named(new QRadioButton(group), "rbOutDirIsInDir");
    rbOutDir = Named(new QRadioButton(group), "rbOutDir");
    rbOutDirIsInDir->setChecked(true);
    edOutDir = Named(new QLineEdit(group), "edOutDir");
    edOutDir->setMinimumWidth(260);
    auto* btnBrowseOutDir = Named(new QToolButton(group), "btnBrowseOutDir");
    btnBrowseOutDir->setDefaultAction(browse);
    auto* btnExplore = Named(new QToolButton(group), "btnExplore");
    btnExplore->setDefaultAction(explore);
    btnExplore->hide();
    grid->addWidget(rbOutDirIsInDir, 0, 0, 1, 3);
    grid->addWidget(rbOutDir, 1, 0);
    grid->addWidget(edOutDir, 1, 1);
    grid->addWidget(btnBrowseOutDir, 1, 2);
    grid->addWidget(btnExplore, 1, 3);
    layout->addWidget(pnOutputDir);

    connect(rbOutDir, &QRadioButton::toggled, this, [this](bool on) {
        edOutDir->setEnabled(on);
        Q_EMIT OutDirChoiceChanged();
    });
    edOutDir->setEnabled(false);
}

void TOutputPanel::ShowSettings(const TProgramSettings& s) {
    cbOutputExists->setCurrentIndex(s.OutputExists);
    cbAfterConversion->setCurrentIndex(s.AfterConversion);
    chKeepDates->setChecked(s.KeepFileDates);
    (s.OutIn ? rbOutDirIsInDir : rbOutDir)->setChecked(true);
    edOutDir->setText(s.OutDir);
}

void TOutputPanel::ReadSettings(TProgramSettings& s) const {
    s.OutputExists = std::max(0, cbOutputExists->currentIndex());
    s.AfterConversion = std::max(0, cbAfterConversion->currentIndex());
    s.KeepFileDates = chKeepDates->isChecked();
    s.OutIn = rbOutDirIsInDir->isChecked();
    s.OutDir = edOutDir->text();
}

void TOutputPanel::SetLang(const TAppStrings& strings) {
    ApplyMainTexts(this, strings);
    chKeepDates->setToolTip(strings.Main.KeepDates);
    FillCombo(cbOutputExists, OutputExistsItems(strings));
    FillCombo(cbAfterConversion, AfterConversionItems(strings));
}

bool TOutputPanel::OutDirChosen() const {
    return rbOutDir->isChecked();
}

QString TOutputPanel::OutDir() const {
    return edOutDir->text();
}

void TOutputPanel::SetOutDir(const QString& dir) {
    edOutDir->setText(dir);
}
