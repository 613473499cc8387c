#pragma once

#include "core/Types.h"
#include "filelist/GridInfo.h"

#include <QHash>
#include <QSize>
#include <QString>
#include <QStringList>

struct TAppStrings;

// The rules of the main window that do not depend on widgets.

// Enabled state of every action whose state depends on the file list or the output options;
// the other actions are always enabled outside a conversion. `selectedRow` is the current row,
// -1 for none; `outDirChosen` tells that outputs go to the chosen output folder.
struct TMainActionStates {
    bool Convert = false, SaveBat = false, RemoveChecked = false, ShowHideFileInfo = false;
    bool ClearFileList = false, InvertSelection = false, SaveFileList = false;
    bool CheckAll = false, UncheckAll = false, CheckSelected = false, UncheckSelected = false;
    bool ExploreDirectory = false, BrowseOutDir = false, ExploreOutDir = false;
    bool operator==(const TMainActionStates&) const = default;
};
TMainActionStates MainActionsEnabled(const TGridInfo& grid, int selectedRow, bool outDirChosen);

// Caption of the "open directory" action for the selected row's folder (empty for none).
QString ExploreDirectoryCaption(const TAppStrings& strings, const QString& directory);

// The font of the program's text panes: Fira Mono 9, else Consolas 10, else Courier New 9, among
// the installed families; empty name when none of them is installed.
TFontParams ChooseMonospaceFont(const QStringList& installedFamilies);

// The main window's size on a screen whose free area is `available`: the saved size, never
// larger than that area (a large scale factor makes a small screen of a large one), and never
// smaller than the window's minimum where the area allows it.
QSize SizeOnScreen(const QSize& saved, const QSize& minimum, const QSize& available);

// Esc closes the main window only outside a conversion and when the settings allow it.
bool EscClosesWindow(bool escExit, bool conversionRunning);
