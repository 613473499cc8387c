#include "windows/dialogs/FormErrors.h"

#include "core/AppParams.h"
#include "execution/ErrorLog.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QAction>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QVBoxLayout>

TFormErrors::TFormErrors(const TAppStrings& strings, TErrorLog& log, const TFontParams& font,
                         QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                         Qt::WindowMaximizeButtonHint),
      Strings(&strings), Log(log) {
    setObjectName(QStringLiteral("FormErrors"));
    me = Named(new QPlainTextEdit(this), "me");
    me->setFont(MonospaceFont(font));
    me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(me, 1);
    auto* pnBottom = Named(new QWidget(this), "pnBottom");
    pnBottom->setFixedHeight(41);
    auto* buttons = new QHBoxLayout(pnBottom);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch(1);
    btnClearLog = Named(new QPushButton(pnBottom), "btnClearLog");
    btnSaveLog = Named(new QPushButton(pnBottom), "btnSaveLog");
    btnClose = Named(new QPushButton(pnBottom), "btnClose");
    for (QPushButton* button : {btnClearLog, btnSaveLog, btnClose}) {
        button->setFixedSize(120, 27);
        buttons->addWidget(button);
    }
    layout->addWidget(pnBottom);
    connect(btnClearLog, &QPushButton::clicked, this, [this] {
        Log.ClearText();
        me->clear();
    });
    connect(btnSaveLog, &QPushButton::clicked, this,
            [this] { Guarded(this, [this] { SaveLog(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);
    resize(646, 349);
    setMinimumSize(400, 200);
    SetLang(strings);
}

void TFormErrors::Refresh() {
    me->setPlainText(Log.Text().join(u'\n'));
}

QString TFormErrors::Text() const {
    return me->toPlainText();
}

bool TFormErrors::SaveTo(const QString& fileName, QString* error) const {
    QByteArray bytes;
    for (const QString& line : me->toPlainText().split(u'\n'))
        bytes += line.toUtf8() + "\r\n";
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void TFormErrors::SaveLog() {
    QString file = QFileDialog::getSaveFileName(
        this, QString(), AppDir + QStringLiteral("/Zorvane_Errors.log"),
        DialogFilter(Strings->Errors.dlgSaveLogFilter, QStringLiteral("*.log *.LOG")));
    if (file.isEmpty())
        return;
    if (!file.contains(u'.'))
        file += QStringLiteral(".log");
    QString error;
    if (!SaveTo(file, &error))
        ShowWarning(this, error);
}

void TFormErrors::SetLang(const TAppStrings& strings) {
    Strings = &strings;
    setWindowTitle(strings.Errors.Caption);
    btnClearLog->setText(strings.Errors.actClearLog);
    btnSaveLog->setText(strings.Errors.actSaveLog);
    btnClose->setText(strings.Errors.actClose);
}
