#include "TestSupport.h"
#include "WindowTestSupport.h"
#include "core/AppParams.h"
#include "core/IniFile.h"
#include "encoding/BatchDriver.h"
#include "execution/ProgressMonitor.h"
#include "windows/FormMain.h"
#include "windows/Widgets.h"
#include "windows/dialogs/FormCheckUpdate.h"
#include "windows/dialogs/FormErrors.h"
#include "windows/dialogs/FormProgress.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Children of this test program that run the encoder.
int EncoderChildren() {
    int count = 0;
    for (const pid_t pid : ChildrenOf(::getpid())) {
        QFile comm(u"/proc/%1/comm"_s.arg(pid));
        if (comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "ffmpeg")
            ++count;
    }
    return count;
}

class ConvertWindowTest : public TMainWindowTest {
protected:
    QString Copy(const QString& media, const QString& name) {
        return CopyMedia(media, u"in/"_s + name);
    }
    void Add(const QStringList& files) {
        Form->FileList()->AddFiles(files);
        WaitIdle();
    }
    QString Status(int row) const {
        return Form->FileList()->Model()->Rows().at(size_t(row)).Status;
    }
    TFormProgress* Progress() const { return Form->findChild<TFormProgress*>(); }
    // "Convert checked files", and the window left to run until the batch is over.
    void Convert() {
        QSignalSpy finished(Form.get(), &TFormMain::BatchFinished);
        Form->Action(u"actConvert"_s)->trigger();
        ASSERT_TRUE(!finished.isEmpty() || finished.wait(120000));
    }
    // The options window's "Simultaneous conversions": 0 Auto, else that many.
    void SetSimultaneousConversions(int n) {
        Form->Action(u"actShowOptions"_s)->trigger();
        auto* box = Form->findChild<QComboBox*>(u"cbSimultaneousConversions"_s);
        ASSERT_TRUE(box);
        box->setCurrentIndex(n);
        Form->Action(u"actShowOptions"_s)->trigger(); // closes it again
    }
};

} // namespace

TEST(ProgressTexts, BadgesKeepTheirColoursInQtsRichText) {
    EXPECT_EQ(BadgesAsStyledSpans(
                  u"a <b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  2.0x  </FONT></b>"_s),
              u"a <b><span style=\"background-color:#496954;color:#E0EBE0\">  2.0x  </span></b>");
    EXPECT_EQ(BadgesAsStyledSpans(u"<font bgcolor=\"#C0C0C0\">/v/</font><b>x</b>"_s),
              u"<span style=\"background-color:#C0C0C0\">/v/</span><b>x</b>");
    EXPECT_EQ(BadgesAsStyledSpans(u"plain &lt;font&gt;"_s), u"plain &lt;font&gt;");
}

TEST_F(ConvertWindowTest, ConvertsTheCheckedRowsAndShowsTheOutcome) {
    const QString a = Copy(u"clip.flv"_s, u"a.flv"_s);
    const QString b = Copy(u"audio.mp3"_s, u"b.mp3"_s);
    const QString c = Copy(u"clip15.flv"_s, u"c.flv"_s);
    Add({a, b, c});
    Form->FileList()->Model()->SetChecked({1}, false);
    Convert();
    EXPECT_EQ(Status(0), u"Done");
    EXPECT_EQ(Status(1), u"Ready"); // unchecked: left alone
    EXPECT_EQ(Status(2), u"Done");
    EXPECT_TRUE(QFileInfo(Dir.Path(u"in/a.avi"_s)).size() > 0);
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"in/b.avi"_s)));
    EXPECT_TRUE(Progress()->StatusHtml().contains(u"Done"_s));
    EXPECT_TRUE(Progress()->StatusHtml().contains(u"color:#1f6ce0"_s)); // the OK colour
    EXPECT_EQ(Progress()->findChild<QPushButton*>(u"btnAbort"_s)->text(), u"Close");
    EXPECT_EQ(Form->windowTitle(), ProductTitle());
    EXPECT_TRUE(Form->Action(u"actAddFiles"_s)->isEnabled()); // unlocked again
    EXPECT_EQ(Form->Errors().ErrorCount, 0);
}

TEST_F(ConvertWindowTest, AFailingFileOpensTheErrorLog) {
    const QString good = Copy(u"clip.flv"_s, u"good.flv"_s);
    const QString bad = Dir.Path(u"in/bad.flv"_s);
    WriteFile(bad, RandomBytes(4000, 11));
    Add({bad, good});
    Convert();
    EXPECT_TRUE(Status(0).startsWith(u"Error"_s)) << Status(0).toStdString();
    EXPECT_EQ(Status(1), u"Done");
    auto* errors = Form->findChild<TFormErrors*>();
    ASSERT_TRUE(errors);
    EXPECT_TRUE(errors->isVisible());
    EXPECT_EQ(errors->windowTitle(), u"Errors (1)");
    EXPECT_TRUE(errors->Text().contains(u"Error # 1"_s));
    EXPECT_TRUE(errors->Text().contains(bad));
    EXPECT_FALSE(QFileInfo::exists(Dir.Path(u"in/bad.avi"_s))); // no empty output is left
    if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
        errors->grab().save(shots + u"/error-log.png"_s);
}

TEST_F(ConvertWindowTest, AbortStopsTheEncoderAndUnlocksTheWindow) {
    SetSimultaneousConversions(1);
    const QString longer = Copy(u"long.mp4"_s, u"long.mp4"_s);
    const QString next = Copy(u"clip.flv"_s, u"next.flv"_s);
    Add({longer, next});
    // Large frames keep the encoder at work when Abort comes.
    Form->findChild<QPlainTextEdit*>(u"meParams"_s)->setPlainText(u"-vf scale=1920:1080"_s);
    QTimer::singleShot(800, Progress(), [this] {
        if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
            Progress()->grab().save(shots + u"/progress.png"_s);
        Progress()->findChild<QPushButton*>(u"btnAbort"_s)->click();
    });
    QElapsedTimer clock;
    clock.start();
    const TBatchResult result = RunBatch(QString());
    EXPECT_TRUE(result.Aborted);
    EXPECT_LT(clock.elapsed(), 15000);
    EXPECT_EQ(Status(0), u"Aborted");
    EXPECT_EQ(Status(1), u"Ready");
    EXPECT_EQ(EncoderChildren(), 0);
    EXPECT_TRUE(Form->Action(u"actConvert"_s)->isEnabled());
}

TEST_F(ConvertWindowTest, ClosingDuringABatchStopsTheEncoderThenSaves) {
    Add({Copy(u"long.mp4"_s, u"long.mp4"_s)});
    Form->findChild<QPlainTextEdit*>(u"meParams"_s)->setPlainText(u"-vf scale=1920:1080"_s);
    QElapsedTimer sinceClose;
    QTimer::singleShot(800, Form.get(), [&] {
        sinceClose.start();
        Form->close();
    });
    RunBatch(QString());
    ASSERT_TRUE(sinceClose.isValid());
    EXPECT_LT(sinceClose.elapsed(), 5000);
    EXPECT_EQ(EncoderChildren(), 0);
    QTest::qWait(100); // the close waits for the batch to end, then runs
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(TIniFile(Dir.Path(u"app/zorvane.ini"_s)).SectionExists(u"PROGRESS"_s));
}

TEST_F(ConvertWindowTest, AScriptFromTheWindowEqualsTheCommandLineToolsOne) {
    const QString a = Copy(u"clip.flv"_s, u"a b.flv"_s);
    const QString b = Copy(u"audio.mp3"_s, u"$x.mp3"_s);
    Add({a, b});
    const QString fromWindow = Dir.Path(u"window.sh"_s);
    const TBatchResult result = RunBatch(fromWindow);
    EXPECT_FALSE(result.Aborted);
    const QString fromCli = Dir.Path(u"cli.sh"_s);
    const TProcessResult cli =
        RunProgram(QStringLiteral(ZORVANE_CLI), {u"script"_s, u"--output"_s, fromCli, a, b});
    ASSERT_EQ(cli.ExitCode, 0) << cli.Err.toStdString();
    EXPECT_EQ(ReadFile(fromWindow), ReadFile(fromCli));
    EXPECT_EQ(Status(0), u"Ready"); // a script converts nothing
}

TEST_F(ConvertWindowTest, PowerOffOnlyAfterACleanConversion) {
    int powerOffs = 0;
    Form->PowerOff = [&] { ++powerOffs; };
    Form->PowerOffDelaySeconds = 1;
    Form->findChild<QComboBox*>(u"cbAfterConversion"_s)->setCurrentIndex(2);
    const QString bad = Dir.Path(u"in/bad.flv"_s);
    WriteFile(bad, RandomBytes(4000, 12));
    Add({bad});
    RunBatch(QString()); // an error: no power-off
    EXPECT_EQ(powerOffs, 0);
    Form->FileList()->Clear();
    Add({Copy(u"clip.flv"_s, u"ok.flv"_s)});
    RunBatch(Dir.Path(u"s.sh"_s)); // a script: no power-off
    EXPECT_EQ(powerOffs, 0);
    const TBatchResult clean = RunBatch(QString());
    EXPECT_EQ(clean.Failed, 0);
    EXPECT_EQ(Status(0), u"Done");
    EXPECT_EQ(powerOffs, 1);
}

TEST_F(ConvertWindowTest, StatusBadgesShowTheirBackgrounds) {
    TFormProgress* progress = Progress();
    progress->show();
    progress->ShowStatusLine(
        u"<b><FONT bgcolor=\"#496954\" color=\"#E0EBE0\">  2.00x  </FONT></b>"_s);
    auto* label = progress->findChild<QLabel*>(u"lblStatus"_s);
    const QImage image = label->grab().toImage();
    bool badge = false;
    for (int y = 0; y < image.height() && !badge; ++y)
        for (int x = 0; x < image.width() && !badge; ++x)
            badge = image.pixelColor(x, y) == QColor(0x49, 0x69, 0x54);
    EXPECT_TRUE(badge) << "no pixel of the badge's background";
}

TEST_F(ConvertWindowTest, SeveralFilesAtOnceShowInTheProgressWindow) {
    SetSimultaneousConversions(2);
    const QString a = Copy(u"long.mp4"_s, u"a.mp4"_s);
    const QString b = Copy(u"long.mp4"_s, u"b.mp4"_s);
    const QString c = Copy(u"clip.flv"_s, u"c.flv"_s);
    Add({a, b, c});
    // Large frames: the batch lasts for several turns of the overall figures.
    Form->findChild<QPlainTextEdit*>(u"meParams"_s)->setPlainText(u"-vf scale=1280:720"_s);
    int mostRows = 0;
    QString overall;
    QString title;
    QTimer watch;
    watch.setInterval(50);
    QObject::connect(&watch, &QTimer::timeout, Form.get(), [&] {
        mostRows = std::max(mostRows, Progress()->JobRows());
        if (!Progress()->OverallText().isEmpty()) {
            if (overall.isEmpty() && Progress()->JobRows() == 2)
                if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR");
                    !shots.isEmpty())
                    Progress()->grab().save(shots + u"/progress-two-at-once.png"_s);
            overall = Progress()->OverallText();
        }
        if (Form->windowTitle() != ProductTitle())
            title = Form->windowTitle();
        // The locked window takes no new batch meanwhile.
        if (Form->BatchRunning()) {
            EXPECT_FALSE(Form->Action(u"actConvert"_s)->isEnabled());
        }
    });
    watch.start();
    const TBatchResult result = RunBatch();
    watch.stop();
    EXPECT_EQ(result.Converted, 3);
    EXPECT_EQ(mostRows, 2);
    EXPECT_TRUE(overall.startsWith(u"Overall: "_s)) << overall.toStdString();
    EXPECT_TRUE(title.endsWith(u"% "_s + ProductTitle())) << title.toStdString();
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(Status(row), u"Done");
    EXPECT_EQ(Progress()->JobRows(), 0);
    EXPECT_EQ(Form->windowTitle(), ProductTitle());
    // Kept in the settings file, after the keys that were there before.
    Form->close();
    const QStringList keys = TIniFile(Dir.Path(u"app/zorvane.ini"_s)).SectionKeys(u"MAIN"_s);
    ASSERT_FALSE(keys.isEmpty());
    EXPECT_EQ(keys.last(), u"SimultaneousConversions");
    EXPECT_EQ(TIniFile(Dir.Path(u"app/zorvane.ini"_s))
                  .ReadString(u"MAIN"_s, u"SimultaneousConversions"_s, {}),
              u"2");
}

TEST_F(ConvertWindowTest, ClosingDuringAParallelBatchStopsEveryEncoderThenSaves) {
    SetSimultaneousConversions(2);
    Add({Copy(u"long.mp4"_s, u"a.mp4"_s), Copy(u"long.mp4"_s, u"b.mp4"_s)});
    Form->findChild<QPlainTextEdit*>(u"meParams"_s)->setPlainText(u"-vf scale=1920:1080"_s);
    QElapsedTimer sinceClose;
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, Form.get(), [&] {
        if (!sinceClose.isValid() && EncoderChildren() == 2 && Progress()->Percent() > 0) {
            sinceClose.start();
            Form->close();
        }
    });
    watch.start();
    const TBatchResult result = RunBatch();
    watch.stop();
    ASSERT_TRUE(sinceClose.isValid());
    EXPECT_LT(sinceClose.elapsed(), 3000);
    EXPECT_TRUE(result.Aborted);
    EXPECT_EQ(Status(0), u"Aborted");
    EXPECT_EQ(Status(1), u"Aborted");
    EXPECT_EQ(EncoderChildren(), 0);
    QTest::qWait(100); // the close waits for the batch to end, then runs
    EXPECT_FALSE(Form->isVisible());
    EXPECT_TRUE(TIniFile(Dir.Path(u"app/zorvane.ini"_s)).SectionExists(u"PROGRESS"_s));
}

TEST_F(ConvertWindowTest, TheLastOutputOfARunIsAlwaysShown) {
    // A fast two-pass run: the pane ends with the run's last progress line, the one the status
    // line reads.
    Form->findChild<QCheckBox*>(u"chAviVideo2Pass"_s)->setChecked(true);
    Add({Copy(u"clip.flv"_s, u"fast.flv"_s)});
    const TBatchResult result = RunBatch();
    EXPECT_EQ(result.Converted, 1);
    const QStringList frames = Progress()->OutputText().split(u'\n').filter(u"frame="_s);
    ASSERT_FALSE(frames.isEmpty()) << Progress()->OutputText().toStdString();
    EXPECT_TRUE(frames.last().startsWith(u"frame=   25"_s)) << frames.last().toStdString();
    EXPECT_TRUE(Progress()->StatusHtml().contains(u"Done"_s));
}

TEST_F(ConvertWindowTest, AnInputGoneAfterItWasAddedFailsWithTheReason) {
    SetSimultaneousConversions(1);
    const QString gone = Copy(u"clip.flv"_s, u"gone.flv"_s);
    const QString kept = Copy(u"clip.flv"_s, u"kept.flv"_s);
    Add({gone, kept});
    ASSERT_TRUE(QFile::remove(gone));
    Convert();
    EXPECT_TRUE(Status(0).startsWith(u"Error ("_s)) << Status(0).toStdString();
    EXPECT_EQ(Status(1), u"Done");
    auto* errors = Form->findChild<TFormErrors*>();
    EXPECT_TRUE(errors->isVisible());
    EXPECT_TRUE(errors->Text().contains(u"No such file or directory"_s))
        << errors->Text().toStdString();
}

// A loopback HTTP server that answers every request with `answer`, or never when it is empty.
class TTestServer : public QTcpServer {
public:
    explicit TTestServer(QByteArray answer) : Answer(std::move(answer)) {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            QTcpSocket* socket = nextPendingConnection();
            connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                Requests += socket->readAll();
                if (Answer.isEmpty())
                    return;
                socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nContent-Length: " +
                              QByteArray::number(Answer.size()) + "\r\nConnection: close\r\n\r\n" +
                              Answer);
                socket->disconnectFromHost();
            });
        });
    }
    QString Url() const {
        return u"http://127.0.0.1:%1/products/zorvane/ver.ini"_s.arg(serverPort());
    }
    QByteArray Answer, Requests;
};

TEST_F(ConvertWindowTest, UpdateCheckOutcomesFromALoopbackServer) {
    const auto check = [&](const QString& url, int timeoutMs) {
        qputenv("ZORVANE_UPDATE_URL", url.toUtf8());
        Form->Action(u"actCheckUpdate"_s)->trigger();
        auto* window = Form->findChild<TFormCheckUpdate*>();
        window->TimeoutMs = timeoutMs;
        QSignalSpy finished(window, &TFormCheckUpdate::Finished);
        EXPECT_TRUE(finished.wait(timeoutMs + 5000));
        return std::pair{finished.value(0).value(0).value<TUpdateOutcome>(), window->StatusText()};
    };
    TTestServer newer("[VersionInfo]\r\nLastVersion=1.15\r\nReleaseDate=<b>2026</b>\r\n");
    auto [outcome, text] = check(newer.Url(), 5000);
    EXPECT_EQ(outcome, TUpdateOutcome::UpdateAvailable);
    EXPECT_TRUE(text.contains(u"ReleaseDate=<b>2026</b>"_s)); // shown as text
    EXPECT_TRUE(newer.Requests.contains("Accept: */*"));
    EXPECT_TRUE(newer.Requests.contains("MSIE 7.0"));
    {
        // The outcome shows in its colours.
        auto* pane = Form->findChild<TFormCheckUpdate*>()->findChild<QPlainTextEdit*>(u"me"_s);
        const QImage image = pane->grab().toImage();
        EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 6),
                  QColor(0xE6, 0xF0, 0xE3));
    }
    if (const QString shots = qEnvironmentVariable("ZORVANE_SCREENSHOT_DIR"); !shots.isEmpty())
        Form->findChild<TFormCheckUpdate*>()->grab().save(shots + u"/check-update.png"_s);

    TTestServer same("[versioninfo]\nLastVersion=1.14\n");
    EXPECT_EQ(check(same.Url(), 5000).first, TUpdateOutcome::NoUpdates);

    TTestServer silent({}); // accepts, never answers: the time limit ends it
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(check(silent.Url(), 500).first, TUpdateOutcome::ConnectionFailed);
    EXPECT_LT(clock.elapsed(), 5000);

    quint16 port = 0;
    {
        QTcpServer gone;
        gone.listen(QHostAddress::LocalHost);
        port = gone.serverPort();
    }
    EXPECT_EQ(check(u"http://127.0.0.1:%1/ver.ini"_s.arg(port), 5000).first,
              TUpdateOutcome::ConnectionFailed);
    qunsetenv("ZORVANE_UPDATE_URL");
}

// The footer shows the checked files' estimated size; a batch whose outputs will not fit where
// they go asks first, and the progress window shows the estimate.
TEST_F(ConvertWindowTest, OutputsThatMayNotFitAreAskedAbout) {
    const QString out = Dir.Path(u"small"_s);
    const TSmallFileSystem mounted(out, u"200k"_s);
    if (!mounted.Error.isEmpty())
        GTEST_SKIP() << "no tmpfs here: " << mounted.Error.toStdString();
    const QString big = Copy(u"long.mp4"_s, u"big.mp4"_s);
    Add({big});
    for (int i = 0; i < 100 && Form->FileList()->EstimateText().isEmpty(); ++i)
        QTest::qWait(50);
    EXPECT_TRUE(Form->FileList()->EstimateText().startsWith(u"Outputs: about "_s))
        << Form->FileList()->EstimateText().toStdString();
    Form->FileList()->Model()->SetChecked({0}, false);
    for (int i = 0; i < 100 && !Form->FileList()->EstimateText().isEmpty(); ++i)
        QTest::qWait(50);
    EXPECT_TRUE(Form->FileList()->EstimateText().isEmpty()); // nothing checked, nothing to tell
    Form->FileList()->Model()->SetChecked({0}, true);

    Form->findChild<QWidget*>(u"rbOutDir"_s)->setProperty("checked", true);
    Form->findChild<QLineEdit*>(u"edOutDir"_s)->setText(out);
    QStringList asked;
    Form->ConfirmSpace = [&](const QString& text) {
        asked.append(text);
        return false;
    };
    EXPECT_FALSE(Form->StartBatch(QString()));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked.at(0).startsWith(u"The outputs in \""_s + out + u"\" need about "_s))
        << asked.at(0).toStdString();
    EXPECT_TRUE(asked.at(0).endsWith(u"Convert anyway?"_s));
    EXPECT_FALSE(Form->BatchRunning());
    EXPECT_FALSE(QFileInfo::exists(out + u"/big.avi"_s));
    EXPECT_TRUE(Progress()->EstimateText().startsWith(u"Estimated size of the outputs: "_s));

    // A script writes no outputs: nothing to ask.
    RunBatch(Dir.Path(u"work.sh"_s));
    EXPECT_EQ(asked.size(), 1);
}
