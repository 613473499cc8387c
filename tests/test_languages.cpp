#include "TestSupport.h"
#include "core/IniFile.h"
#include "localisation/AppStrings.h"
#include "localisation/LangIniList.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray LanguageFile(const char* english, const char* native, const QByteArray& rest = {}) {
    return "[INFO]\r\nLangName_InEnglish=" + QByteArray(english) +
           "\r\nLangName_Native=" + QByteArray(native) + "\r\n" + rest;
}

} // namespace

TEST(Languages, LocaleTable) {
    const struct {
        QLocale Locale;
        const char* File;
    } cases[] = {
        {QLocale(QLocale::Polish, QLocale::Poland), "Polish.ini"},
        {QLocale(QLocale::Chinese, QLocale::Taiwan), "Chinese_Simplified.ini"},
        {QLocale(QLocale::Chinese, QLocale::China), "Chinese_Simplified.ini"},
        {QLocale(QLocale::Portuguese, QLocale::Portugal), "Portuguese_BR.ini"},
        {QLocale(QLocale::NorwegianNynorsk, QLocale::Norway), "Norwegian.ini"},
        {QLocale(QLocale::NorwegianBokmal, QLocale::Norway), "Norwegian.ini"},
        {QLocale::c(), "English.ini"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "English.ini"},
        {QLocale(QLocale::Basque), "English.ini"},
        {QLocale(QLocale::German, QLocale::Austria), "German.ini"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LanguageFileForLocale(c.Locale), QString::fromLatin1(c.File))
            << c.Locale.name().toStdString();
}

TEST(Languages, StartUpChoice) {
    TScratchDir dir;
    const QString lang = dir.Path(u"lang"_s);
    QDir().mkpath(lang);
    const QLocale polish(QLocale::Polish);
    EXPECT_EQ(ChooseLanguageIni(true, {}, polish, lang), u""); // no Polish.ini: English
    WriteFile(lang + u"/Polish.ini"_s, LanguageFile("Polish", "Polski"));
    EXPECT_EQ(ChooseLanguageIni(true, {}, polish, lang), u"Polish.ini");
    // The saved choice wins when the user's language does not come first.
    EXPECT_EQ(ChooseLanguageIni(false, u"German.ini"_s, polish, lang), u"German.ini");
}

TEST(Languages, ListOrderAndLookups) {
    TScratchDir dir;
    const QString lang = dir.Path(u"lang"_s);
    // Written in reverse order: the list still goes by file name.
    WriteFile(lang + u"/b_second.ini"_s, LanguageFile("Second", "Zweite"));
    WriteFile(lang + u"/a_first.ini"_s, LanguageFile("First", "Zweite"));
    WriteFile(lang + u"/c_nameless.ini"_s, "[INFO]\r\nLangName_Native=Ohne\r\n");
    WriteFile(lang + u"/notes.txt"_s, LanguageFile("Text", "Text"));
    TLangIniList list;
    list.AddIniFilesFromDir(lang, u".ini"_s);
    ASSERT_EQ(list.Items().size(), 2);
    EXPECT_EQ(list.Items().at(0).DisplayName, u"First");
    // Two files with one native name: the first listed is the one.
    ASSERT_TRUE(list.GetItemByNativeName(u" zweite "_s));
    EXPECT_EQ(list.GetItemByNativeName(u"zweite"_s)->LangName_InEnglish, u"First");
    EXPECT_TRUE(list.GetItemByShortFileName(u"B_SECOND.INI"_s));
    EXPECT_FALSE(list.GetItemByNativeName(u"Ohne"_s));
    // A folder of 500 language files is read whole, in name order.
    const QString many = dir.Path(u"many"_s);
    for (int i = 499; i >= 0; --i)
        WriteFile(many + u"/lang%1.ini"_s.arg(i, 3, 10, QLatin1Char('0')),
                  LanguageFile(QByteArray("L" + QByteArray::number(i)).constData(), "N"));
    TLangIniList big;
    big.AddIniFilesFromDir(many, u"ini"_s);
    ASSERT_EQ(big.Items().size(), 500);
    EXPECT_EQ(big.Items().first().DisplayName, u"L0");
    EXPECT_EQ(big.Items().last().DisplayName, u"L499");
    TLangIniList none;
    none.AddIniFilesFromDir(dir.Path(u"missing"_s), u"ini"_s);
    EXPECT_TRUE(none.Items().isEmpty());
}

TEST(Languages, AFaultyValueFallsBackToEnglish) {
    TScratchDir dir;
    const QByteArray rest =
        "[MAIN]\r\n"
        "Auto=Automatisch\r\n"
        "CantCreateDirectory=Kann %s und %s nicht anlegen\r\n" // one %s too many
        "actExploreDirectory=Ordner offnen\r\n"                // one too few
        "Custom=\r\n"                                          // empty
        "Done=" +
        QByteArray(10 * 1024 * 1024, 'x') + "\r\n"; // a 10 MiB line
    const QString file = dir.Write(LanguageFile("German", "Deutsch", rest));
    TAppStrings strings;
    strings.LoadFromFile(file);
    EXPECT_EQ(strings.Main.Auto, u"Automatisch");
    EXPECT_EQ(strings.Main.CantCreateDirectory, u"Couldn't create directory \"%s\" !");
    EXPECT_EQ(strings.Main.actExploreDirectory, u"Open directory \"%s\"");
    EXPECT_EQ(strings.Main.Custom, u"Custom");
    EXPECT_EQ(strings.Main.Done, u"Done");
    EXPECT_EQ(strings.Progress.Caption, u"Conversion"); // a section the file lacks

    // Files that are no language files at all leave English everywhere.
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray(4096, '\0'), RandomBytes(50000, 21),
          QByteArray("\xff\xfe[\0M\0A\0I\0N\0]\0\r\0\n\0A\0u\0t\0o\0=\0\r\0\n\0", 28)}) {
        TAppStrings other;
        other.LoadFromFile(dir.Write(bytes));
        EXPECT_EQ(other.Main.Auto, u"Auto");
        EXPECT_EQ(other.Main.CantCreateDirectory, u"Couldn't create directory \"%s\" !");
    }
}

// Every shipped language file has exactly the template's sections and keys, the placeholders of
// the English texts, and loads.
TEST(Languages, ShippedFilesAreComplete) {
    const QDir lang(QStringLiteral(ZORVANE_SOURCE_DIR "/lang"));
    const TIniFile english(lang.filePath(u"English.ini"_s));
    const QStringList files = lang.entryList({u"*.ini"_s}, QDir::Files);
    EXPECT_GE(files.size(), 3);
    for (const QString& name : files) {
        const TIniFile file(lang.filePath(name));
        EXPECT_EQ(file.Sections(), english.Sections()) << name.toStdString();
        for (const QString& section : english.Sections()) {
            EXPECT_EQ(file.SectionKeys(section), english.SectionKeys(section))
                << name.toStdString() << " [" << section.toStdString() << "]";
            for (const QString& key : english.SectionKeys(section)) {
                const QString value = file.ReadString(section, key, {});
                const QString base = english.ReadString(section, key, {});
                EXPECT_EQ(value.count(u"%s"_s), base.count(u"%s"_s))
                    << name.toStdString() << " " << key.toStdString();
                EXPECT_EQ(value.count(u"%d"_s), base.count(u"%d"_s));
                EXPECT_EQ(value.isEmpty(), base.isEmpty())
                    << name.toStdString() << " " << key.toStdString();
            }
        }
        TAppStrings strings;
        strings.LoadFromFile(lang.filePath(name));
        EXPECT_EQ(strings.LanguageName, file.ReadString(u"INFO"_s, u"LangName_InEnglish"_s, {}));
        EXPECT_FALSE(file.ReadString(u"INFO"_s, u"LangName_Native"_s, {}).isEmpty());
    }
}
