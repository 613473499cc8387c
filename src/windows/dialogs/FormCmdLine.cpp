#include "windows/dialogs/FormCmdLine.h"

#include "core/Types.h"
#include "localisation/AppStrings.h"
#include "windows/Widgets.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QVBoxLayout>

TFormCmdLine::TFormCmdLine(const TAppStrings& strings, const TFontParams& font, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("FormCmdLine"));
    me = Named(new QPlainTextEdit(this), "me");
    me->setReadOnly(true);
    me->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    me->setFont(MonospaceFont(font));
    me->setStyleSheet(QStringLiteral("QPlainTextEdit { background: #FEF7E0; color: black; }"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(me);
    resize(762, 170);
    setMinimumSize(500, 150);
    SetLang(strings);
}

void TFormCmdLine::SetText(const QString& text) {
    me->setPlainText(text);
}

QString TFormCmdLine::Text() const {
    return me->toPlainText();
}

void TFormCmdLine::SetLang(const TAppStrings& strings) {
    setWindowTitle(strings.Main.CommandLineInfo);
}
