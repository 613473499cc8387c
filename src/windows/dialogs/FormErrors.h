#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class TErrorLog;
struct TAppStrings;
struct TFontParams;

// The error log: one entry for every failed encoder run of the last batch; the user may edit,
// clear or save it.
class TFormErrors : public QDialog {
    Q_OBJECT

public:
    TFormErrors(const TAppStrings& strings, TErrorLog& log, const TFontParams& font,
                QWidget* owner);
    // Shows the log's entries as they are now.
    void Refresh();
    QString Text() const;
    void SetLang(const TAppStrings& strings);
    // Saves the log's lines to a file; false with the reason when it cannot be written.
    bool SaveTo(const QString& fileName, QString* error) const;

private:
    void SaveLog();

    const TAppStrings* Strings;
    TErrorLog& Log;
    QPlainTextEdit* me;
    QPushButton* btnClearLog;
    QPushButton* btnSaveLog;
    QPushButton* btnClose;
};
