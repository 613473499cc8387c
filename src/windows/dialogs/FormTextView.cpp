#include "windows/dialogs/FormTextView.h"

#include "core/Types.h"
#include "windows/Widgets.h"

#include <QFontDatabase>
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
    QFont f = font.Name.isEmpty() ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                  : QFont(font.Name, font.Size);
    me->setFont(f);
    (new QVBoxLayout(this))->addWidget(me);
    resize(760, 520);
}

void TFormTextView::SetText(const QString& text) {
    me->setPlainText(text);
}
