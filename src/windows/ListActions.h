#pragma once

#include "encoding/EncoderSettings.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class TAnalysisCache;
class TFileListPanel;
class TFormCmdLine;
class TFormFileInfo;
class TSecondaryWindows;
struct TAppStrings;
struct TMainActions;

// The file list's actions: adding files, folders and list files (also by dropping), removing and
// checking rows, saving the list, opening folders, and the selected file's properties and
// command line.
class TListActions : public QObject {
    Q_OBJECT

public:
    // What the actions need of the rest of the window.
    struct THost {
        // The encoder settings as the controls hold them now.
        std::function<const TEncoderSettings&()> ReadSettings;
        // The resolution list's entries, for the command line.
        std::function<QStringList()> ResolutionEntries;
        // The chosen output folder.
        std::function<QString()> OutDir;
    };

    TListActions(const TAppStrings& strings, TFileListPanel& list, TAnalysisCache& cache,
                 const TMainActions& actions, TSecondaryWindows& secondaries, THost host,
                 QWidget* window);

    // Adds files, folders and list files as a drop does.
    void AddDropped(const QStringList& names);
    // The folder the file dialogs open in: where the user last took files from.
    const QString& InitialDir() const { return InitialDir_; }
    void SetInitialDir(const QString& folder);

private:
    void AddFiles();
    void AddFolder();
    void LoadFileList();
    void SaveFileList();
    void ExploreDirectory();
    void ExploreOutDir();
    void ShowHideFileInfo();
    void RefreshFileInfo();
    void ShowCmdLine(bool fromList);
    void CurrentRowChanged();

    const TAppStrings& Strings;
    TFileListPanel& List;
    TAnalysisCache& Cache;
    TSecondaryWindows& Secondaries;
    THost Host;
    QWidget* Window;
    QString InitialDir_;
    TFormFileInfo* FormFileInfo = nullptr;
    TFormCmdLine* FormCmdLine = nullptr;
};
