#include "TestSupport.h"
#include "encoding/BatchDriver.h"
#include "encoding/BatchScript.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(BatchScript, BatLayout) {
    TBatchScript bat(TScriptKind::Bat);
    bat.Begin(u"/usr/bin/ffmpeg"_s);
    bat.SetPiece(u"VCodec"_s, u"-c:v libxvid"_s);
    bat.SetPiece(u"AddParams"_s, u"-metadata title=\"Tom & Jerry\" -x 100% a|b"_s);
    bat.FileComment(2);
    bat.Command(u"C:\\in 100%.flv"_s, u"C:\\out & ^go!.avi"_s, false, 0);
    bat.Command(u"in"_s, u"out"_s, true, 1);
    bat.End();
    EXPECT_EQ(bat.Text(),
              u"@echo off\r\n"
              "setlocal DisableDelayedExpansion\r\n"
              "set ffmpeg=\"/usr/bin/ffmpeg\"\r\n"
              "set VCodec=-c:v libxvid\r\n"
              "set \"AddParams=-metadata title=\"Tom ^& Jerry\" -x 100%% a^|b\"\r\n"
              "\r\n"
              "rem ///////////////////////////////// file 2 /////////////////////////////////\r\n"
              "%ffmpeg% -y -i \"C:\\in 100%%.flv\" %VCodec% %VParams% %ACodec% %AParams% "
              "%AdvParams% %AddParams% \"C:\\out & ^go!.avi\"\r\n"
              "%ffmpeg% -y -i \"in\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams% -preset:v "
              "faster -pass 1 %AddParams% \"out\"\r\n"
              "\r\n"
              "pause\r\n"_s);
    EXPECT_TRUE(UnsafeScriptPath(TScriptKind::Bat, u"a\"b.flv"_s).has_value());
    EXPECT_TRUE(UnsafeScriptPath(TScriptKind::Bat, u"a\nb.flv"_s).has_value());
    EXPECT_FALSE(UnsafeScriptPath(TScriptKind::Bat, u"a&b%c^d!e.flv"_s).has_value());
    EXPECT_FALSE(UnsafeScriptPath(TScriptKind::Sh, u"a\"b\n$c.flv"_s).has_value());
    EXPECT_TRUE(UnsafeScriptPiece(TScriptKind::Bat, u"-metadata title=\"x"_s).has_value());
    EXPECT_FALSE(UnsafeScriptPiece(TScriptKind::Sh, u"-metadata title=\"x"_s).has_value());
    EXPECT_EQ(ScriptKindFor(u"/x/a.SH"_s), TScriptKind::Sh);
    EXPECT_EQ(ScriptKindFor(u"/x/a.bat"_s), TScriptKind::Bat);
}

TEST(BatchScript, ShellScriptRunsExactlyWhatItSays) {
    // The script is run by sh with an "encoder" that prints its arguments, so that every word
    // it receives can be checked; nothing else may run.
    TScratchDir dir;
    const QString printer = dir.Path(u"print args"_s);
    WriteFile(printer, "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done\n");
    QFile::setPermissions(printer, QFile::permissions(printer) | QFile::ExeOwner);
    const QString in = dir.Path(u"$(touch PWNED) `touch PWNED2` it's \\ \"q\";\n.flv"_s);
    TBatchScript sh(TScriptKind::Sh);
    sh.Begin(printer);
    sh.SetPiece(u"VCodec"_s, u"-c:v libxvid"_s);
    sh.SetPiece(u"AddParams"_s, u"-metadata title=\"A $HOME `id` B\""_s);
    sh.SetPiece(u"VParams"_s, QString());
    sh.FileComment(1);
    sh.Command(in, dir.Path(u"out;rm -rf ~.avi"_s), true, 0);
    sh.End();
    const QString script = dir.Path(u"run.sh"_s);
    ASSERT_TRUE(sh.Save(script));
    const TProcessResult r = RunProgram(u"sh"_s, {script}, dir.Root());
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, u"[-y]\n[-i]\n["_s + in +
                         u"]\n[-c:v]\n[libxvid]\n[-preset:v]\n[faster]\n"
                         "[-metadata]\n[title=A $HOME `id` B]\n["_s +
                         dir.Path(u"out;rm -rf ~.avi"_s) + u"]\nPress Enter to continue . . . "_s);
    EXPECT_FALSE(QFile::exists(dir.Path(u"PWNED"_s)));
    EXPECT_FALSE(QFile::exists(dir.Path(u"PWNED2"_s)));
    EXPECT_EQ(ShellQuote(u"plain-1.0/a_b:c"_s), u"plain-1.0/a_b:c");
    EXPECT_EQ(ShellQuote(u"it's"_s), u"'it'\\''s'");
    EXPECT_EQ(ShellQuote(u""_s), u"''");
}

TEST(BatchDriverHelpers, UniqueFileNamesAndLogCleanup) {
    TScratchDir dir;
    const QString clip = dir.Path(u"clip.avi"_s);
    EXPECT_EQ(GetUniqueFileName(clip, u"_"_s, 3), clip);
    WriteFile(clip, "x");
    EXPECT_EQ(GetUniqueFileName(clip, u"_"_s, 3), dir.Path(u"clip_001.avi"_s));
    WriteFile(dir.Path(u"clip_001.avi"_s), "x");
    EXPECT_EQ(GetUniqueFileName(clip, u"_"_s, 3), dir.Path(u"clip_002.avi"_s));
    WriteFile(dir.Path(u"noext"_s), "x");
    EXPECT_EQ(GetUniqueFileName(dir.Path(u"noext"_s), u"-"_s, 2), dir.Path(u"noext-01"_s));

    const QString logs = dir.Path(u"Ostrel_Zorvane_2018"_s);
    WriteFile(logs + u"/ffmpeg2pass-0.log"_s, "log");
    WriteFile(logs + u"/ffmpeg2pass-0.log.mbtree"_s, "tree");
    WriteFile(logs + u"/something else"_s, "x");
    QFile::setPermissions(logs + u"/ffmpeg2pass-0.log"_s, QFile::ReadOwner);
    ClearLogs(logs);
    EXPECT_FALSE(QFileInfo::exists(logs));
    ClearLogs(QString()); // nothing named, nothing removed
    EXPECT_TRUE(QFileInfo::exists(clip));
}
