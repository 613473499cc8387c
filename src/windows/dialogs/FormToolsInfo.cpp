#include "windows/dialogs/FormToolsInfo.h"

#include "core/Types.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFormToolsInfo::TFormToolsInfo(const TAppStrings& strings, const TFontParams& font, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                         Qt::WindowMaximizeButtonHint) {
    setObjectName(QStringLiteral("FormToolsInfo"));
    me = Named(new QPlainTextEdit(this), "me");
    me->setReadOnly(true);
    me->setLineWrapMode(QPlainTextEdit::NoWrap);
    me->setFont(MonospaceFont(font));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(me, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    btnClose = Named(new QPushButton(this), "btnClose");
    bottom->addWidget(btnClose);
    layout->addLayout(bottom);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::hide);
    resize(748, 304);
    setMinimumSize(300, 200);
    SetLang(strings);
}

void TFormToolsInfo::SetText(const QString& text) {
    QString shown = text;
    me->setPlainText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

QString TFormToolsInfo::Text() const {
    return me->toPlainText();
}

void TFormToolsInfo::SetLang(const TAppStrings& strings) {
    setWindowTitle(strings.ToolsInfo.Caption);
    btnClose->setText(strings.ToolsInfo.actClose);
}
