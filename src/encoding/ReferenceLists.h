#pragma once

#include <QString>
#include <QStringList>

struct TAppStrings;

// The editable lists of the encoder settings that users can extend through files in the data
// folder. A missing (or unreadable) file selects the built-in list.

// At most this many entries are taken from a file: the lists are drop-down lists.
inline constexpr qsizetype MaxReferenceListEntries = 4096;

QStringList BuiltInFourccTags();
// Video tags of the four-character-code file, in file order: the text before the first blank of
// every line that has one; tags beginning with "//" are comments.
QStringList LoadFourccTags(const QString& fileName);

QStringList BuiltInResolutions();
// Entries of the resolution file: every trimmed non-empty line not beginning with "//".
QStringList LoadResolutionEntries(const QString& fileName);
// The resolution list as shown: Auto, Custom, then the file's (or the built-in) entries.
QStringList ResolutionListItems(const TAppStrings& strings, const QString& fileName);
