#pragma once

#include "app/UpdateCheck.h"

#include <QDialog>

class QLabel;
class QNetworkAccessManager;
class QNetworkReply;
class QPlainTextEdit;
class QPushButton;
class QTimer;
struct TAppStrings;
struct TFontParams;

// Tells whether a newer release has been published. The request runs while the window stays
// usable, and ends after a time limit.
class TFormCheckUpdate : public QDialog {
    Q_OBJECT

public:
    TFormCheckUpdate(const TAppStrings& strings, const TFontParams& font, QWidget* owner);
    // Opening through the main window: cleared, and a check a second later.
    void Open();
    void CheckNow();
    void ClearStatus();
    void SetLang(const TAppStrings& strings);
    QString StatusText() const;
    bool Checking() const { return Reply != nullptr; }

    int TimeoutMs = UpdateTimeoutMs;

Q_SIGNALS:
    void Finished(TUpdateOutcome outcome);

private:
    void Show(TUpdateOutcome outcome, const TUpdateAnswer& answer);
    void SetColors(const QColor& background, const QColor& text);

    const TAppStrings* Strings;
    QLabel* lblUserVersionDesc;
    QLabel* lblLatestVersionDesc;
    QLabel* lblLatestVersion;
    QPlainTextEdit* me;
    QPushButton* btnCheckNow;
    QPushButton* btnGoToDownloadPage;
    QPushButton* btnClose;
    QTimer* tmCheckUpdate;
    QTimer* Deadline;
    QNetworkAccessManager* Network;
    QNetworkReply* Reply = nullptr;
    QByteArray Received;
};
