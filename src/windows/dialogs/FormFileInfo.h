#pragma once

#include "filelist/VideoFileInfo.h"

#include <QDialog>
#include <QHash>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TAnalysisCache;
struct TAppStrings;

// The properties of the selected file: general data, one video and one audio stream chosen by
// number, the encoder's stream lines, and the text report to copy or save.
class TFormFileInfo : public QDialog {
    Q_OBJECT

public:
    TFormFileInfo(const TAppStrings& strings, TAnalysisCache& cache, QWidget* owner);

    // Analyses the file (a kept analysis of an unchanged file serves) and shows it.
    void ShowFile(const QString& path, int audioNo, int videoNo);
    void UpdateList(const TVideoFileInfo& info, int audioNo, int videoNo);
    void ClearAll();
    void SetLang(const TAppStrings& strings);
    QString ReportText() const;
    const QString& FilePath() const { return Path; }

private:
    QLabel* Value(const char* name) const;
    void StreamChosen();
    void Save();

    const TAppStrings* Strings;
    TAnalysisCache& Cache;
    QString Path;
    TVideoFileInfo Shown;
    bool Updating = false;
    QHash<QString, QLabel*> Values;       // by name: "lblFileSize"
    QHash<QString, QLabel*> Descriptions; // their captions, by the same name
    QComboBox* cbVideoStreamNo;
    QComboBox* cbAudioStreamNo;
    QTableWidget* ng;
    QLabel* lblFileName;
    QLabel* lblDirectory;
    QLabel* lblFileNameDesc;
    QLabel* lblDirectoryDesc;
    QLabel* lblDataStreams;
    QGroupBox* pnGeneralInfo;
    QGroupBox* pnVideoStream;
    QGroupBox* pnAudioStream;
    QPushButton* btnCopy;
    QPushButton* btnSave;
    QPushButton* btnClose;
};
