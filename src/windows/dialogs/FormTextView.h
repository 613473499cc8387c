#pragma once

#include <QDialog>

class QPlainTextEdit;
struct TFontParams;

// A read-only text in the monospace font (the encoder's description of its options).
class TFormTextView : public QDialog {
    Q_OBJECT

public:
    TFormTextView(const QString& title, const TFontParams& font, QWidget* owner);
    void SetText(const QString& text);

private:
    QPlainTextEdit* me;
};
