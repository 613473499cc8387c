#include "TestSupport.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

const QString Main = QStringLiteral("MAIN");

// The bytes of a literal, embedded NULs included.
template <size_t N>
QByteArray Raw(const char (&bytes)[N]) {
    return QByteArray(bytes, N - 1);
}

class IniFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return Dir.filePath(name); }
    QTemporaryDir Dir;
};

} // namespace

TEST_F(IniFileTest, LookupFollowsPrivateProfileRules) {
    const TIniFile ini = TIniFile::FromText(QStringLiteral("orphan=before any section\n"
                                                           "[Main]\n"
                                                           "  Width = 640  \n"
                                                           "width=999\n"
                                                           "; Height=1\n"
                                                           "Quoted = \" padded \"  \n"
                                                           "Empty=\n"
                                                           "no equals sign here\n"
                                                           "[other]\n"
                                                           "Width=1\n"
                                                           "[MAIN]\n"
                                                           "Height=480\n"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("main"), QStringLiteral("WIDTH"), {}), u"640");
    EXPECT_EQ(ini.ReadString(Main, QStringLiteral("Quoted"), {}), u"\" padded \"");
    EXPECT_TRUE(ini.ValueExists(Main, QStringLiteral("Empty")));
    EXPECT_EQ(ini.ReadString(Main, QStringLiteral("Empty"), QStringLiteral("def")), u"");
    // Only the first section of a name is read; comments and keys outside sections are not keys.
    EXPECT_EQ(ini.ReadString(Main, QStringLiteral("Height"), QStringLiteral("def")), u"def");
    EXPECT_FALSE(ini.ValueExists(Main, QStringLiteral("orphan")));
    EXPECT_EQ(ini.SectionKeys(Main), QStringList({QStringLiteral("Width"), QStringLiteral("Quoted"),
                                                  QStringLiteral("Empty")}));
    EXPECT_EQ(ini.Sections(), QStringList({QStringLiteral("Main"), QStringLiteral("other")}));
}

TEST_F(IniFileTest, ReadIntegerAcceptsDecimalAndHexadecimalOnly) {
    const struct {
        const char* Text;
        int Expected;
    } cases[] = {{"42", 42},         {" -7 ", -7},  {"+5", 5},         {"0x1F", 31},
                 {"0X1f", 31},       {"$ff", 255},  {"$FFFFFFFF", -1}, {"2147483647", INT_MAX},
                 {"2147483648", 77}, {"12abc", 77}, {"1.5", 77},       {"", 77},
                 {"0x", 77},         {"$", 77},     {"0x-1", 77},      {"$100000000", 77},
                 {"abc", 77},        {"1 2", 77}};
    for (const auto& c : cases) {
        const TIniFile ini =
            TIniFile::FromText(QStringLiteral("[MAIN]\nValue=") + QString::fromUtf8(c.Text));
        EXPECT_EQ(ini.ReadInteger(Main, QStringLiteral("Value"), 77), c.Expected) << c.Text;
    }
    const TIniFile ini = TIniFile::FromText(QStringLiteral("[MAIN]\nOn=1\nOff=0\nOdd=-3\nBad=yes"));
    EXPECT_TRUE(ini.ReadBool(Main, QStringLiteral("On"), false));
    EXPECT_FALSE(ini.ReadBool(Main, QStringLiteral("Off"), true));
    EXPECT_TRUE(ini.ReadBool(Main, QStringLiteral("Odd"), false));
    EXPECT_TRUE(ini.ReadBool(Main, QStringLiteral("Bad"), true));
    EXPECT_FALSE(ini.ReadBool(Main, QStringLiteral("Missing"), false));
}

TEST_F(IniFileTest, SaveKeepsWhatTheProgramDoesNotKnow) {
    const QString path = Path(QStringLiteral("settings.ini"));
    WriteFile(path, "; written by hand\r\n"
                    "[MAIN]\r\n"
                    "Unknown=keep me\r\n"
                    "left=10\r\n"
                    "\r\n"
                    "; about the next section\r\n"
                    "[Extra]\r\n"
                    "Foo=bar\r\n");
    TIniFile ini(path);
    ASSERT_TRUE(ini.FileExisted());
    ini.WriteInteger(Main, QStringLiteral("Left"), 20);
    ini.WriteBool(Main, QStringLiteral("Maximized"), true);
    ini.WriteBool(QStringLiteral("PROGRESS"), QStringLiteral("CloseAfterConversion"), false);
    ini.WriteString(Main, QStringLiteral("OutDir"), QStringLiteral("two\nlines"));
    // Lines below an insertion moved: the section after it is still found where it now is.
    ini.WriteString(QStringLiteral("extra"), QStringLiteral("Second"), QStringLiteral("2"));
    ini.WriteString(Main, QStringLiteral("Last"), QStringLiteral("3"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("EXTRA"), QStringLiteral("foo"), {}), u"bar");
    EXPECT_EQ(ini.ReadString(QStringLiteral("Extra"), QStringLiteral("second"), {}), u"2");
    EXPECT_EQ(
        ini.ReadString(QStringLiteral("progress"), QStringLiteral("CloseAfterConversion"), {}),
        u"0");
    QString error;
    ASSERT_TRUE(ini.Save(&error)) << error.toStdString();
    EXPECT_EQ(ReadFile(path), QByteArray("; written by hand\r\n"
                                         "[MAIN]\r\n"
                                         "Unknown=keep me\r\n"
                                         "left=20\r\n"
                                         "Maximized=1\r\n"
                                         "OutDir=two lines\r\n"
                                         "Last=3\r\n"
                                         "\r\n"
                                         "; about the next section\r\n"
                                         "[Extra]\r\n"
                                         "Foo=bar\r\n"
                                         "Second=2\r\n"
                                         "\r\n"
                                         "[PROGRESS]\r\n"
                                         "CloseAfterConversion=0\r\n"));
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("settings.ini")});
    const TIniFile again(path);
    EXPECT_EQ(again.ReadInteger(Main, QStringLiteral("LEFT"), 0), 20);
    EXPECT_TRUE(again.ReadBool(Main, QStringLiteral("Maximized"), false));
}

TEST_F(IniFileTest, NewFileIsCreatedAndFailedSaveReportsAnError) {
    const QString path = Path(QStringLiteral("new.ini"));
    TIniFile ini(path);
    EXPECT_FALSE(ini.FileExisted());
    ini.WriteString(Main, QStringLiteral("Key"), QStringLiteral("Wert \u00e4\u20ac"));
    ASSERT_TRUE(ini.Save());
    EXPECT_EQ(ReadFile(path), QByteArray("[MAIN]\r\nKey=Wert \xc3\xa4\xe2\x82\xac\r\n"));

    TIniFile elsewhere(Path(QStringLiteral("missing-folder/x.ini")));
    elsewhere.WriteString(Main, QStringLiteral("Key"), QStringLiteral("v"));
    QString error;
    EXPECT_FALSE(elsewhere.Save(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(IniFileTest, ByteOrderMarksAndEncodings) {
    const struct {
        const char* Name;
        QByteArray Bytes;
    } cases[] = {
        {"utf8-bom", QByteArray("\xEF\xBB\xBF[MAIN]\nName=Caf\xC3\xA9\n")},
        {"utf8", QByteArray("[MAIN]\nName=Caf\xC3\xA9\n")},
        {"cp1252", QByteArray("[MAIN]\nName=Caf\xE9\n")},
        {"utf16le", Raw("\xFF\xFE[\0M\0A\0I\0N\0]\0\n\0N\0a\0m\0e\0=\0C\0a\0f\0\xE9\0")},
        {"utf16be", Raw("\xFE\xFF\0[\0M\0A\0I\0N\0]\0\n\0N\0a\0m\0e\0=\0C\0a\0f\0\xE9")},
    };
    for (const auto& c : cases) {
        const QString path = Path(QString::fromUtf8(c.Name));
        WriteFile(path, c.Bytes);
        EXPECT_EQ(TIniFile(path).ReadString(Main, QStringLiteral("Name"), {}), u"Caf\u00e9")
            << c.Name;
    }
    // Windows-1252 is more than Latin-1: 0x80 is the euro sign.
    EXPECT_EQ(DecodeText(QByteArray("\x80 \x93q\x94")), u"\u20ac \u201cq\u201d");
    // A UTF-8 byte-order mark is kept when the file is written again.
    TIniFile bom(Path(QStringLiteral("utf8-bom")));
    bom.WriteString(Main, QStringLiteral("Name"), QStringLiteral("x"));
    ASSERT_TRUE(bom.Save());
    EXPECT_EQ(ReadFile(Path(QStringLiteral("utf8-bom"))),
              QByteArray("\xEF\xBB\xBF[MAIN]\nName=x\n"));
}

TEST_F(IniFileTest, BadFilesNeverCrashOrBlock) {
    const QByteArray random = RandomBytes(4096, 12345);
    const struct {
        const char* Name;
        QByteArray Bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"nul", QByteArray(100000, '\0')},
        {"random", random},
        {"long-line", QByteArray("[MAIN]\nKey=") + QByteArray(8 * 1024 * 1024, 'x') + "\nNext=1\n"},
        {"odd-utf16", Raw("\xFF\xFE[\0M\0A\0I\0N\0]\0\n\0K\0=\0"
                          "1")},
        {"no-sections", QByteArray("Key=1\nOther=2\n")},
        {"unclosed", QByteArray("[MAIN\nNext=1\n")},
        {"crlf-cr-lf", QByteArray("[MAIN]\rA=1\r\nB=2\nNext=1")},
    };
    for (const auto& c : cases) {
        const QString path = Path(QString::fromUtf8(c.Name));
        WriteFile(path, c.Bytes);
        const TIniFile ini(path);
        EXPECT_TRUE(ini.FileExisted()) << c.Name;
        EXPECT_EQ(ini.ReadInteger(Main, QStringLiteral("Missing"), 5), 5) << c.Name;
    }
    EXPECT_EQ(
        TIniFile(Path(QStringLiteral("long-line"))).ReadInteger(Main, QStringLiteral("Next"), 0),
        1);
    EXPECT_EQ(
        TIniFile(Path(QStringLiteral("unclosed"))).ReadInteger(Main, QStringLiteral("Next"), 0), 1);
    EXPECT_EQ(
        TIniFile(Path(QStringLiteral("crlf-cr-lf"))).ReadInteger(Main, QStringLiteral("Next"), 0),
        1);

    // A FIFO, a folder and a missing file read as "no file" at once.
    const QString fifo = Path(QStringLiteral("fifo.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, Dir.path(), Path(QStringLiteral("missing.ini"))})
        EXPECT_FALSE(TIniFile(path).FileExisted()) << path.toStdString();
}

TEST_F(IniFileTest, OversizedFileIsReadInPartAndNeverRewritten) {
    const QString path = Path(QStringLiteral("huge.ini"));
    WriteFile(path, "[MAIN]\nKey=1\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.resize(MaxTextFileBytes + 1024)); // sparse: NUL bytes after the keys
    }
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(Main, QStringLiteral("Key"), 0), 1);
    ini.WriteInteger(Main, QStringLiteral("Key"), 2);
    QString error;
    EXPECT_FALSE(ini.Save(&error));
    EXPECT_EQ(QFileInfo(path).size(), MaxTextFileBytes + 1024);
}
