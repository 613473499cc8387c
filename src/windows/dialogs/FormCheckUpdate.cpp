#include "windows/dialogs/FormCheckUpdate.h"

#include "core/Product.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QAction>
#include <QDesktopServices>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

TFormCheckUpdate::TFormCheckUpdate(const TAppStrings& strings, const TFontParams& font,
                                   QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint),
      Strings(&strings) {
    setObjectName(QStringLiteral("FormCheckUpdate"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    auto* user = NewLabel(this, "lblUserVersion", QString::fromUtf16(ProductVersion));
    lblLatestVersion = NewLabel(this, "lblLatestVersion");
    for (QLabel* label : {user, lblLatestVersion}) {
        label->setTextFormat(Qt::PlainText); // what the server says is text, never markup
        QFont bold = label->font();
        bold.setBold(true);
        label->setFont(bold);
    }
    lblUserVersionDesc = NewLabel(this, "lblUserVersionDesc");
    lblLatestVersionDesc = NewLabel(this, "lblLatestVersionDesc");
    grid->addWidget(lblUserVersionDesc, 0, 0);
    grid->addWidget(user, 0, 1);
    grid->addWidget(lblLatestVersionDesc, 1, 0);
    grid->addWidget(lblLatestVersion, 1, 1);
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    me = Named(new QPlainTextEdit(this), "me");
    me->setReadOnly(true);
    me->setFont(MonospaceFont(font));
    layout->addWidget(me, 1);
    auto* buttons = new QHBoxLayout;
    btnCheckNow = Named(new QPushButton(this), "btnCheckNow");
    btnGoToDownloadPage = Named(new QPushButton(this), "btnGoToDownloadPage");
    btnClose = Named(new QPushButton(this), "btnClose");
    buttons->addWidget(btnCheckNow);
    buttons->addWidget(btnGoToDownloadPage);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    connect(btnCheckNow, &QPushButton::clicked, this, &TFormCheckUpdate::CheckNow);
    connect(btnGoToDownloadPage, &QPushButton::clicked, this,
            [] { QDesktopServices::openUrl(QUrl(QString::fromUtf16(HomePageUrl))); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);

    tmCheckUpdate = new QTimer(this);
    tmCheckUpdate->setSingleShot(true);
    tmCheckUpdate->setInterval(1000);
    connect(tmCheckUpdate, &QTimer::timeout, this, &TFormCheckUpdate::CheckNow);
    Deadline = new QTimer(this);
    Deadline->setSingleShot(true);
    connect(Deadline, &QTimer::timeout, this, [this] {
        if (Reply)
            Reply->abort(); // ends as no connection
    });
    Network = new QNetworkAccessManager(this);

    resize(465, 190);
    SetLang(strings);
    ClearStatus();
}

void TFormCheckUpdate::Open() {
    ClearStatus();
    tmCheckUpdate->start();
    show();
    raise();
}

void TFormCheckUpdate::SetColors(const QColor& background, const QColor& text) {
    // A style sheet, not the palette: the main window's style sheet reaches this pane too.
    me->setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; color: %2; }")
                          .arg(background.name(), text.name()));
}

void TFormCheckUpdate::ClearStatus() {
    SetColors(palette().color(QPalette::Button), palette().color(QPalette::WindowText));
    me->clear();
    btnGoToDownloadPage->hide();
}

void TFormCheckUpdate::CheckNow() {
    if (Reply)
        return;
    ClearStatus();
    btnCheckNow->setEnabled(false);
    lblLatestVersion->clear();
    me->setPlainText(FormatCatalogText(Strings->CheckUpdate.CheckingUpdates));
    Received.clear();
    QNetworkRequest request{QUrl(UpdateInformationAddress())};
    request.setRawHeader("Accept", "*/*");
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)"));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    Reply = Network->get(request);
    connect(Reply, &QNetworkReply::readyRead, this, [this] {
        Received += Reply->read(UpdateAnswerLimit - Received.size());
        if (Received.size() >= UpdateAnswerLimit)
            Reply->abort(); // the first 1,024 bytes are all that is read
    });
    connect(Reply, &QNetworkReply::finished, this, [this] {
        Deadline->stop();
        const bool failed =
            Reply->error() != QNetworkReply::NoError && Received.size() < UpdateAnswerLimit;
        if (!failed && Received.size() < UpdateAnswerLimit)
            Received += Reply->read(UpdateAnswerLimit - Received.size());
        Reply->deleteLater();
        Reply = nullptr;
        const TUpdateAnswer answer = EvaluateUpdateAnswer(failed ? QByteArray() : Received,
                                                          QString::fromUtf16(ProductVersion));
        Show(answer.Outcome, answer);
    });
    Deadline->start(TimeoutMs);
}

void TFormCheckUpdate::Show(TUpdateOutcome outcome, const TUpdateAnswer& answer) {
    const TCheckUpdateModuleStrings& c = Strings->CheckUpdate;
    lblLatestVersion->setText(answer.LatestVersion);
    switch (outcome) {
    case TUpdateOutcome::ConnectionFailed:
    case TUpdateOutcome::CannotCheck:
        SetColors(QColor(0xFA, 0xDA, 0xDA), QColor(0x4F, 0x0B, 0x0B));
        me->setPlainText(FormatCatalogText(
            outcome == TUpdateOutcome::ConnectionFailed ? c.ConnectionFailed : c.CannotCheck));
        break;
    case TUpdateOutcome::NoUpdates:
        SetColors(palette().color(QPalette::Button), palette().color(QPalette::WindowText));
        me->setPlainText(FormatCatalogText(c.NoUpdates));
        break;
    case TUpdateOutcome::UpdateAvailable:
        SetColors(QColor(0xE6, 0xF0, 0xE3), QColor(0x1D, 0x2F, 0x1A));
        me->setPlainText(FormatCatalogText(c.UpdatesAvailable) +
                         QStringLiteral("\n\nLatestVersion=") + answer.LatestVersion +
                         QStringLiteral("\nReleaseDate=") + answer.ReleaseDate);
        btnGoToDownloadPage->show();
        break;
    }
    btnCheckNow->setEnabled(true);
    Q_EMIT Finished(outcome);
}

QString TFormCheckUpdate::StatusText() const {
    return me->toPlainText();
}

void TFormCheckUpdate::SetLang(const TAppStrings& strings) {
    Strings = &strings;
    const TCheckUpdateModuleStrings& c = strings.CheckUpdate;
    setWindowTitle(c.Caption);
    lblUserVersionDesc->setText(c.lblUserVersion);
    lblLatestVersionDesc->setText(c.lblLatestVersion);
    btnCheckNow->setText(c.CheckNow);
    btnGoToDownloadPage->setText(c.btnDownload);
    btnGoToDownloadPage->setToolTip(c.GoToDownloadPage);
    btnClose->setText(c.actClose);
}
