#pragma once

#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
struct TAppStrings;
struct TProgramSettings;

// pnMid: what to do with existing outputs and after the conversion, the dates, and where the
// outputs go.
class TOutputPanel : public QWidget {
    Q_OBJECT

public:
    TOutputPanel(const TAppStrings& strings, QAction* browse, QAction* explore, QWidget* parent);

    void ShowSettings(const TProgramSettings& s);
    void ReadSettings(TProgramSettings& s) const;
    void SetLang(const TAppStrings& strings);

    bool OutDirChosen() const;
    QString OutDir() const;
    void SetOutDir(const QString& dir);

Q_SIGNALS:
    void OutDirChoiceChanged();

private:
    QComboBox* cbOutputExists;
    QComboBox* cbAfterConversion;
    QCheckBox* chKeepDates;
    QRadioButton* rbOutDirIsInDir;
    QRadioButton* rbOutDir;
    QLineEdit* edOutDir;
};
