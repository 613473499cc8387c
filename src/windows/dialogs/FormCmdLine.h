#pragma once

#include <QDialog>

class QPlainTextEdit;
struct TAppStrings;
struct TFontParams;

// The encoder command line the program would use for the selected file.
class TFormCmdLine : public QDialog {
    Q_OBJECT

public:
    TFormCmdLine(const TAppStrings& strings, const TFontParams& font, QWidget* owner);
    void SetText(const QString& text);
    QString Text() const;
    void SetLang(const TAppStrings& strings);

private:
    QPlainTextEdit* me;
};
