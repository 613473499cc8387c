#include "app/MainWindowRules.h"

#include "localisation/AppStrings.h"

QHash<QString, bool> MainActionsEnabled(const TGridInfo& g, int selectedRow, bool outDirChosen) {
    const bool rows = g.RowCount > 0;
    const bool checked = g.CheckedCount > 0;
    return {
        {QStringLiteral("actConvert"), checked},
        {QStringLiteral("actSaveBat"), checked},
        {QStringLiteral("actRemoveChecked"), checked},
        {QStringLiteral("actShowHideFileInfo"), rows},
        {QStringLiteral("actClearFileList"), rows},
        {QStringLiteral("actInvertSelection"), rows},
        {QStringLiteral("actSaveFileList"), rows},
        {QStringLiteral("actCheckAll"), rows && g.UncheckedCount > 0},
        {QStringLiteral("actUncheckAll"), rows && g.CheckedCount > 0},
        {QStringLiteral("actCheckSelected"), g.SelectedUncheckedCount > 0},
        {QStringLiteral("actUncheckSelected"), g.SelectedCheckedCount > 0},
        {QStringLiteral("actExploreDirectory"), selectedRow >= 0 && selectedRow < g.RowCount},
        {QStringLiteral("actBrowseOutDir"), outDirChosen},
        {QStringLiteral("actExploreOutDir"), outDirChosen},
    };
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
