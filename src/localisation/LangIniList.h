#pragma once

#include <QList>
#include <QLocale>
#include <QString>

// The language files the program offers, and the choice of one at start.

struct TLangIniListItem {
    QString FileName; // full path
    QString LangName_InEnglish;
    QString LangName_Native;
    QString DisplayName;
};

class TLangIniList {
public:
    QString SectionWithDisplayName = QStringLiteral("INFO");
    QString DisplayNameID = QStringLiteral("LangName_InEnglish");

    // Adds one entry per language file of `dir` (not its subfolders) that names its language,
    // ordered by file name whatever order the folder lists them in.
    void AddIniFilesFromDir(const QString& dir, QString ext);
    const TLangIniListItem* GetItemByNativeName(const QString& nativeName) const;
    const TLangIniListItem* GetItemByShortFileName(const QString& shortFileName) const;
    const QList<TLangIniListItem>& Items() const { return Items_; }

private:
    QList<TLangIniListItem> Items_;
};

// The language file for the user's language ("Polish.ini"); "English.ini" for languages without
// one. Every Chinese is the simplified file, every Portuguese the Brazilian one, Bokmål and
// Nynorsk are Norwegian, and the C locale is English.
QString LanguageFileForLocale(const QLocale& locale);
// The language a language file is written in, for texts that come from elsewhere (Qt's own);
// English for a file of no known language.
QLocale LocaleForLanguageFile(const QString& fileName);

// The start-up choice of the language file (a name inside `langDir`, or empty): the saved one
// when the user's language does not come first, otherwise the file of the user's language when
// it exists.
QString ChooseLanguageIni(bool systemLanguageFirst, const QString& savedLanguageIni,
                          const QLocale& locale, const QString& langDir);
