#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
struct TAppStrings;
struct TFontParams;

// The report on the encoder and the MediaInfo library the program uses.
class TFormToolsInfo : public QDialog {
    Q_OBJECT

public:
    TFormToolsInfo(const TAppStrings& strings, const TFontParams& font, QWidget* owner);
    void SetText(const QString& text);
    QString Text() const;
    void SetLang(const TAppStrings& strings);

private:
    QPlainTextEdit* me;
    QPushButton* btnClose;
};
