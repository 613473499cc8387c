#include "app/MainWindowRules.h"

#include "localisation/AppStrings.h"

TMainActionStates MainActionsEnabled(const TGridInfo& g, int selectedRow, bool outDirChosen) {
    const bool rows = g.RowCount > 0;
    const bool checked = g.CheckedCount > 0;
    TMainActionStates on;
    on.Convert = on.SaveBat = on.RemoveChecked = checked;
    on.ShowHideFileInfo = on.ClearFileList = on.InvertSelection = on.SaveFileList = rows;
    on.CheckAll = rows && g.UncheckedCount > 0;
    on.UncheckAll = rows && g.CheckedCount > 0;
    on.CheckSelected = g.SelectedUncheckedCount > 0;
    on.UncheckSelected = g.SelectedCheckedCount > 0;
    on.ExploreDirectory = selectedRow >= 0 && selectedRow < g.RowCount;
    on.BrowseOutDir = on.ExploreOutDir = outDirChosen;
    return on;
}

QString ExploreDirectoryCaption(const TAppStrings& strings, const QString& directory) {
    return FormatCatalogText(strings.Main.actExploreDirectory, directory);
}

TFontParams ChooseMonospaceFont(const QStringList& installed) {
    const auto has = [&](const char* family) {
        return installed.contains(QLatin1StringView(family), Qt::CaseInsensitive);
    };
    if (has("Fira Mono"))
        return {QStringLiteral("Fira Mono"), 9};
    if (has("Consolas"))
        return {QStringLiteral("Consolas"), 10};
    if (has("Courier New"))
        return {QStringLiteral("Courier New"), 9};
    return {QString(), 9};
}

bool EscClosesWindow(bool escExit, bool conversionRunning) {
    return escExit && !conversionRunning;
}

QSize SizeOnScreen(const QSize& saved, const QSize& minimum, const QSize& available) {
    if (!available.isValid() || available.isEmpty())
        return saved;
    return saved.expandedTo(minimum).boundedTo(available);
}
