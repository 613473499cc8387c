#include "windows/dialogs/FormProgress.h"

#include "app/ProgramSettings.h"
#include "core/AppParams.h"
#include "encoding/ListItemColors.h"
#include "execution/ProgressMonitor.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

TFormProgress::TFormProgress(const TAppStrings& strings, const TFontParams& font, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      Strings(&strings) {
    setObjectName(QStringLiteral("FormProgress"));
    auto* layout = new QVBoxLayout(this);
    auto* pnTop = Named(new QWidget(this), "pnTop");
    auto* top = new QHBoxLayout(pnTop);
    top->setContentsMargins(0, 0, 0, 0);
    lblEncoderOutput = NewLabel(pnTop, "lblEncoderOutput");
    top->addWidget(lblEncoderOutput);
    top->addStretch(1);
    chHideEncoderOutput = NewCheck(pnTop, "chHideEncoderOutput");
    chCloseAfterConversion = NewCheck(pnTop, "chCloseAfterConversion");
    chCloseAfterConversion->setChecked(true);
    top->addWidget(chHideEncoderOutput);
    top->addWidget(chCloseAfterConversion);
    layout->addWidget(pnTop);

    // The files under way when several are converted at once; choosing one shows it below.
    lvJobs = Named(new QTreeWidget(this), "lvJobs");
    lvJobs->setColumnCount(3);
    lvJobs->setRootIsDecorated(false);
    lvJobs->setUniformRowHeights(true);
    lvJobs->setSelectionMode(QAbstractItemView::SingleSelection);
    lvJobs->header()->setStretchLastSection(false);
    lvJobs->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lvJobs->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    lvJobs->header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    lvJobs->setMaximumHeight(fontMetrics().height() * 7);
    lvJobs->hide();
    layout->addWidget(lvJobs);
    connect(lvJobs, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* item) {
        Q_EMIT JobSelected(item->data(0, Qt::UserRole).toInt());
    });
    lblOverall = NewLabel(this, "lblOverall");
    lblOverall->setTextFormat(Qt::PlainText);
    lblOverall->hide();
    layout->addWidget(lblOverall);
    lblEstimate = NewLabel(this, "lblEstimate");
    lblEstimate->setTextFormat(Qt::PlainText);
    lblEstimate->hide();
    layout->addWidget(lblEstimate);

    me = Named(new QPlainTextEdit(this), "me");
    me->setReadOnly(true);
    me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    me->setFont(MonospaceFont(font));
    me->setStyleSheet(QStringLiteral(
        "QPlainTextEdit { background: rgb(53, 53, 53); color: rgb(218, 215, 205); }"));
    layout->addWidget(me, 1);

    auto* pnBottom = Named(new QWidget(this), "pnBottom");
    pnBottom->setFixedHeight(96);
    auto* grid = new QGridLayout(pnBottom);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setVerticalSpacing(2);
    lblStatus = NewLabel(pnBottom, "lblStatus");
    lblStatus->setTextFormat(Qt::RichText);
    lblInputFile = NewLabel(pnBottom, "lblInputFile");
    lblInputFile->setTextFormat(Qt::PlainText);
    lblOutputFile = NewLabel(pnBottom, "lblOutputFile");
    lblOutputFile->setTextFormat(Qt::RichText);
    lblProgress = NewLabel(pnBottom, "lblProgress");
    pbFile = Named(new QProgressBar(pnBottom), "pbFile");
    pbFile->setRange(0, 100);
    pbFile->setValue(0);
    btnAbort = Named(new QPushButton(pnBottom), "btnAbort");
    btnAbort->setMinimumWidth(100);
    lblStatusDesc = NewLabel(pnBottom, "lblStatusDesc");
    grid->addWidget(lblStatusDesc, 0, 0);
    grid->addWidget(lblStatus, 0, 1, 1, 2);
    lblInputFileDesc = NewLabel(pnBottom, "lblInputFileDesc");
    grid->addWidget(lblInputFileDesc, 1, 0);
    grid->addWidget(lblInputFile, 1, 1, 1, 2);
    lblOutputFileDesc = NewLabel(pnBottom, "lblOutputFileDesc");
    grid->addWidget(lblOutputFileDesc, 2, 0);
    grid->addWidget(lblOutputFile, 2, 1, 1, 2);
    grid->addWidget(lblProgress, 3, 0);
    grid->addWidget(pbFile, 3, 1);
    grid->addWidget(btnAbort, 3, 2);
    grid->setColumnStretch(1, 1);
    layout->addWidget(pnBottom);
    connect(btnAbort, &QPushButton::clicked, this, [this] { actAbortExecute(); });
    connect(chHideEncoderOutput, &QCheckBox::toggled, this,
            &TFormProgress::EncoderOutputHiddenChanged);
    OutputTimer = new QTimer(this);
    OutputTimer->setSingleShot(true);
    OutputTimer->setInterval(150);
    connect(OutputTimer, &QTimer::timeout, this, &TFormProgress::FlushEncoderOutput);

    resize(774, 383);
    setMinimumSize(600, 300);
    SetLang(strings);
}

void TFormProgress::actAbortExecute() {
    if (Running)
        Q_EMIT AbortClicked(); // "q" now; the encoder is ended if it goes on past the grace period
    else
        hide();
}

void TFormProgress::closeEvent(QCloseEvent* event) {
    if (Running)
        actAbortExecute();
    event->accept();
}

void TFormProgress::SetBatchRunning(bool running) {
    Running = running;
}

void TFormProgress::ShowJobList(bool visible) {
    lvJobs->setVisible(visible);
    if (!visible) {
        lvJobs->clear();
        SetOverall(QString());
    }
}

void TFormProgress::SetJob(int job, const QString& file, int percent, const QString& speed) {
    QTreeWidgetItem* item = nullptr;
    for (int i = 0; i < lvJobs->topLevelItemCount() && !item; ++i)
        if (lvJobs->topLevelItem(i)->data(0, Qt::UserRole).toInt() == job)
            item = lvJobs->topLevelItem(i);
    if (!item) {
        item = new QTreeWidgetItem(lvJobs);
        item->setData(0, Qt::UserRole, job);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    }
    const QString percentText = QStringLiteral("%1%").arg(percent);
    if (item->text(0) != file)
        item->setText(0, file);
    if (item->text(1) != percentText)
        item->setText(1, percentText);
    if (item->text(2) != speed)
        item->setText(2, speed);
}

void TFormProgress::RemoveJob(int job) {
    for (int i = 0; i < lvJobs->topLevelItemCount(); ++i)
        if (lvJobs->topLevelItem(i)->data(0, Qt::UserRole).toInt() == job) {
            delete lvJobs->takeTopLevelItem(i);
            return;
        }
}

int TFormProgress::SelectedJob() const {
    const QList<QTreeWidgetItem*> selected = lvJobs->selectedItems();
    return selected.isEmpty() ? -1 : selected.first()->data(0, Qt::UserRole).toInt();
}

void TFormProgress::SetEstimate(const QString& text) {
    lblEstimate->setText(text);
    lblEstimate->setVisible(!text.isEmpty());
}

QString TFormProgress::EstimateText() const {
    return lblEstimate->isHidden() ? QString() : lblEstimate->text();
}

void TFormProgress::SetOverall(const QString& text) {
    if (lblOverall->text() != text)
        lblOverall->setText(text);
    lblOverall->setVisible(!text.isEmpty());
}

QString TFormProgress::OverallText() const {
    return lblOverall->isVisible() ? lblOverall->text() : QString();
}

int TFormProgress::JobRows() const {
    return lvJobs->topLevelItemCount();
}

bool TFormProgress::EncoderOutputHidden() const {
    return chHideEncoderOutput->isChecked();
}

void TFormProgress::ShowStatusLine(const QString& html) {
    const QString text = BadgesAsStyledSpans(html);
    if (lblStatus->text() != text)
        lblStatus->setText(text);
}

void TFormProgress::ShowProgress(int percent, const QString& caption) {
    pbFile->setValue(percent);
    if (windowTitle() != caption)
        setWindowTitle(caption);
}

void TFormProgress::ShowEncoderOutput(const QString& text) {
    PendingOutput = text;
    OutputPending = true;
    if (!OutputTimer->isActive())
        OutputTimer->start();
}

void TFormProgress::FlushEncoderOutput() {
    OutputTimer->stop();
    if (!OutputPending)
        return;
    OutputPending = false;
    // The last lines are what matters; a pane of endless warnings would slow everything down.
    constexpr int MaxPaneLines = 5000;
    QString text = PendingOutput;
    if (text.count(u'\n') > MaxPaneLines) {
        qsizetype cut = text.size();
        for (int i = 0; i < MaxPaneLines && cut > 0; ++i)
            cut = text.lastIndexOf(u'\n', cut - 1);
        text = text.mid(cut + 1);
    }
    if (me->toPlainText() != text)
        me->setPlainText(text);
    if (AppParams.ScrollProgressToBottom)
        me->verticalScrollBar()->setValue(me->verticalScrollBar()->maximum());
}

void TFormProgress::SetAbortCaption(const QString& caption) {
    btnAbort->setText(caption);
}

void TFormProgress::SetProgressBar(int percent) {
    pbFile->setValue(percent);
}

void TFormProgress::SetProgressBarVisible(bool visible) {
    pbFile->setVisible(visible);
    lblProgress->setVisible(visible);
}

void TFormProgress::SetInputFile(const QString& path) {
    lblInputFile->setText(path);
}

void TFormProgress::SetOutputLabel(const QString& html) {
    lblOutputFile->setText(BadgesAsStyledSpans(html));
}

void TFormProgress::SetStatus(const QString& html, std::optional<quint32> colour) {
    QString text = BadgesAsStyledSpans(html);
    if (colour) {
        // 0x00BBGGRR; on a dark palette made readable on the window's background.
        TRgb rgb{int(*colour & 0xFF), int((*colour >> 8) & 0xFF), int((*colour >> 16) & 0xFF)};
        const QColor window = palette().color(QPalette::Window);
        const TRgb background{window.red(), window.green(), window.blue()};
        if (IsDark(background))
            rgb = ReadableText(rgb, background);
        text = QStringLiteral("<span style=\"color:%1\">%2</span>")
                   .arg(QColor(rgb.R, rgb.G, rgb.B).name(), text);
    }
    lblStatus->setText(text);
}

bool TFormProgress::CloseAfterConversion() const {
    return chCloseAfterConversion->isChecked();
}

void TFormProgress::LoadSettings(const TProgramSettings& s) {
    chHideEncoderOutput->setChecked(s.Progress.DontShowEncoderOutput);
    chCloseAfterConversion->setChecked(s.Progress.CloseAfterConversion);
    resize(s.Progress.Width, s.Progress.Height);
    AppParams.ScrollProgressToBottom = s.Progress.AutoScrollMemoToBottom;
}

void TFormProgress::ReadSettings(TProgramSettings& s) const {
    s.Progress.DontShowEncoderOutput = chHideEncoderOutput->isChecked();
    s.Progress.CloseAfterConversion = chCloseAfterConversion->isChecked();
    s.Progress.Left = x();
    s.Progress.Top = y();
    s.Progress.Width = width();
    s.Progress.Height = height();
    s.Progress.AutoScrollMemoToBottom = AppParams.ScrollProgressToBottom;
}

void TFormProgress::SetLang(const TAppStrings& strings) {
    Strings = &strings;
    const TProgressModuleStrings& p = strings.Progress;
    setWindowTitle(p.Caption);
    lblEncoderOutput->setText(p.lblEncoderOutput);
    chHideEncoderOutput->setText(p.chHideEncoderOutput);
    chCloseAfterConversion->setText(p.chCloseAfterConversion);
    lblStatusDesc->setText(p.lblStatus);
    lblInputFileDesc->setText(p.lblInputFile);
    lblOutputFileDesc->setText(p.lblOutputFile);
    lblProgress->setText(p.lblProgress);
    lvJobs->setHeaderLabels({p.colFile, p.colPercent, p.colSpeed});
    if (!Running)
        btnAbort->setText(strings.Main.Close);
}

QString TFormProgress::StatusHtml() const {
    return lblStatus->text();
}

QString TFormProgress::OutputText() const {
    const_cast<TFormProgress*>(this)->FlushEncoderOutput();
    return me->toPlainText();
}

int TFormProgress::Percent() const {
    return pbFile->value();
}
