#include "localisation/AppStrings.h"

#include "core/IniFile.h"
#include "platform/Platform.h"

namespace {

// One row of the table: the entry `field` of the record `record`, read from `section`.
#define ZORVANE_ROW(record, section, field, key, english)                                          \
    TCatalogEntry{section, key, u"" #field, english,                                               \
                  [](TAppStrings& s) -> QString& { return s.record.field; }},

// clang-format off
#define ZORVANE_MAIN_ROW(f, k, e) ZORVANE_ROW(Main, u"MAIN", f, k, e)
#define ZORVANE_ERRORS_ROW(f, k, e) ZORVANE_ROW(Errors, u"Errors", f, k, e)
#define ZORVANE_FILEINFO_ROW(f, k, e) ZORVANE_ROW(FileInfo, u"FileInfo", f, k, e)
#define ZORVANE_OPTIONS_ROW(f, k, e) ZORVANE_ROW(Options, u"Options", f, k, e)
#define ZORVANE_ABOUT_ROW(f, k, e) ZORVANE_ROW(About, u"About", f, k, e)
#define ZORVANE_PROGRESS_ROW(f, k, e) ZORVANE_ROW(Progress, u"Progress", f, k, e)
#define ZORVANE_TOOLSINFO_ROW(f, k, e) ZORVANE_ROW(ToolsInfo, u"ToolsInfo", f, k, e)
#define ZORVANE_CHECKUPDATE_ROW(f, k, e) ZORVANE_ROW(CheckUpdate, u"CheckUpdate", f, k, e)

// In the order of the language file's sections.
const TCatalogEntry Entries[] = {
    ZORVANE_MAIN_STRINGS(ZORVANE_MAIN_ROW)
    ZORVANE_ERRORS_STRINGS(ZORVANE_ERRORS_ROW)
    ZORVANE_FILEINFO_STRINGS(ZORVANE_FILEINFO_ROW)
    ZORVANE_OPTIONS_STRINGS(ZORVANE_OPTIONS_ROW)
    ZORVANE_ABOUT_STRINGS(ZORVANE_ABOUT_ROW)
    ZORVANE_PROGRESS_STRINGS(ZORVANE_PROGRESS_ROW)
    ZORVANE_TOOLSINFO_STRINGS(ZORVANE_TOOLSINFO_ROW)
    ZORVANE_CHECKUPDATE_STRINGS(ZORVANE_CHECKUPDATE_ROW)
};
// clang-format on

const QString InfoSection = QStringLiteral("INFO");
const QString NameInEnglishKey = QStringLiteral("LangName_InEnglish");
const QString NativeNameKey = QStringLiteral("LangName_Native");

QString Text(const char16_t* s) {
    return QString::fromUtf16(s);
}

} // namespace

std::span<const TCatalogEntry> CatalogEntries() {
    return Entries;
}

const QString& CatalogValue(const TAppStrings& strings, const TCatalogEntry& entry) {
    // The accessors only hand out a reference; nothing is written through it here.
    return entry.Entry(const_cast<TAppStrings&>(strings));
}

QString CatalogEntryName(const TCatalogEntry& entry) {
    QString section = Text(entry.Section);
    if (section == u"MAIN")
        section = QStringLiteral("Main");
    return section + u'.' + Text(entry.Field);
}

void TAppStrings::SetEN() {
    for (const TCatalogEntry& entry : Entries)
        entry.Entry(*this) = Text(entry.English);
    ToolsInfo.actClose = QStringLiteral("Close");
    CheckUpdate.actClose = QStringLiteral("Close");
    LanguageName = QStringLiteral("English");
}

// A translated value the program can use in place of `english`: not empty, not absurdly long,
// and with the same "%s" places, so that a message never loses or invents a value.
bool UsableTranslation(const QString& value, const QString& english) {
    constexpr qsizetype MaxEntryLength = 4096;
    return !value.trimmed().isEmpty() && value.size() <= MaxEntryLength &&
           value.count(QStringLiteral("%s")) == english.count(QStringLiteral("%s")) &&
           value.count(QStringLiteral("%d")) == english.count(QStringLiteral("%d"));
}

void TAppStrings::LoadFromFile(const QString& fileName) {
    if (!Platform::IsRegularFile(fileName))
        return;
    const TIniFile ini(fileName);
    LanguageName = ini.ReadString(InfoSection, NameInEnglishKey, QString());
    // A faulty value keeps the text the entry has: a language file cannot break the program.
    for (const TCatalogEntry& entry : Entries) {
        QString& text = entry.Entry(*this);
        const QString value = ini.ReadString(Text(entry.Section), Text(entry.Key), text);
        if (UsableTranslation(value, QString::fromUtf16(entry.English)))
            text = value;
    }
    ToolsInfo.actClose = Errors.actClose;
    CheckUpdate.actClose = Errors.actClose;
}

QString CatalogToLanguageFile(const TAppStrings& strings, const QString& nativeName,
                              const QString& lineBreak) {
    TIniFile ini;
    ini.WriteString(InfoSection, NameInEnglishKey, strings.LanguageName);
    ini.WriteString(InfoSection, NativeNameKey, nativeName);
    for (const TCatalogEntry& entry : Entries)
        ini.WriteString(Text(entry.Section), Text(entry.Key), CatalogValue(strings, entry));
    return ini.ToText(lineBreak);
}

QString FormatCatalogText(const QString& templ, const QString& arg1, const QString& arg2) {
    QString text = templ;
    text.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    text.replace(QStringLiteral("\\t"), QStringLiteral("\t"));
    // The second placeholder is looked for after the first value, so that a value which itself
    // holds "%s" (a file name may) is never filled in.
    qsizetype from = 0;
    for (const QString* arg : {&arg1, &arg2}) {
        const qsizetype at = text.indexOf(QStringLiteral("%s"), from);
        if (at < 0)
            break;
        text.replace(at, 2, *arg);
        from = at + arg->size();
    }
    return text;
}

QString FFmpegNotFoundText(const TAppStrings& strings) {
    return FormatCatalogText(strings.Main.FFmpegNotExists, QString::fromUtf16(DistributionArchive),
                             QString::fromUtf16(ProductName));
}

const QString* FindCatalogText(const TAppStrings& strings, QStringView entryName) {
    for (const TCatalogEntry& entry : Entries)
        if (CatalogEntryName(entry) == entryName)
            return &CatalogValue(strings, entry);
    return nullptr;
}
