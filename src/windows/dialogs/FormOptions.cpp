#include "windows/dialogs/FormOptions.h"

#include "encoding/ArgumentBuilder.h"
#include "localisation/AppStrings.h"
#include "localisation/LangIniList.h"
#include "windows/Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TFormOptions::TFormOptions(const TAppStrings& strings, TOptionsHost host,
                           const QKeySequence& closeKey, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      Host(std::move(host)) {
    setObjectName(QStringLiteral("FormOptions"));
    auto* layout = new QVBoxLayout(this);
    auto* list = pnFileList = Named(new QGroupBox(this), "pnFileList");
    auto* grid = new QGridLayout(list);
    cbFileListFont = Named(new QFontComboBox(list), "cbFileListFont");
    edFileListFontSize = NewUpDown(list, "edFileListFontSize", 6, 20, 1, 8);
    edFileListRowHeight = NewUpDown(list, "edFileListRowHeight", 12, 50, 1, 20);
    lblFileListFontName = NewLabel(list, "lblFileListFontName");
    lblFileListFontSize = NewLabel(list, "lblFileListFontSize");
    lblFileListRowHeight = NewLabel(list, "lblFileListRowHeight");
    grid->addWidget(lblFileListFontName, 0, 0);
    grid->addWidget(cbFileListFont, 0, 1, 1, 2);
    grid->addWidget(lblFileListFontSize, 1, 0);
    grid->addWidget(edFileListFontSize, 1, 1);
    grid->addWidget(lblFileListRowHeight, 2, 0);
    grid->addWidget(edFileListRowHeight, 2, 1);
    int row = 3;
    for (QCheckBox** box :
         {&chFileListAllowRowMoving, &chFileListAllowColumnMoving, &chFileListGridLines,
          &chFileListFooter, &chFileListRowIndicator, &chFileListIconClickOpen}) {
        *box = new QCheckBox(list);
        grid->addWidget(*box, row++, 0, 1, 3);
    }
    chFileListAllowRowMoving->setObjectName(QStringLiteral("chFileListAllowRowMoving"));
    chFileListAllowColumnMoving->setObjectName(QStringLiteral("chFileListAllowColumnMoving"));
    chFileListGridLines->setObjectName(QStringLiteral("chFileListGridLines"));
    chFileListFooter->setObjectName(QStringLiteral("chFileListFooter"));
    chFileListRowIndicator->setObjectName(QStringLiteral("chFileListRowIndicator"));
    chFileListIconClickOpen->setObjectName(QStringLiteral("chFileListIconClickOpen"));
    cbFileListFileAnalysis = WideEnough(NewCombo(list, "cbFileListFileAnalysis"));
    cbFileListFileAnalysis->addItems({QString(), QString(), QString()});
    lblFileListAnalysis = NewLabel(list, "lblFileListAnalysis");
    grid->addWidget(lblFileListAnalysis, row, 0);
    grid->addWidget(cbFileListFileAnalysis, row, 1);
    grid->setColumnStretch(2, 1);
    layout->addWidget(list);

    auto* language = gbLanguage = Named(new QGroupBox(this), "gbLanguage");
    cbLanguage = NewCombo(language, "cbLanguage");
    (new QVBoxLayout(language))->addWidget(cbLanguage);
    layout->addWidget(language);

    auto* codecRow = new QHBoxLayout;
    cbDefaultVideoCodec = WideEnough(NewCombo(this, "cbDefaultVideoCodec"));
    cbDefaultVideoCodec->addItems({QStringLiteral("H.264"), QStringLiteral("Xvid")});
    lblDefaultVideoCodec = NewLabel(this, "lblDefaultVideoCodec");
    codecRow->addWidget(lblDefaultVideoCodec);
    codecRow->addWidget(cbDefaultVideoCodec, 1);
    layout->addLayout(codecRow);

    // Auto, then 1 up to the number of cores.
    auto* jobsRow = new QHBoxLayout;
    cbSimultaneousConversions = WideEnough(NewCombo(this, "cbSimultaneousConversions"));
    cbSimultaneousConversions->addItem(QString());
    for (int n = 1; n <= std::max(GetProcessorCount(), 1); ++n)
        cbSimultaneousConversions->addItem(QString::number(n));
    lblSimultaneousConversions = NewLabel(this, "lblSimultaneousConversions");
    lblSimultaneousConversions->setBuddy(cbSimultaneousConversions);
    jobsRow->addWidget(lblSimultaneousConversions);
    jobsRow->addWidget(cbSimultaneousConversions, 1);
    layout->addLayout(jobsRow);

    auto* pnBottom = Named(new QWidget(this), "pnBottom");
    auto* bottom = new QHBoxLayout(pnBottom);
    bottom->setContentsMargins(0, 0, 0, 0);
    auto* shortcut = btnCreateShortcutOnDesktop =
        Named(new QPushButton(pnBottom), "btnCreateShortcutOnDesktop");
    auto* ok = btnOK = Named(new QPushButton(pnBottom), "btnOK");
    bottom->addWidget(shortcut);
    bottom->addStretch(1);
    bottom->addWidget(ok);
    layout->addWidget(pnBottom);

    const auto onCheck = [this](QCheckBox* box, bool TProgramSettings::*field) {
        connect(box, &QCheckBox::toggled, this,
                [this, field](bool on) { Change([&](TProgramSettings& s) { s.*field = on; }); });
    };
    onCheck(chFileListAllowRowMoving, &TProgramSettings::AllowRowMoving);
    onCheck(chFileListAllowColumnMoving, &TProgramSettings::AllowColumnMoving);
    onCheck(chFileListGridLines, &TProgramSettings::GridLines);
    onCheck(chFileListFooter, &TProgramSettings::GridFooter);
    onCheck(chFileListRowIndicator, &TProgramSettings::RowIndicator);
    onCheck(chFileListIconClickOpen, &TProgramSettings::OpenFileAfterIconClick);
    connect(cbFileListFont, &QFontComboBox::currentFontChanged, this, [this](const QFont& font) {
        Change([&](TProgramSettings& s) { s.ListFontName = font.family(); });
    });
    connect(edFileListFontSize, &QSpinBox::valueChanged, this,
            [this](int size) { Change([&](TProgramSettings& s) { s.ListFontSize = size; }); });
    connect(edFileListRowHeight, &QSpinBox::valueChanged, this,
            [this](int height) { Change([&](TProgramSettings& s) { s.RowHeight = height; }); });
    connect(cbFileListFileAnalysis, &QComboBox::currentIndexChanged, this, [this](int item) {
        Change([&](TProgramSettings& s) {
            s.FileAnalysis = item == 2   ? TFileAnalysis::faNone
                             : item == 1 ? TFileAnalysis::faQuick
                                         : TFileAnalysis::faFull;
        });
    });
    connect(cbDefaultVideoCodec, &QComboBox::currentIndexChanged, this, [this](int item) {
        Change([&](TProgramSettings& s) { s.DefaultVideoCodecIndex = item == 0 ? 2 : 0; });
    });
    connect(cbSimultaneousConversions, &QComboBox::currentIndexChanged, this, [this](int item) {
        Change([&](TProgramSettings& s) { s.SimultaneousConversions = std::max(item, 0); });
    });
    connect(cbLanguage, &QComboBox::currentIndexChanged, this, [this] {
        if (!UpdatingControls)
            Guarded(this, [this] { Host.SwitchLanguage(cbLanguage->currentText()); });
    });
    connect(shortcut, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { Host.CreateShortcut(); }); });
    connect(ok, &QPushButton::clicked, this, &QDialog::hide);

    // The key that opens the window closes it as well; so does Esc.
    auto* actClose = Named(new QAction(this), "actClose");
    actClose->setShortcut(closeKey);
    connect(actClose, &QAction::triggered, this, &QDialog::hide);
    addAction(actClose);

    SetLang(strings);
    setFixedSize(sizeHint().expandedTo(QSize(518, 371)));
    InitCbLanguage();
    InitControls();
}

void TFormOptions::Change(const std::function<void(TProgramSettings&)>& change) {
    if (UpdatingControls)
        return;
    TProgramSettings s = Host.Settings();
    change(s);
    Host.Apply(s);
}

void TFormOptions::showEvent(QShowEvent* event) {
    InitCbLanguage();
    InitControls();
    QDialog::showEvent(event);
}

void TFormOptions::InitControls() {
    UpdatingControls = true;
    const TProgramSettings s = Host.Settings();
    cbFileListFont->setCurrentFont(QFont(s.ListFontName));
    edFileListFontSize->setValue(s.ListFontSize);
    edFileListRowHeight->setValue(s.RowHeight);
    chFileListAllowRowMoving->setChecked(s.AllowRowMoving);
    chFileListAllowColumnMoving->setChecked(s.AllowColumnMoving);
    chFileListGridLines->setChecked(s.GridLines);
    chFileListFooter->setChecked(s.GridFooter);
    chFileListRowIndicator->setChecked(s.RowIndicator);
    chFileListIconClickOpen->setChecked(s.OpenFileAfterIconClick);
    cbDefaultVideoCodec->setCurrentIndex(s.DefaultVideoCodecIndex != 0 ? 0 : 1);
    cbFileListFileAnalysis->setCurrentIndex(s.FileAnalysis == TFileAnalysis::faNone    ? 2
                                            : s.FileAnalysis == TFileAnalysis::faQuick ? 1
                                                                                       : 0);
    // A number above this machine's cores (a settings file from a larger one) shows as the most.
    cbSimultaneousConversions->setCurrentIndex(
        std::min(s.SimultaneousConversions, cbSimultaneousConversions->count() - 1));
    UpdatingControls = false;
}

void TFormOptions::InitCbLanguage() {
    UpdatingControls = true;
    const TLangIniList& languages = Host.Languages();
    cbLanguage->clear();
    for (const TLangIniListItem& item : languages.Items())
        cbLanguage->addItem(item.LangName_Native);
    const TLangIniListItem* current = languages.GetItemByShortFileName(Host.LanguageIni());
    cbLanguage->setCurrentIndex(current ? int(current - languages.Items().constData()) : 0);
    UpdatingControls = false;
}

void TFormOptions::SetLang(const TAppStrings& strings) {
    const bool updating = UpdatingControls;
    UpdatingControls = true;
    const TOptionsModuleStrings& o = strings.Options;
    setWindowTitle(o.Caption);
    pnFileList->setTitle(o.pnFileList);
    gbLanguage->setTitle(o.gbLanguage);
    lblFileListFontName->setText(o.lblFileListFontName);
    lblFileListFontSize->setText(o.lblFileListFontSize);
    lblFileListRowHeight->setText(o.lblFileListRowHeight);
    lblFileListAnalysis->setText(o.lblFileAnalysis);
    lblDefaultVideoCodec->setText(o.lblDefaultVideoCodec);
    lblSimultaneousConversions->setText(o.lblSimultaneousConversions);
    cbSimultaneousConversions->setItemText(0, strings.Main.Auto);
    chFileListAllowRowMoving->setText(o.chFileListAllowRowMoving);
    chFileListAllowColumnMoving->setText(o.chFileListAllowColumnMoving);
    chFileListGridLines->setText(o.chFileListGridLines);
    chFileListFooter->setText(o.chFileListFooter);
    chFileListRowIndicator->setText(o.chFileListRowIndicator);
    chFileListIconClickOpen->setText(o.chFileListIconClickOpen);
    FillCombo(cbFileListFileAnalysis,
              {o.FileAnalysis_Full, o.FileAnalysis_Quick, o.FileAnalysis_None});
    btnCreateShortcutOnDesktop->setText(o.btnCreateShortcutOnDesktop);
    btnOK->setText(strings.Main.Close);
    UpdatingControls = updating;
}
