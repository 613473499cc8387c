#include "localisation/LangIniList.h"

#include "core/IniFile.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace {

bool SameText(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

void TLangIniList::AddIniFilesFromDir(const QString& dir, QString ext) {
    if (!QFileInfo(dir).isDir())
        return;
    if (ext.startsWith(u'.'))
        ext.remove(0, 1);
    const QDir folder(dir);
    QStringList names = folder.entryList({QStringLiteral("*.") + ext}, QDir::Files);
    names.sort(Qt::CaseInsensitive);
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        if (!Platform::IsRegularFile(path))
            continue;
        const TIniFile ini(path);
        const QString display = ini.ReadString(SectionWithDisplayName, DisplayNameID, {});
        if (display.trimmed().isEmpty())
            continue;
        Items_.append(
            {path, ini.ReadString(QStringLiteral("INFO"), QStringLiteral("LangName_InEnglish"), {}),
             ini.ReadString(QStringLiteral("INFO"), QStringLiteral("LangName_Native"), {}),
             display});
    }
}

const TLangIniListItem* TLangIniList::GetItemByNativeName(const QString& nativeName) const {
    for (const TLangIniListItem& item : Items_)
        if (SameText(item.LangName_Native, nativeName))
            return &item;
    return nullptr;
}

const TLangIniListItem* TLangIniList::GetItemByShortFileName(const QString& shortFileName) const {
    for (const TLangIniListItem& item : Items_)
        if (SameText(QFileInfo(item.FileName).fileName(), shortFileName))
            return &item;
    return nullptr;
}

namespace {

// The language file of each language that has one.
const QHash<QLocale::Language, const char*>& LanguageFiles() {
    static const QHash<QLocale::Language, const char*> files = {
        {QLocale::Arabic, "Arabic.ini"},
        {QLocale::Bulgarian, "Bulgarian.ini"},
        {QLocale::Chinese, "Chinese_Simplified.ini"},
        {QLocale::Czech, "Czech.ini"},
        {QLocale::Danish, "Danish.ini"},
        {QLocale::German, "German.ini"},
        {QLocale::Greek, "Greek.ini"},
        {QLocale::Spanish, "Spanish.ini"},
        {QLocale::Finnish, "Finnish.ini"},
        {QLocale::French, "French.ini"},
        {QLocale::Hebrew, "Hebrew.ini"},
        {QLocale::Hungarian, "Hungarian.ini"},
        {QLocale::Icelandic, "Icelandic.ini"},
        {QLocale::Italian, "Italian.ini"},
        {QLocale::Japanese, "Japanese.ini"},
        {QLocale::Korean, "Korean.ini"},
        {QLocale::Dutch, "Dutch.ini"},
        {QLocale::NorwegianBokmal, "Norwegian.ini"},
        {QLocale::NorwegianNynorsk, "Norwegian.ini"},
        {QLocale::Polish, "Polish.ini"},
        {QLocale::Portuguese, "Portuguese_BR.ini"},
        {QLocale::Romanian, "Romanian.ini"},
        {QLocale::Russian, "Russian.ini"},
        {QLocale::Croatian, "Croatian.ini"},
        {QLocale::Slovak, "Slovak.ini"},
        {QLocale::Albanian, "Albanian.ini"},
        {QLocale::Swedish, "Swedish.ini"},
        {QLocale::Thai, "Thai.ini"},
        {QLocale::Turkish, "Turkish.ini"},
        {QLocale::Ukrainian, "Ukrainian.ini"},
        {QLocale::Belarusian, "Belarusian.ini"},
        {QLocale::Slovenian, "Slovenian.ini"},
        {QLocale::Estonian, "Estonian.ini"},
        {QLocale::Latvian, "Latvian.ini"},
        {QLocale::Lithuanian, "Lithuanian.ini"},
        {QLocale::Vietnamese, "Vietnamese.ini"},
    };
    return files;
}

} // namespace

QString LanguageFileForLocale(const QLocale& locale) {
    return QString::fromLatin1(LanguageFiles().value(locale.language(), "English.ini"));
}

QLocale LocaleForLanguageFile(const QString& fileName) {
    const QString name = QFileInfo(fileName).fileName();
    for (auto it = LanguageFiles().cbegin(); it != LanguageFiles().cend(); ++it) {
        if (name.compare(QLatin1StringView(it.value()), Qt::CaseInsensitive) != 0)
            continue;
        if (it.key() == QLocale::Portuguese)
            return QLocale(QLocale::Portuguese, QLocale::Brazil);
        if (it.key() == QLocale::Chinese)
            return QLocale(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
        return QLocale(it.key());
    }
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

QString ChooseLanguageIni(bool systemLanguageFirst, const QString& savedLanguageIni,
                          const QLocale& locale, const QString& langDir) {
    if (!systemLanguageFirst)
        return savedLanguageIni;
    const QString name = LanguageFileForLocale(locale);
    return Platform::IsRegularFile(langDir + u'/' + name) ? name : QString();
}
