#pragma once

#include "localisation/AppStringsData.h"

#include <QString>
#include <span>

#define ZORVANE_STRING_FIELD(field, key, english) QString field;

struct TMainModuleStrings {
    ZORVANE_MAIN_STRINGS(ZORVANE_STRING_FIELD)
};
struct TErrorsModuleStrings {
    ZORVANE_ERRORS_STRINGS(ZORVANE_STRING_FIELD)
};
struct TFileInfoModuleStrings {
    ZORVANE_FILEINFO_STRINGS(ZORVANE_STRING_FIELD)
};
struct TOptionsModuleStrings {
    ZORVANE_OPTIONS_STRINGS(ZORVANE_STRING_FIELD)
};
struct TProgressModuleStrings {
    ZORVANE_PROGRESS_STRINGS(ZORVANE_STRING_FIELD)
};
struct TAboutModuleStrings {
    ZORVANE_ABOUT_STRINGS(ZORVANE_STRING_FIELD)
};
struct TToolsInfoModuleStrings {
    ZORVANE_TOOLSINFO_STRINGS(ZORVANE_STRING_FIELD)
    QString actClose;
};
struct TCheckUpdateModuleStrings {
    ZORVANE_CHECKUPDATE_STRINGS(ZORVANE_STRING_FIELD)
    QString actClose;
};

#undef ZORVANE_STRING_FIELD

// The catalogue of every text the user sees, English after construction and after SetEN, and
// overlaid by a language file with LoadFromFile. Entries are named Section.Field.
struct TAppStrings {
    TMainModuleStrings Main;
    TErrorsModuleStrings Errors;
    TFileInfoModuleStrings FileInfo;
    TOptionsModuleStrings Options;
    TProgressModuleStrings Progress;
    TAboutModuleStrings About;
    TToolsInfoModuleStrings ToolsInfo;
    TCheckUpdateModuleStrings CheckUpdate;
    QString LanguageName;

    TAppStrings() { SetEN(); }

    // Every entry to its English default, LanguageName to "English".
    void SetEN();
    // Overlays the entries with the values of a language file; keys the file lacks keep their
    // current text. A file that does not exist changes nothing.
    void LoadFromFile(const QString& fileName);
};

// One keyed entry of the catalogue, in the order of the language file.
struct TCatalogEntry {
    const char16_t* Section; // language file section
    const char16_t* Key;     // language file key
    const char16_t* Field;   // field name, as in Main.chKeepDates
    const char16_t* English;
    QString& (*Entry)(TAppStrings&);
};

std::span<const TCatalogEntry> CatalogEntries();
const QString& CatalogValue(const TAppStrings& strings, const TCatalogEntry& entry);

// The full name "Section.Field" of an entry, such as "Main.CantCreateDirectory".
QString CatalogEntryName(const TCatalogEntry& entry);

// Sections of the language file, in the order in which they are read.
inline constexpr const char16_t* CatalogSections[] = {u"MAIN",      u"Errors",     u"FileInfo",
                                                      u"Options",   u"About",      u"Progress",
                                                      u"ToolsInfo", u"CheckUpdate"};

// A complete language file of the catalogue's current texts: section INFO, then every key of
// every section. Lines end with `lineBreak`.
QString CatalogToLanguageFile(const TAppStrings& strings, const QString& nativeName,
                              const QString& lineBreak);

// The template with backslash-n turned into CR LF, backslash-t into a tab, the first "%s" into
// arg1 and then the first remaining "%s" into arg2.
QString FormatCatalogText(const QString& templ, const QString& arg1 = {}, const QString& arg2 = {});

// The text of the warning shown when the encoder is missing.
QString FFmpegNotFoundText(const TAppStrings& strings);

// The text of the entry named "Section.Field" ("Main.chKeepDates"); null when there is none.
const QString* FindCatalogText(const TAppStrings& strings, QStringView entryName);
