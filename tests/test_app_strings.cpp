#include "TestSupport.h"
#include "localisation/AppStrings.h"

#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every entry by its full name, plus the two keyless close captions and the language name.
QHash<QString, QString> Snapshot(const TAppStrings& s) {
    QHash<QString, QString> all;
    for (const TCatalogEntry& entry : CatalogEntries())
        all.insert(CatalogEntryName(entry), CatalogValue(s, entry));
    all.insert(QStringLiteral("ToolsInfo.actClose"), s.ToolsInfo.actClose);
    all.insert(QStringLiteral("CheckUpdate.actClose"), s.CheckUpdate.actClose);
    all.insert(QStringLiteral("LanguageName"), s.LanguageName);
    return all;
}

// The names whose values differ between two snapshots.
QStringList Changed(const QHash<QString, QString>& before, const QHash<QString, QString>& after) {
    QStringList names;
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        if (after.value(it.key()) != it.value())
            names.append(it.key());
    names.sort();
    return names;
}

class AppStringsTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes) { return Dir.Write(bytes); }
    TScratchDir Dir;
    TAppStrings Strings;
};

} // namespace

TEST_F(AppStringsTest, EverySectionHasItsEntries) {
    QHash<QString, int> perSection;
    QSet<QString> names;
    for (const TCatalogEntry& entry : CatalogEntries()) {
        ++perSection[QString::fromUtf16(entry.Section)];
        EXPECT_FALSE(names.contains(CatalogEntryName(entry)));
        names.insert(CatalogEntryName(entry));
    }
    EXPECT_EQ(perSection.value(QStringLiteral("MAIN")), 202);
    EXPECT_EQ(perSection.value(QStringLiteral("Errors")), 5);
    EXPECT_EQ(perSection.value(QStringLiteral("FileInfo")), 63); // 5 of them: MediaInfo failures
    EXPECT_EQ(perSection.value(QStringLiteral("Options")), 22);  // 1 of them: conversions at once
    EXPECT_EQ(perSection.value(QStringLiteral("Progress")), 20); // 5: files at once, overall
    EXPECT_EQ(perSection.value(QStringLiteral("About")), 2);
    EXPECT_EQ(perSection.value(QStringLiteral("ToolsInfo")), 1);    // plus actClose without key
    EXPECT_EQ(perSection.value(QStringLiteral("CheckUpdate")), 11); // likewise
}

TEST_F(AppStringsTest, EnglishDefaults) {
    EXPECT_EQ(Strings.FileInfo.lblBitsPerPixel, u"Bits per pixel:");
    EXPECT_TRUE(Strings.Main.btnStayOnTop.isEmpty());
    EXPECT_EQ(Strings.Main.actExploreDirectory, u"Open directory \"%s\"");
    EXPECT_EQ(Strings.Main.VideoBitrateMustBeInteger,
              u"Video bitrate: %s\\nBitrate must be an integer value!");
    EXPECT_EQ(Strings.Main.chKeepDates, u"Keep the dates of the original files");
    EXPECT_EQ(Strings.ToolsInfo.actClose, u"Close");
    EXPECT_EQ(Strings.CheckUpdate.actClose, u"Close");
    EXPECT_EQ(Strings.LanguageName, u"English");
    for (const TCatalogEntry& entry : CatalogEntries()) {
        const QString text = QString::fromUtf16(entry.English);
        EXPECT_EQ(text, text.trimmed()) << CatalogEntryName(entry).toStdString();
        EXPECT_LE(text.count(QStringLiteral("%s")), 2) << CatalogEntryName(entry).toStdString();
    }
    // SetEN discards what a language file brought.
    Strings.Main.Auto = QStringLiteral("Automatisch");
    Strings.LanguageName.clear();
    Strings.SetEN();
    EXPECT_EQ(Strings.Main.Auto, u"Auto");
    EXPECT_EQ(Strings.LanguageName, u"English");
}

TEST_F(AppStringsTest, TemplateRoundTripsAndChangedValuesChangeExactlyTheirEntries) {
    const auto english = Snapshot(Strings);
    const QString templ =
        CatalogToLanguageFile(Strings, QStringLiteral("English"), QStringLiteral("\r\n"));
    Strings.LoadFromFile(Write(templ.toUtf8()));
    EXPECT_EQ(Changed(english, Snapshot(Strings)), QStringList());

    QString edited = templ;
    edited.replace(QStringLiteral("\r\nAuto=Auto\r\n"), QStringLiteral("\r\nAuto=Automatisch\r\n"));
    edited.replace(QStringLiteral("\r\nchKeepFileDates="),
                   QStringLiteral("\r\nchKeepFileDates=Daten behalten ; "));
    edited.replace(QStringLiteral("\r\nlblBitsPerPixel=Bits per pixel:"),
                   QStringLiteral("\r\nlblBitsPerPixel=Bits pro Pixel:"));
    edited.replace(QStringLiteral("LangName_InEnglish=English"),
                   QStringLiteral("LangName_InEnglish=German"));
    Strings.SetEN();
    Strings.LoadFromFile(Write(edited.toUtf8()));
    EXPECT_EQ(
        Changed(english, Snapshot(Strings)),
        QStringList({QStringLiteral("FileInfo.lblBitsPerPixel"), QStringLiteral("LanguageName"),
                     QStringLiteral("Main.Auto"), QStringLiteral("Main.chKeepDates")}));
    EXPECT_EQ(Strings.Main.chKeepDates, u"Daten behalten ; Keep the dates of the original files");
    EXPECT_EQ(Strings.LanguageName, u"German");
}

TEST_F(AppStringsTest, FileRules) {
    const auto english = Snapshot(Strings);
    Strings.LoadFromFile(Write("Auto=before any section\n"
                               "[main]\n"
                               "auto =   \"Auto matic\"   \n"
                               "AUTO=second occurrence\n"
                               "Custom=\n"
                               "Done=Fertig\\nWirklich\n"
                               "KeepFileDates=Hint text\n"
                               "chKeepDates=not a key\n"
                               "[MAIN]\n"
                               "Ready=from a repeated section\n"));
    EXPECT_EQ(Strings.Main.Auto, u"\"Auto matic\"");
    EXPECT_EQ(Strings.Main.Custom, u"Custom"); // an empty value would show nothing: English stays
    EXPECT_EQ(Strings.Main.Done, u"Fertig\\nWirklich");
    EXPECT_EQ(Strings.Main.KeepDates, u"Hint text");
    EXPECT_EQ(Strings.Main.chKeepDates, english.value(QStringLiteral("Main.chKeepDates")));
    EXPECT_EQ(Strings.Main.Ready, u"Ready");
    EXPECT_TRUE(Strings.LanguageName.isEmpty()); // no INFO section

    // Errors.actClose carries the two keyless close captions with it.
    Strings.SetEN();
    Strings.LoadFromFile(Write("[Errors]\nactClose=Schliessen\n"));
    EXPECT_EQ(
        Changed(english, Snapshot(Strings)),
        QStringList({QStringLiteral("CheckUpdate.actClose"), QStringLiteral("Errors.actClose"),
                     QStringLiteral("LanguageName"), QStringLiteral("ToolsInfo.actClose")}));
    EXPECT_EQ(Strings.CheckUpdate.actClose, u"Schliessen");

    // A missing file changes nothing at all.
    Strings.SetEN();
    Strings.LanguageName = QStringLiteral("Polish");
    Strings.LoadFromFile(Dir.Path(QStringLiteral("missing.ini")));
    EXPECT_EQ(Strings.LanguageName, u"Polish");
}

TEST_F(AppStringsTest, EncodingsAndBadFiles) {
    Strings.LoadFromFile(Write("[INFO]\nLangName_InEnglish=French\n[MAIN]\nAuto=Fran\xE7"
                               "ais\n"));
    EXPECT_EQ(Strings.Main.Auto, u"Fran\u00e7ais"); // Windows-1252 without a byte-order mark
    const QString utf16 = QStringLiteral("[MAIN]\r\nCustom=\u0421\u0432\u043e\u0439\r\n");
    QByteArray utf16Bytes("\xFF\xFE");
    utf16Bytes.append(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2);
    Strings.LoadFromFile(Write(utf16Bytes));
    EXPECT_EQ(Strings.Main.Custom, u"\u0421\u0432\u043e\u0439");

    const auto before = Snapshot(Strings);
    for (const QByteArray& bad :
         {QByteArray(), QByteArray(65536, '\0'),
          QByteArray("[MAIN]\nAuto=") + QByteArray(4 << 20, 'y'), QByteArray("\xFF\xFE\x00", 3),
          QByteArray("no sections at all\n")}) {
        TAppStrings strings = Strings;
        strings.LoadFromFile(Write(bad));
        auto after = Snapshot(strings);
        after.remove(QStringLiteral("LanguageName")); // no INFO section: empty by rule
        after.remove(QStringLiteral("Main.Auto"));
        auto expected = before;
        expected.remove(QStringLiteral("LanguageName"));
        expected.remove(QStringLiteral("Main.Auto"));
        EXPECT_EQ(Changed(expected, after), QStringList()) << bad.left(20).toStdString();
    }
}

TEST(FormatCatalogText, ExpandsEscapesAndPlaceholders) {
    const TAppStrings s;
    EXPECT_EQ(FormatCatalogText(s.Main.CantCreateDirectory, QStringLiteral("C:\\Out")),
              u"Couldn't create directory \"C:\\Out\" !");
    EXPECT_EQ(FormatCatalogText(s.CheckUpdate.NoUpdates),
              u"No updates available.\r\nYou have the latest version.");
    EXPECT_EQ(
        FormatCatalogText(QStringLiteral("one %s only"), QStringLiteral("A"), QStringLiteral("B")),
        u"one A only");
    EXPECT_EQ(FormatCatalogText(QStringLiteral("%s and %s, %d %s\\tend"), QStringLiteral("A"),
                                QStringLiteral("B")),
              u"A and B, %d %s\tend");
    // A value holding "%s" is never filled in itself.
    EXPECT_EQ(FormatCatalogText(QStringLiteral("%s / %s"), QStringLiteral("100%s.flv"),
                                QStringLiteral("B")),
              u"100%s.flv / B");
}
