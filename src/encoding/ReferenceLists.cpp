#include "encoding/ReferenceLists.h"

#include "core/TextFile.h"
#include "localisation/AppStrings.h"

#include <algorithm>
#include <optional>

namespace {

// The entries `entryOf` finds in the trimmed lines of a list file (an empty text skips the line),
// or nothing when the file is missing or unreadable.
template <typename TEntryOf>
std::optional<QStringList> LoadEntries(const QString& fileName, TEntryOf entryOf) {
    const TTextFile file = ReadTextFile(fileName);
    if (!file.Exists)
        return std::nullopt;
    QStringList entries;
    for (const QString& raw : SplitLines(file.Text)) {
        const QString entry = entryOf(raw.trimmed());
        if (entry.isEmpty())
            continue;
        entries.append(entry);
        if (entries.size() == MaxReferenceListEntries)
            break;
    }
    return entries;
}

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

} // namespace

QStringList BuiltInFourccTags() {
    return {QStringLiteral("DIV3"), QStringLiteral("DIV4"), QStringLiteral("DIV5"),
            QStringLiteral("DIVX"), QStringLiteral("DX50"), QStringLiteral("DivX"),
            QStringLiteral("FMP4"), QStringLiteral("M4S2"), QStringLiteral("MPG4"),
            QStringLiteral("X264"), QStringLiteral("XVID")};
}

QStringList LoadFourccTags(const QString& fileName) {
    const auto tagOf = [](const QString& line) {
        const auto blank = std::find_if(line.cbegin(), line.cend(), IsBlank);
        if (blank == line.cend())
            return QString();
        const QString tag = line.left(blank - line.cbegin()).trimmed();
        return tag.startsWith(QStringLiteral("//")) ? QString() : tag;
    };
    return LoadEntries(fileName, tagOf).value_or(BuiltInFourccTags());
}

QStringList BuiltInResolutions() {
    return {QStringLiteral("128 x 96 - SQCIF"),    QStringLiteral("176 x 144 - QCIF"),
            QStringLiteral("352 x 288 - CIF"),     QStringLiteral("704 x 576 - 4CIF"),
            QStringLiteral("160 x 120 - QQVGA"),   QStringLiteral("320 x 240 - QVGA"),
            QStringLiteral("640 x 480 - VGA"),     QStringLiteral("800 x 600 - SVGA"),
            QStringLiteral("1024 x 768 - XGA"),    QStringLiteral("1600 x 1200 - UXGA"),
            QStringLiteral("320 x 200 - CGA"),     QStringLiteral("640 x 350 - EGA"),
            QStringLiteral("852 x 480 - HD480"),   QStringLiteral("1280 x 720 - HD720"),
            QStringLiteral("1920 x 1080 - HD1080")};
}

QStringList LoadResolutionEntries(const QString& fileName) {
    const auto entryOf = [](const QString& line) {
        return line.startsWith(QStringLiteral("//")) ? QString() : line;
    };
    return LoadEntries(fileName, entryOf).value_or(BuiltInResolutions());
}

QStringList ResolutionListItems(const TAppStrings& strings, const QString& fileName) {
    return QStringList{strings.Main.Auto, strings.Main.Custom} + LoadResolutionEntries(fileName);
}
