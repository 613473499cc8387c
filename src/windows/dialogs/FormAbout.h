#pragma once

#include <QDialog>

class QLabel;
class QWidget;
struct TAppStrings;

// The about window: product, version, release date, the tool versions the release was made
// for, and links.
class TFormAbout : public QDialog {
    Q_OBJECT

public:
    TFormAbout(const TAppStrings& strings, const QKeySequence& closeKey, QWidget* owner);
    void SetLang(const TAppStrings& strings);

private:
    QWidget* pnMain;
    QLabel* lblDonation;
};
