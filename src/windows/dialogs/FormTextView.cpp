#include "windows/dialogs/FormTextView.h"

#include "core/Types.h"
#include "windows/Widgets.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

TFormTextView::TFormTextView(const QString& title, const TFontParams& font, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                         Qt::WindowMaximizeButtonHint) {
    setObjectName(QStringLiteral("FormTextView"));
    setWindowTitle(title);
    me = Named(new QPlainTextEdit(this), "me");
    me->setReadOnly(true);
    me->setLineWrapMode(QPlainTextEdit::NoWrap);
    me->setFont(MonospaceFont(font));
    (new QVBoxLayout(this))->addWidget(me);
    resize(760, 520);
}

void TFormTextView::SetText(const QString& text) {
    me->setPlainText(text);
}
