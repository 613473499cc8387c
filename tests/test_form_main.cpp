#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "core/AppParams.h"
#include "core/IniFile.h"
#include "encoding/ArgumentBuilder.h"
#include "encoding/ListItemColors.h"
#include "encoding/Profiles.h"
#include "windows/FormMain.h"
#include "windows/ProfileController.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormProgress.h"
#include "windows/panels/FileListPanel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyleOptionComboBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// A program folder of its own for every test: the window's files are written there.
class FormMainTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetWarningHandler([this](const QString& text) { Warnings.append(text); });
    }
    void TearDown() override { SetWarningHandler({}); }

    std::unique_ptr<TFormMain> Open() {
        QDir().mkpath(Dir.Path(u"app"_s));
        return std::make_unique<TFormMain>(
            TFormMainOptions{Dir.Path(u"app"_s), {}, NoDesktopBuses()});
    }
    // Shortcuts reach only the active window.
    static void Activate(QWidget* window) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    QString AppFile(const QString& name) const { return Dir.Path(u"app/"_s + name); }

    template <class T>
    static T* Control(const TFormMain& form, const char* name) {
        T* control = form.findChild<T*>(QLatin1StringView(name));
        EXPECT_TRUE(control) << name;
        return control;
    }
    // The encoder settings as a profile file holds them.
    QByteArray ProfileText(TFormMain& form) {
        const QString path = Dir.Path(u"profile%1.ini"_s.arg(++Saved));
        form.Profiles().SaveTo(path);
        return ReadFile(path);
    }

    TScratchDir Dir;
    QStringList Warnings;
    int Saved = 0;
};

} // namespace

TEST_F(FormMainTest, ControlsChangeTheRecordAndTheEnabledStates) {
    auto form = Open();
    auto* codec = Control<QComboBox>(*form, "cbAviVideoCodec");
    auto* bitrate = Control<QComboBox>(*form, "cbAviVideoBitrate");
    auto* threads = Control<QComboBox>(*form, "cbAviVideoThreads");
    EXPECT_TRUE(bitrate->isEnabled());
    EXPECT_TRUE(threads->isHidden());

    codec->setCurrentIndex(9); // copy
    EXPECT_EQ(form->EncoderSettings().Avi.VideoCodec, 9);
    EXPECT_FALSE(bitrate->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(*form, "cbResolution")->isEnabled());
    codec->setCurrentIndex(2); // H.264 shows its threads list
    EXPECT_FALSE(threads->isHidden());

    Control<QCheckBox>(*form, "chAudioDontCopy")->click();
    EXPECT_TRUE(form->EncoderSettings().Audio.DoNotCopyAudio);
    EXPECT_FALSE(Control<QComboBox>(*form, "cbAudioCodec")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(*form, "cbInterlacing")->isEnabled());

    auto* pages = Control<QTabWidget>(*form, "pcVideoFormat");
    pages->setCurrentIndex(1);
    EXPECT_EQ(form->EncoderSettings().OutputFormat, TOutputFormat::MPG);
    Control<QComboBox>(*form, "cbMpgVideo")->setCurrentIndex(0);
    EXPECT_EQ(Control<QLabel>(*form, "lblMpgInfo")->text(), u"MPEG-2 / 720 x 576 / 25 fps / AC3");
    EXPECT_FALSE(Control<QCheckBox>(*form, "chAudioDontCopy")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(*form, "cbMpegVersion")->isEnabled());

    Control<QCheckBox>(*form, "chBrightness")->click();
    auto* brightness = Control<QSlider>(*form, "tbBrightness");
    EXPECT_TRUE(brightness->isEnabled());
    brightness->setValue(-15);
    EXPECT_EQ(Control<QLabel>(*form, "lblBrightnessValue")->text(), QLocale().toString(-1.5));
    Control<QSlider>(*form, "tbAudioVolume")->setValue(50);
    EXPECT_EQ(Control<QLabel>(*form, "lblAudioVolume")->text(), u"0.50x");
    EXPECT_EQ(form->EncoderSettings().Audio.Volume, 50);

    Control<QComboBox>(*form, "cbAviVideoFPS")->setCurrentText(u"29,97"_s);
    EXPECT_EQ(form->EncoderSettings().Avi.VideoFPS, u"29,97"); // checked when used, not typed

    form->findChild<QAction*>(u"actSetDefaultEncoderSettings"_s)->trigger();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(Control<QComboBox>(*form, "cbProfileNew")->currentIndex(), 1);
    EXPECT_FALSE(form->EncoderSettings().Audio.DoNotCopyAudio);
    EXPECT_TRUE(Control<QComboBox>(*form, "cbAudioCodec")->isEnabled());
    EXPECT_EQ(Control<QLabel>(*form, "lblAudioVolume")->text(), u"1.00x");
}

TEST_F(FormMainTest, ActionsOnAnEmptyList) {
    auto form = Open();
    const auto enabled = [&](const char* name) {
        QAction* action = form->Action(QLatin1StringView(name));
        EXPECT_TRUE(action) << name;
        return action && action->isEnabled();
    };
    for (const char* name : {"actAddFiles", "actAddFolder", "actLoadFileList", "actLoadProfile",
                             "actSaveProfile", "actAbout", "actShowOptions", "actExit"})
        EXPECT_TRUE(enabled(name)) << name;
    for (const char* name :
         {"actConvert", "actSaveBat", "actRemoveChecked", "actClearFileList", "actCheckAll",
          "actUncheckAll", "actInvertSelection", "actCheckSelected", "actUncheckSelected",
          "actSaveFileList", "actExploreDirectory", "actShowHideFileInfo", "actBrowseOutDir"})
        EXPECT_FALSE(enabled(name)) << name;
    EXPECT_EQ(form->Action(u"actExploreDirectory"_s)->text(), u"Open directory \"\"");
    EXPECT_EQ(form->Action(u"actConvert"_s)->shortcut(), QKeySequence(u"Ctrl+E"_s));
    EXPECT_EQ(form->Action(u"actAbout"_s)->shortcut(), QKeySequence(u"Ctrl+Shift+F1"_s));
    EXPECT_EQ(form->Action(u"actConvert"_s)->iconText(), u"Convert");
    EXPECT_EQ(form->Action(u"actHelp"_s)->text(), u"Help");
    EXPECT_EQ(form->Action(u"actColVideoBitrateVisible"_s)->text(), u"Video bitrate");
    EXPECT_FALSE(form->Action(u"actColVideoBitrateVisible"_s)->isChecked());
    EXPECT_TRUE(form->Action(u"actColStatusVisible"_s)->isChecked());
    // The typed table and the objects agree: the language files and the settings file know the
    // actions by their object names.
    QSet<QString> names;
    for (QAction* action : form->Actions().All()) {
        EXPECT_EQ(form->findChild<QAction*>(action->objectName()), action);
        const bool shown = action != form->Actions().actEsc; // a shortcut only, in no menu
        EXPECT_TRUE(!shown || !action->text().isEmpty()) << action->objectName().toStdString();
        names.insert(action->objectName());
    }
    EXPECT_EQ(names.size(), form->Actions().All().size());
    EXPECT_EQ(names.size(), form->findChildren<QAction*>(Qt::FindDirectChildrenOnly).size());

    // Choosing the output folder enables its buttons.
    form->findChild<QWidget*>(u"rbOutDir"_s)->setProperty("checked", true);
    EXPECT_TRUE(enabled("actBrowseOutDir"));
    EXPECT_TRUE(form->findChild<QWidget*>(u"edOutDir"_s)->isEnabled());

    // Locked while a batch runs; profiles are then only shown, never loaded.
    form->DisableAll();
    EXPECT_FALSE(enabled("actAddFiles"));
    EXPECT_FALSE(enabled("actEsc"));
    EXPECT_FALSE(form->findChild<QWidget*>(u"pnAudio"_s)->isEnabled());
    Control<QComboBox>(*form, "cbAudioCodec"); // still there
    Control<QComboBox>(*form, "cbProfileNew")->setCurrentIndex(1);
    form->EnableAll();
    EXPECT_TRUE(enabled("actAddFiles"));
    EXPECT_FALSE(enabled("actConvert"));
    EXPECT_TRUE(enabled("actBrowseOutDir"));
}

TEST_F(FormMainTest, ProfileChooserOrderColoursAndLoading) {
    const auto profile = [&](const char* file, const QByteArray& main, const QByteArray& rest) {
        WriteFile(AppFile(u"profiles/"_s + QLatin1StringView(file)),
                  "[MAIN]\r\nAppName=Zorvane\r\nAppVer=1.14\r\n" + main + rest);
    };
    profile("b.ini", "SortIndex=2\r\n", "[AUDIO]\r\nVolume=250\r\n");
    profile("a.ini", "SortIndex=1\r\nBgColor=#102030\r\nFontColor=#F0F0F0\r\n",
            "[AVI]\r\nVideoCodec=H.264\r\n");
    profile("c.ini", "DisplayName=Two\\nlines\r\n", "");
    WriteFile(AppFile(u"profiles/other.ini"_s), "[MAIN]\r\nAppName=Else\r\n");
    auto form = Open();
    auto* chooser = Control<QComboBox>(*form, "cbProfileNew");
    QStringList items;
    for (int i = 0; i < chooser->count(); ++i)
        items << chooser->itemText(i);
    EXPECT_EQ(items, (QStringList{u"The last session settings"_s, u"Encoder default settings"_s,
                                  u"Two\r\nlines"_s, u"a"_s, u"b"_s}));

    // The closed box is drawn in its item's background (the style may shade it a little).
    const auto near = [&](const QColor& expected) {
        const QImage image = chooser->grab().toImage();
        const QColor c = image.pixelColor(image.width() / 2, image.height() / 2 + 1);
        return std::abs(c.red() - expected.red()) < 24 &&
               std::abs(c.green() - expected.green()) < 24 &&
               std::abs(c.blue() - expected.blue()) < 24;
    };
    form->show();
    chooser->setCurrentIndex(3); // a: H.264, with its own colours on the closed box
    EXPECT_EQ(form->EncoderSettings().Avi.VideoCodec, 2);
    EXPECT_TRUE(near(QColor(0x10, 0x20, 0x30)));
    chooser->setCurrentIndex(4);
    EXPECT_EQ(form->EncoderSettings().Audio.Volume, 250);
    EXPECT_TRUE(near(QColor(242, 235, 243)));
    chooser->setCurrentIndex(1);
    EXPECT_EQ(form->EncoderSettings().Audio.Volume, 100);
    EXPECT_EQ(form->EncoderSettings().Avi.VideoCodec, 0);

    // Saved into the profiles folder: listed and selected; elsewhere: the list stays.
    Control<QSlider>(*form, "tbAudioVolume")->setValue(77);
    form->Profiles().SaveTo(AppFile(u"profiles/mine.ini"_s));
    EXPECT_EQ(TIniFile(AppFile(u"profiles/mine.ini"_s)).ReadString(u"AUDIO"_s, u"Volume"_s, {}),
              u"77");
    form->Profiles().SaveTo(Dir.Path(u"elsewhere.ini"_s));
    EXPECT_EQ(chooser->count(), 5);

    // A save that fails reaches the user as a warning from the action, never as a crash.
    WriteFile(Dir.Path(u"blocker"_s), "x");
    Guarded(form.get(), [&] { form->Profiles().SaveTo(Dir.Path(u"blocker/p.ini"_s)); });
    EXPECT_EQ(Warnings.size(), 1);
}

TEST_F(FormMainTest, EscClosesOnlyWhenAllowed) {
    {
        auto form = Open(); // no settings file: Esc closes
        Activate(form.get());
        EXPECT_TRUE(form->Action(u"actEsc"_s)->isEnabled());
        QTest::keyClick(form.get(), Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible());
    }
    ASSERT_TRUE(QFileInfo::exists(AppFile(u"zorvane.ini"_s)));
    {
        auto form = Open(); // a settings file without EscExit: Esc does nothing
        Activate(form.get());
        EXPECT_FALSE(form->Action(u"actEsc"_s)->isEnabled());
        QTest::keyClick(form.get(), Qt::Key_Escape);
        EXPECT_TRUE(form->isVisible());
        form->close();
    }
    TIniFile ini(AppFile(u"zorvane.ini"_s));
    ini.WriteBool(u"MAIN"_s, u"EscExit"_s, true);
    ASSERT_TRUE(ini.Save());
    auto form = Open();
    Activate(form.get());
    form->DisableAll(); // never during a conversion
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_TRUE(form->isVisible());
    form->EnableAll();
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FormMainTest, ASecondStartFindsEverythingAsLeft) {
    QByteArray before;
    {
        auto form = Open();
        form->show();
        form->move(40, 50);
        form->resize(800, 600);
        Control<QTabWidget>(*form, "pcVideoFormat")->setCurrentIndex(1);
        Control<QComboBox>(*form, "cbAviVideoCodec")->setCurrentIndex(2);
        Control<QComboBox>(*form, "cbAudioBitrate")->setCurrentText(u"192"_s);
        Control<QSpinBox>(*form, "edCropLeft")->setValue(16);
        Control<QCheckBox>(*form, "chRotate")->click();
        Control<QComboBox>(*form, "cbRotate")->setCurrentText(u"90"_s);
        Control<QPlainTextEdit>(*form, "meParams")->setPlainText(u"-metadata title=\"x\""_s);
        Control<QComboBox>(*form, "cbOutputExists")->setCurrentIndex(2);
        Control<QCheckBox>(*form, "chKeepDates")->click();
        form->Action(u"actColVideoCodecVisible"_s)->trigger();
        before = ProfileText(*form);
        form->close();
    }
    ASSERT_TRUE(QFileInfo::exists(AppFile(u"zorvane.ini"_s)));
    ASSERT_TRUE(QFileInfo::exists(AppFile(u"profiles/__Last.ini"_s)));
    auto form = Open();
    EXPECT_EQ(ProfileText(*form), before);
    EXPECT_EQ(form->pos(), QPoint(40, 50));
    EXPECT_EQ(form->size(), QSize(800, 600));
    EXPECT_EQ(Control<QTabWidget>(*form, "pcVideoFormat")->currentIndex(), 1);
    EXPECT_EQ(Control<QComboBox>(*form, "cbRotate")->currentText(), u"90");
    EXPECT_EQ(Control<QComboBox>(*form, "cbOutputExists")->currentIndex(), 2);
    EXPECT_TRUE(Control<QCheckBox>(*form, "chKeepDates")->isChecked());
    EXPECT_TRUE(form->Action(u"actColVideoCodecVisible"_s)->isChecked());
    // Choosing "the last session settings" reloads what the previous close saved.
    Control<QComboBox>(*form, "cbProfileNew")->setCurrentIndex(1);
    Control<QComboBox>(*form, "cbProfileNew")->setCurrentIndex(0);
    EXPECT_EQ(ProfileText(*form), before);
}

TEST_F(FormMainTest, DamagedFilesStartWithDefaultsQuietly) {
    const QByteArray huge = "[MAIN]\r\nRowHeight=30\r\n" + QByteArray(50 * 1024 * 1024, 'x');
    const struct {
        const char* What;
        const char* File;
        QByteArray Bytes;
    } cases[] = {
        {"empty settings", "zorvane.ini", {}},
        {"NUL-filled settings", "zorvane.ini", QByteArray(1000, '\0')},
        {"random settings", "zorvane.ini", RandomBytes(20000, 3)},
        {"huge settings", "zorvane.ini", huge},
        {"out of range", "zorvane.ini",
         "[MAIN]\r\nLeft=-99999\r\nTop=-5\r\ncbOutputExists=9\r\ncbAfterConversion=-2\r\n"
         "RowHeight=1000\r\nOutputFormat=xyz\r\nffmpeg=/no/such/ffmpeg\r\nMine=1\r\n"},
        {"empty last session", "profiles/__Last.ini", {}},
        {"random last session", "profiles/__Last.ini", RandomBytes(20000, 4)},
        {"last session out of range", "profiles/__Last.ini",
         "[AVI]\r\nVideoCodec=77\r\n[AUDIO]\r\nAudioCodec=-3\r\nVolume=9999\r\nAudioChannels=12\r\n"
         "[MPG]\r\nVideoFormat=7\r\n[ADVANCED]\r\nResolution=300\r\nResWidth=-1\r\nInterlacing="
         "5\r\n"},
        {"profiles folder is a file", "profiles", "not a folder"},
    };
    TAppStrings strings;
    for (const auto& c : cases) {
        TScratchDir dir;
        const QString app = dir.Path(u"app"_s);
        WriteFile(app + u'/' + QLatin1StringView(c.File), c.Bytes);
        TFormMain form(TFormMainOptions{app, {}, NoDesktopBuses()});
        form.show();
        const TEncoderSettings& s = form.EncoderSettings();
        EXPECT_GE(s.Avi.VideoCodec, 0) << c.What;
        EXPECT_LT(s.Avi.VideoCodec, 10) << c.What;
        EXPECT_LE(s.Audio.Volume, 300) << c.What;
        EXPECT_GE(form.findChild<QComboBox*>(u"cbOutputExists"_s)->currentIndex(), 0) << c.What;
        EXPECT_GE(form.findChild<QComboBox*>(u"cbMpgVideo"_s)->currentIndex(), 0) << c.What;
        EXPECT_FALSE(form.findChild<QComboBox*>(u"cbAviVideoCodec"_s)->currentText().isEmpty())
            << c.What;
        EXPECT_EQ(AppParams.ffmpeg, SystemFFmpeg()) << c.What;
        EXPECT_TRUE(Warnings.isEmpty()) << c.What; // the start is quiet
        form.close();
        // What cannot be saved at the end is told, once: a file too large to rewrite safely, a
        // profiles "folder" that is a file.
        const bool unsaved = QByteArray(c.What) == "huge settings" ||
                             QByteArray(c.What) == "profiles folder is a file";
        EXPECT_EQ(Warnings.size(), unsaved ? 1 : 0) << c.What;
        Warnings.clear();
        if (QByteArray(c.What) == "out of range") {
            EXPECT_EQ(TIniFile(app + u"/zorvane.ini"_s).ReadString(u"MAIN"_s, u"Mine"_s, {}), u"1");
        }
        if (QByteArray(c.What) == "huge settings") {
            EXPECT_EQ(QFileInfo(app + u"/zorvane.ini"_s).size(), huge.size()); // never rewritten
        }
    }
}

TEST_F(FormMainTest, StayOnTopKeepsSecondaryWindowsOnTop) {
    auto form = Open();
    form->show();
    form->Action(u"actAbout"_s)->trigger();
    QWidget* about = form->findChild<QDialog*>(u"FormAbout"_s);
    ASSERT_TRUE(about);
    ASSERT_TRUE(form->SecondaryWindows().contains(about));
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->parentWidget(), form.get());
    for (bool expected : {true, false}) {
        form->Action(u"actStayOnTop"_s)->trigger();
        EXPECT_EQ(form->StayOnTop(), expected);
        EXPECT_EQ(bool(form->windowFlags() & Qt::WindowStaysOnTopHint), expected);
        for (QWidget* window : form->SecondaryWindows()) {
            EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
            EXPECT_EQ(window->parentWidget(), form.get());
        }
        EXPECT_EQ(form->Action(u"actStayOnTop"_s)->isChecked(), expected);
    }
    // The key that opens the about window closes it.
    Activate(about);
    QTest::keyClick(about, Qt::Key_F1, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(about->isVisible());
}

TEST_F(FormMainTest, MinimizingToATrayThatDoesNotExistMinimizes) {
    auto form = Open();
    form->show();
    form->Action(u"actMinimizeToTray"_s)->trigger();
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_FALSE(form->isVisible());
        form->Action(u"actShowHideMainWindow"_s)->trigger();
        EXPECT_TRUE(form->isVisible());
    } else {
        EXPECT_TRUE(form->isMinimized());
    }
}

// The real program, told to end by the system, saves like its close button.
TEST(Program, EndingSignalSavesSettingsAndTheLastProfile) {
    TScratchDir dir;
    const QString app = dir.Path(u"app"_s);
    QDir().mkpath(app);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZORVANE_GUI), app + u"/zorvane"_s));
    for (const int signal : {SIGTERM, SIGHUP}) {
        QFile::remove(app + u"/zorvane.ini"_s);
        QFile::remove(app + u"/profiles/__Last.ini"_s);
        TTestProcess program;
        ASSERT_TRUE(
            program.Start(app + u"/zorvane"_s, {}, {{}, {}, {u"QT_QPA_PLATFORM=offscreen"_s}}));
        QTest::qWait(3000);
        ::kill(program.Pid(), signal);
        ASSERT_TRUE(program.WaitForFinished(20000));
        EXPECT_EQ(program.Signal(), 0) << signal;
        EXPECT_EQ(program.ExitCode(), 0) << program.Err().toStdString();
        EXPECT_TRUE(TIniFile(app + u"/zorvane.ini"_s).SectionExists(u"PROGRESS"_s)) << signal;
        EXPECT_TRUE(TIniFile(app + u"/profiles/__Last.ini"_s).SectionExists(u"ADVANCED"_s));
    }
}

// The program runs natively under a Wayland compositor (Debian's weston, headless): started with
// a file, ended by SIGTERM, it has written its settings; X11 is not needed for any of it.
TEST(Program, RunsUnderWayland) {
    if (QStandardPaths::findExecutable(u"weston"_s).isEmpty())
        GTEST_SKIP() << "weston is not installed (./setup.sh installs it)";
    TScratchDir dir;
    const QString runtime = dir.Path(u"runtime"_s);
    ASSERT_TRUE(QDir().mkpath(runtime));
    ASSERT_TRUE(
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString runtimeEntry = u"XDG_RUNTIME_DIR="_s + runtime;
    TTestProcess weston;
    ASSERT_TRUE(weston.Start(
        u"weston"_s,
        {u"--backend=headless-backend.so"_s, u"--socket=zorvane-test"_s, u"--idle-time=0"_s},
        {{}, {}, {runtimeEntry}}));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFileInfo::exists(runtime + u"/zorvane-test"_s); }, 10000))
        << weston.Err().toStdString();
    const QString app = dir.Path(u"app"_s);
    QDir().mkpath(app);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZORVANE_GUI), app + u"/zorvane"_s));
    const QString clip = dir.Path(u"clip.flv"_s);
    ASSERT_TRUE(QFile::copy(MediaFile(u"clip.flv"_s), clip));
    TTestProcess program;
    ASSERT_TRUE(program.Start(app + u"/zorvane"_s, {clip},
                              {{},
                               {},
                               {runtimeEntry, u"WAYLAND_DISPLAY=zorvane-test"_s,
                                u"QT_QPA_PLATFORM=wayland"_s, u"DISPLAY="_s}}));
    QTest::qWait(3000);
    ::kill(program.Pid(), SIGTERM);
    ASSERT_TRUE(program.WaitForFinished(20000));
    EXPECT_EQ(program.Signal(), 0);
    EXPECT_EQ(program.ExitCode(), 0) << program.Err().toStdString();
    EXPECT_TRUE(TIniFile(app + u"/zorvane.ini"_s).SectionExists(u"MAIN"_s))
        << program.Err().toStdString();
    EXPECT_FALSE(program.Err().contains("platform plugin")) << program.Err().toStdString();
}

TEST_F(FormMainTest, EncoderHelpShowsTheEncodersOwnOptions) {
    WriteFile(AppFile(u"lang/Testish.ini"_s),
              "[INFO]\r\nLangName_InEnglish=Testish\r\nLangName_Native=Testisch\r\n"
              "[MAIN]\r\ngbFFmpegParams=Kodierer-Parameter\r\n");
    auto form = Open();
    form->show();
    form->findChild<QPushButton*>(u"btnFFParams"_s)->click();
    auto* view = form->findChild<QDialog*>(u"FormTextView"_s);
    ASSERT_TRUE(view);
    auto* text = view->findChild<QPlainTextEdit*>(u"me"_s);
    ASSERT_TRUE(text);
    EXPECT_TRUE(text->window()->isVisible());
    EXPECT_TRUE(text->toPlainText().contains(u"-codec"_s))
        << text->toPlainText().left(200).toStdString();
    EXPECT_TRUE(text->isReadOnly());
    const QFontMetrics metrics(text->font());
    EXPECT_EQ(metrics.horizontalAdvance(u'i'), metrics.horizontalAdvance(u'W'))
        << QFontInfo(text->font()).family().toStdString();
    // It follows the language like every other window.
    form->SwitchLanguage(u"Testisch"_s);
    EXPECT_EQ(view->windowTitle(), u"Kodierer-Parameter");
}

TEST_F(FormMainTest, SwitchingLanguageKeepsWhatTheUserTyped) {
    WriteFile(AppFile(u"lang/Testish.ini"_s),
              "[INFO]\r\nLangName_InEnglish=Testish\r\nLangName_Native=Testisch\r\n"
              "[MAIN]\r\nAuto=Selbst\r\nlblProfile=Profil:\r\nactConvert=Umwandeln\r\n"
              "[Progress]\r\nlblStatus=Zustand:\r\n");
    auto form = Open();
    ASSERT_EQ(form->Languages().Items().size(), 1);
    auto* aspect = Control<QComboBox>(*form, "cbAviVideoAspect");
    aspect->setCurrentText(u"2.35"_s);
    auto* bitrate = Control<QComboBox>(*form, "cbAviVideoBitrate");
    ASSERT_EQ(bitrate->currentIndex(), 0);
    form->SwitchLanguage(u"testisch"_s);
    EXPECT_EQ(AppParams.LanguageIni, u"Testish.ini");
    EXPECT_EQ(Control<QLabel>(*form, "lblProfile")->text(), u"Profil:");
    EXPECT_EQ(form->Action(u"actConvert"_s)->text(), u"Umwandeln");
    EXPECT_EQ(aspect->currentText(), u"2.35");
    EXPECT_EQ(bitrate->currentText(), u"Selbst");
    EXPECT_EQ(form->EncoderSettings().Avi.VideoBitrate, u"Selbst");
    EXPECT_EQ(form->findChild<QDialog*>(u"FormProgress"_s)
                  ->findChild<QLabel*>(u"lblStatusDesc"_s)
                  ->text(),
              u"Zustand:");
    form->SwitchLanguage(u"Nobody"_s); // no such language: nothing changes
    EXPECT_EQ(Control<QLabel>(*form, "lblProfile")->text(), u"Profil:");
    form->close();

    // The saved choice is the language of the next start.
    auto again = Open();
    EXPECT_EQ(Control<QLabel>(*again, "lblProfile")->text(), u"Profil:");
    EXPECT_EQ(again->Strings().Main.Auto, u"Selbst");
}

// Qt's own texts (standard buttons, file dialogs) and the window's messages follow the language.
TEST_F(FormMainTest, QtsOwnTextsAndTheMessagesFollowTheLanguage) {
    const QString shipped = QFileInfo(QStringLiteral(ZORVANE_GUI)).path() + u"/lang/"_s;
    for (const QString& file : {u"German.ini"_s, u"English.ini"_s})
        WriteFile(AppFile(u"lang/"_s + file), ReadFile(shipped + file));
    const QString folder = Dir.Path(u"gone"_s);
    const QString clip = folder + u"/clip.flv"_s;
    WriteFile(clip, ReadFile(MediaFile(u"clip.flv"_s)));
    auto form = Open();
    form->SwitchLanguage(u"Deutsch"_s);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Abbrechen");
    form->FileList()->AddFiles({clip});
    form->FileList()->View()->selectRow(0);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QAction* explore = form->Action(u"actExploreDirectory"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return explore->isEnabled(); }));
    explore->trigger();
    EXPECT_EQ(Warnings, QStringList{u"Der Ordner „%1“ existiert nicht!"_s.arg(folder)});
    form->SwitchLanguage(u"English"_s);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), u"Cancel");
}

// Under a dark palette the texts the program colours itself stay readable.
TEST_F(FormMainTest, ColouredTextsReadOnADarkPalette) {
    const QPalette before = QApplication::palette();
    QPalette dark = before;
    for (const auto role : {QPalette::Window, QPalette::Button})
        dark.setColor(role, QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    QApplication::setPalette(dark);
    WriteFile(AppFile(u"data/resolutions.txt"_s),
              ReadFile(QFileInfo(QStringLiteral(ZORVANE_GUI)).path() + u"/data/resolutions.txt"_s));
    const auto colourIn = [](const QString& text) {
        const QRegularExpressionMatch m =
            QRegularExpression(u"(?<!-)color:\\s*(#[0-9a-fA-F]{6})"_s).match(text);
        const QColor c(m.captured(1));
        return TRgb{c.red(), c.green(), c.blue()};
    };
    {
        auto form = Open();
        auto* progress = form->findChild<TFormProgress*>(u"FormProgress"_s);
        ASSERT_TRUE(progress);
        progress->SetStatus(u"Error"_s, 0x000000C0); // dark red
        const QString status = progress->findChild<QLabel*>(u"lblStatus"_s)->text();
        EXPECT_GE(ContrastRatio(colourIn(status), {53, 53, 53}), 4.5) << status.toStdString();
        auto* resolution = Control<QComboBox>(*form, "cbResolution");
        const int hd = resolution->findText(u"16:9"_s, Qt::MatchContains);
        ASSERT_GE(hd, 0);
        resolution->setCurrentIndex(hd);
        const QString sheet = resolution->styleSheet();
        const QColor background(
            QRegularExpression(u"background:\\s*(#[0-9a-fA-F]{6})"_s).match(sheet).captured(1));
        EXPECT_GE(ContrastRatio(colourIn(sheet),
                                {background.red(), background.green(), background.blue()}),
                  4.5)
            << sheet.toStdString();
    }
    QApplication::setPalette(before);
}

// Every control the keyboard reaches has a name for screen readers, in every window, and the
// names follow the language.
TEST_F(FormMainTest, EveryControlHasAnAccessibleName) {
    WriteFile(AppFile(u"lang/Testish.ini"_s),
              "[INFO]\r\nLangName_InEnglish=Testish\r\nLangName_Native=Testisch\r\n"
              "[MAIN]\r\nlblAudioVolume=Lautstaerke:\r\n");
    auto form = Open();
    form->show();
    for (const char* action : {"actShowOptions", "actShowHideFileInfo", "actAbout"})
        form->Action(QLatin1StringView(action))->trigger();
    QStringList windows{form->objectName()};
    QStringList unnamed;
    QList<QWidget*> roots{form.get()};
    roots += form->SecondaryWindows();
    for (QWidget* root : roots) {
        for (QWidget* w : root->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(root) || w->focusPolicy() == Qt::NoFocus ||
                w->inherits("QAbstractItemView") || w->inherits("QScrollBar") ||
                w->window() != root)
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            if (!a || a->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.append(root->objectName() + u'.' + w->objectName() + u'(' +
                               QLatin1StringView(w->metaObject()->className()) + u')');
        }
    }
    EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(u", "_s).toStdString();
    auto* volume = Control<QSlider>(*form, "tbAudioVolume");
    ASSERT_TRUE(volume);
    const QString english = volume->accessibleName();
    EXPECT_FALSE(english.isEmpty());
    form->SwitchLanguage(u"Testisch"_s);
    EXPECT_EQ(volume->accessibleName(), u"Lautstaerke");
}

// At the window's first size, 934 x 712, every caption and list fits in every shipped language:
// no label, check box, button or closed list narrower than what it shows, and the advanced
// settings reflow instead of scrolling sideways.
TEST_F(FormMainTest, EveryCaptionFitsInEveryLanguage) {
    const QString shipped = QFileInfo(QStringLiteral(ZORVANE_GUI)).path();
    for (const QString& folder : {u"lang"_s, u"data"_s})
        for (const QFileInfo& file : QDir(shipped + u'/' + folder).entryInfoList(QDir::Files))
            WriteFile(AppFile(folder + u'/' + file.fileName()), ReadFile(file.filePath()));
    auto form = Open();
    form->resize(934, 712);
    form->show();
    form->Action(u"actShowOptions"_s)->trigger();
    QWidget* options = form->findChild<QDialog*>(u"FormOptions"_s);
    ASSERT_TRUE(options);
    ASSERT_EQ(form->Languages().Items().size(), 8);
    QStringList cut;
    for (const TLangIniListItem& language : form->Languages().Items()) {
        form->SwitchLanguage(language.LangName_Native);
        // Layouts settle: a reflow asks for another one, however busy the machine is.
        for (int pass = 0; pass < 5; ++pass) {
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
        QTest::qWait(20);
        for (QWidget* root : {static_cast<QWidget*>(form.get()), options}) {
            for (QWidget* w : root->findChildren<QWidget*>()) {
                if (!w->isVisibleTo(root) || w->window() != root)
                    continue;
                // What the control shows needs this width: a label's or check box's own size
                // hint; a push button's text (its size hint adds the style's least width); the
                // current item of a closed list.
                int needed = 0;
                const auto* label = qobject_cast<QLabel*>(w);
                const auto* combo = qobject_cast<QComboBox*>(w);
                if (label && !label->wordWrap() && !label->text().isEmpty()) {
                    needed = w->sizeHint().width();
                } else if (const auto* button = qobject_cast<QPushButton*>(w)) {
                    needed = w->fontMetrics().horizontalAdvance(button->text().remove(u'&')) + 8;
                } else if (qobject_cast<QAbstractButton*>(w) && !w->inherits("QToolButton")) {
                    needed = w->sizeHint().width();
                } else if (combo && !combo->isEditable() && combo->currentIndex() >= 0) {
                    QStyleOptionComboBox option;
                    option.initFrom(combo);
                    option.frame = combo->hasFrame();
                    option.iconSize = combo->iconSize();
                    option.currentText = combo->currentText();
                    const QSize text(combo->fontMetrics().horizontalAdvance(combo->currentText()),
                                     combo->fontMetrics().height());
                    needed = combo->style()
                                 ->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo)
                                 .width();
                    // A list sized to its items measures them itself.
                    if (combo->sizeAdjustPolicy() == QComboBox::AdjustToContents)
                        needed = combo->sizeHint().width();
                }
                if (w->width() < needed)
                    cut.append(language.LangName_InEnglish + u": "_s + w->objectName() + u" ("_s +
                               QString::number(w->width()) + u" < "_s + QString::number(needed) +
                               u')');
            }
        }
        const auto* advanced = Control<QScrollArea>(*form, "sbAdvanced");
        if (advanced->horizontalScrollBar()->isVisible())
            cut.append(language.LangName_InEnglish + u": the advanced settings scroll sideways"_s);
    }
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u"\n"_s).toStdString();
}

TEST_F(FormMainTest, OptionsChangeTheListAndTheProgramAtOnce) {
    WriteFile(AppFile(u"lang/Testish.ini"_s),
              "[INFO]\r\nLangName_InEnglish=Testish\r\nLangName_Native=Testisch\r\n"
              "[Options]\r\nCaption=Einstellungen\r\n");
    WriteFile(AppFile(u"lang/English.ini"_s),
              "[INFO]\r\nLangName_InEnglish=English\r\nLangName_Native=English\r\n");
    auto form = Open();
    Activate(form.get());
    QTest::keyClick(form.get(), Qt::Key_F12);
    auto* options = form->findChild<QDialog*>(u"FormOptions"_s);
    ASSERT_TRUE(options);
    EXPECT_TRUE(options->isVisible());
    auto* header = form->findChild<QTableView*>(u"ng"_s)->horizontalHeader();
    options->findChild<QSpinBox*>(u"edFileListFontSize"_s)->setValue(14);
    EXPECT_EQ(header->height(), 34);
    options->findChild<QSpinBox*>(u"edFileListFontSize"_s)->setValue(13);
    EXPECT_EQ(header->height(), 22);
    options->findChild<QComboBox*>(u"cbFileListFileAnalysis"_s)->setCurrentIndex(2);
    EXPECT_EQ(AppParams.FileAnalysis, TFileAnalysis::faNone);
    options->findChild<QComboBox*>(u"cbDefaultVideoCodec"_s)->setCurrentIndex(0); // H.264
    auto* atOnce = options->findChild<QComboBox*>(u"cbSimultaneousConversions"_s);
    EXPECT_EQ(atOnce->currentText(), u"Auto");
    EXPECT_EQ(atOnce->count(), 1 + GetProcessorCount()); // Auto, 1 .. the cores
    atOnce->setCurrentIndex(1);
    auto* language = options->findChild<QComboBox*>(u"cbLanguage"_s);
    ASSERT_EQ(language->count(), 2);
    language->setCurrentIndex(language->findText(u"Testisch"_s));
    EXPECT_EQ(options->windowTitle(), u"Einstellungen");
    if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
        options->grab().save(shots + u"/options.png"_s);
    Activate(options);
    QTest::keyClick(options, Qt::Key_F12); // the key that opens it closes it
    EXPECT_FALSE(options->isVisible());
    form->close();

    auto again = Open();
    again->findChild<QAction*>(u"actSetDefaultEncoderSettings"_s)->trigger();
    EXPECT_EQ(again->EncoderSettings().Avi.VideoCodec, 2);
    EXPECT_EQ(AppParams.FileAnalysis, TFileAnalysis::faNone);
    again->findChild<QAction*>(u"actShowOptions"_s)->trigger();
    auto* reopened = again->findChild<QDialog*>(u"FormOptions"_s);
    EXPECT_EQ(reopened->findChild<QComboBox*>(u"cbFileListFileAnalysis"_s)->currentIndex(), 2);
    EXPECT_EQ(reopened->findChild<QComboBox*>(u"cbLanguage"_s)->currentText(), u"Testisch");
    EXPECT_EQ(reopened->findChild<QComboBox*>(u"cbSimultaneousConversions"_s)->currentIndex(), 1);
}

TEST_F(FormMainTest, ToolsInfoReportsBothTools) {
    auto form = Open();
    form->show();
    form->findChild<QAction*>(u"actToolsInfo"_s)->trigger();
    auto* window = form->findChild<QDialog*>(u"FormToolsInfo"_s);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->isVisible());
    const QString text = window->findChild<QPlainTextEdit*>(u"me"_s)->toPlainText();
    EXPECT_TRUE(text.startsWith(u"FFmpeg\n"_s));
    EXPECT_TRUE(text.contains(u"\nMediaInfo\n"_s));
    EXPECT_TRUE(text.contains(u"      Binary type: 64-bit Executable / ELF64 / AMD64"_s));
    if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
        window->grab().save(shots + u"/tools-info.png"_s);
}

TEST_F(FormMainTest, InstalledWindowListsShippedProfilesAndSavesInTheUserFolder) {
    const QString prefix = Dir.Path(u"prefix"_s);
    QDir().mkpath(prefix + u"/bin"_s);
    WriteFile(prefix + u"/share/zorvane/profiles/Loud.ini"_s,
              "[MAIN]\r\nAppName=Zorvane\r\nAppVer=1.14\r\n[AUDIO]\r\nVolume=300\r\n");
    const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", Dir.Path(u"config"_s).toUtf8());
    {
        TFormMain form(TFormMainOptions{prefix + u"/bin"_s, {}, NoDesktopBuses()});
        auto* chooser = Control<QComboBox>(form, "cbProfileNew");
        ASSERT_EQ(chooser->count(), 3);
        EXPECT_EQ(chooser->itemText(2), u"Loud");
        chooser->setCurrentIndex(2);
        EXPECT_EQ(form.EncoderSettings().Audio.Volume, 300);
        form.close();
    }
    EXPECT_TRUE(QFileInfo::exists(Dir.Path(u"config/zorvane/zorvane.ini"_s)));
    EXPECT_TRUE(QFileInfo::exists(Dir.Path(u"config/zorvane/profiles/__Last.ini"_s)));
    EXPECT_EQ(QDir(prefix + u"/bin"_s).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList());
    qputenv("XDG_CONFIG_HOME", previous);
}

TEST_F(FormMainTest, AnUnwritableSettingsFolderIsToldOnceAndLosesNothing) {
    auto form = Open();
    form->close();
    const QByteArray settings = ReadFile(AppFile(u"zorvane.ini"_s));
    const QByteArray last = ReadFile(AppFile(u"profiles/__Last.ini"_s));
    ASSERT_FALSE(settings.isEmpty());
    ASSERT_FALSE(last.isEmpty());

    form = Open();
    form->resize(form->width() + 37, form->height()); // something to save
    {
        const TReadOnlyFolder readOnly(Dir.Path(u"app"_s));
        if (!readOnly.Error.isEmpty())
            GTEST_SKIP() << readOnly.Error.toStdString();
        const TReadOnlyFolder profiles(AppFile(u"profiles"_s));
        form->close();
        ASSERT_EQ(Warnings.size(), 1) << Warnings.join(u'|').toStdString();
        EXPECT_TRUE(Warnings.first().startsWith(u"The settings could not be saved in \""_s))
            << Warnings.first().toStdString();
    }
    // The old files are whole, and no temporary file is left beside them.
    EXPECT_EQ(ReadFile(AppFile(u"zorvane.ini"_s)), settings);
    EXPECT_EQ(ReadFile(AppFile(u"profiles/__Last.ini"_s)), last);
    EXPECT_EQ(QDir(Dir.Path(u"app"_s)).entryList(QDir::Files), QStringList{u"zorvane.ini"_s});
}

// Tab walks the main window as it reads: the list, the output options, then each settings panel
// from top to bottom (the audio bit rate's Info button right after the bit rate), and out of the
// free-text box of encoder options again.
TEST_F(FormMainTest, TabFollowsTheReadingOrder) {
    auto form = Open();
    form->show();
    QStringList order;
    for (QWidget* w = form->nextInFocusChain(); w != form.get(); w = w->nextInFocusChain())
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(form.get()) && w->isEnabled() &&
            !w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_"_s))
            order.append(w->objectName());
    const QStringList expected = {
        u"ng"_s,
        u"cbOutputExists"_s,
        u"cbAfterConversion"_s,
        u"chKeepDates"_s,
        u"rbOutDirIsInDir"_s,
        u"rbOutDir"_s,
        u"pnConversionSettings"_s,
        u"cbProfileNew"_s,
        u"pcVideoFormat"_s,
        u"cbAviVideoCodec"_s,
        u"cbAviVideoBitrate"_s,
        u"cbAviVideoFPS"_s,
        u"cbAviVideoAspect"_s,
        u"chAviVideo2Pass"_s,
        u"chAviVideoDontCopy"_s,
        u"cbAudioCodec"_s,
        u"cbAudioBitrate"_s,
        u"btnInfoAudioBitrates"_s,
        u"cbAudioSampling"_s,
        u"cbAudioChannels"_s,
        u"tbAudioVolume"_s,
        u"chAudioDontCopy"_s,
        u"edCropTop"_s,
        u"edCropBottom"_s,
        u"edCropLeft"_s,
        u"edCropRight"_s,
        u"cbResolution"_s,
        u"cbInterlacing"_s,
        u"chVideoFourcc"_s,
        u"btnInfoFourcc"_s,
        u"cbAudioTrackNo"_s,
        u"chConvertColors"_s,
        u"chBrightness"_s,
        u"chSaturation"_s,
        u"chFlipHorizontal"_s,
        u"chFlipVertical"_s,
        u"chNegative"_s,
        u"chRotate"_s,
        u"btnFFParams"_s,
        u"meParams"_s,
    };
    EXPECT_EQ(order, expected);
    EXPECT_TRUE(Control<QPlainTextEdit>(*form, "meParams")->tabChangesFocus());
}
