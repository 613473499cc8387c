#pragma once

#include "filelist/ListColumns.h"

#include <QList>
#include <QString>
#include <array>

class QAction;
class QWidget;
struct TAppStrings;
struct TMainActionStates;

// The main window's actions, one member each, named as their objects are (the language files
// use those names as keys). `Create` makes them all, with their shortcuts, owned by the window.
struct TMainActions {
    QAction* actConvert = nullptr;
    QAction* actSaveBat = nullptr;
    QAction* actShowOptions = nullptr;
    QAction* actStayOnTop = nullptr;
    QAction* actMinimizeToTray = nullptr;
    QAction* actExit = nullptr;
    QAction* actShowProgressWindow = nullptr;
    QAction* actShowHideFileInfo = nullptr;
    QAction* actShowHideFormErrors = nullptr;
    QAction* actAddFiles = nullptr;
    QAction* actAddFolder = nullptr;
    QAction* actRemoveChecked = nullptr;
    QAction* actClearFileList = nullptr;
    QAction* actCheckAll = nullptr;
    QAction* actUncheckAll = nullptr;
    QAction* actInvertSelection = nullptr;
    QAction* actCheckSelected = nullptr;
    QAction* actUncheckSelected = nullptr;
    QAction* actLoadFileList = nullptr;
    QAction* actSaveFileList = nullptr;
    QAction* actExploreDirectory = nullptr;
    QAction* actLoadProfile = nullptr;
    QAction* actSaveProfile = nullptr;
    QAction* actLoadSelectedProfile = nullptr;
    QAction* actSetDefaultEncoderSettings = nullptr;
    QAction* actShowCmdLine = nullptr;
    QAction* actPreview = nullptr;
    QAction* actToolsInfo = nullptr;
    QAction* actHelp = nullptr;
    QAction* actGoToHomePage = nullptr;
    QAction* actGoToDonation = nullptr;
    QAction* actGoToFacebook = nullptr;
    QAction* actGoToTwitter = nullptr;
    QAction* actCheckUpdate = nullptr;
    QAction* actAbout = nullptr;
    QAction* actShowHideMainWindow = nullptr;
    QAction* actBrowseOutDir = nullptr;
    QAction* actExploreOutDir = nullptr;
    QAction* actEsc = nullptr;
    // "actColNoVisible" and the others, by list column; null for the columns always shown.
    std::array<QAction*, ListColumnCount> actColVisible{};

    void Create(QWidget* owner);
    // Every action made, in the order of the table.
    QList<QAction*> All() const;
    // The action of that object name; null for none.
    QAction* ByName(QStringView name) const;
    // The column actions in the order of the columns menus, with null for a separator.
    QList<QAction*> ColumnMenu() const;

    // Captions, tool tips and the toolbar's short texts from the catalogue.
    void SetLang(const TAppStrings& strings);
    // The states that follow the file list and the output options.
    void ApplyStates(const TMainActionStates& states);
};
