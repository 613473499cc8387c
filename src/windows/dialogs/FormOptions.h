#pragma once

#include "app/ProgramSettings.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TLangIniList;
struct TAppStrings;

// What the options window changes, through the main window that owns it.
struct TOptionsHost {
    std::function<TProgramSettings()> Settings;
    std::function<void(const TProgramSettings&)> Apply;
    std::function<const TLangIniList&()> Languages;
    std::function<QString()> LanguageIni;
    std::function<void(const QString& nativeName)> SwitchLanguage;
    std::function<void()> CreateShortcut;
};

// The options: the file list's look, the analysis of added files, the default video encoder, the
// number of conversions at once, the language, and the desktop shortcut. Every change takes effect
// at once.
class TFormOptions : public QDialog {
    Q_OBJECT

public:
    TFormOptions(const TAppStrings& strings, TOptionsHost host, const QKeySequence& closeKey,
                 QWidget* owner);
    void InitControls();
    void InitCbLanguage();
    void SetLang(const TAppStrings& strings);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Runs a change against the current settings, unless the window is filling its controls.
    void Change(const std::function<void(TProgramSettings&)>& change);

    TOptionsHost Host;
    bool UpdatingControls = false;
    QGroupBox* pnFileList;
    QGroupBox* gbLanguage;
    QLabel* lblFileListFontName;
    QLabel* lblFileListFontSize;
    QLabel* lblFileListRowHeight;
    QLabel* lblFileListAnalysis;
    QLabel* lblDefaultVideoCodec;
    QLabel* lblSimultaneousConversions;
    QPushButton* btnCreateShortcutOnDesktop;
    QPushButton* btnOK;
    QFontComboBox* cbFileListFont;
    QSpinBox* edFileListFontSize;
    QSpinBox* edFileListRowHeight;
    QCheckBox* chFileListAllowRowMoving;
    QCheckBox* chFileListAllowColumnMoving;
    QCheckBox* chFileListGridLines;
    QCheckBox* chFileListFooter;
    QCheckBox* chFileListRowIndicator;
    QCheckBox* chFileListIconClickOpen;
    QComboBox* cbFileListFileAnalysis;
    QComboBox* cbLanguage;
    QComboBox* cbDefaultVideoCodec;
    QComboBox* cbSimultaneousConversions;
};
