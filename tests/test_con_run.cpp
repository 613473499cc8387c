#include "TestSupport.h"
#include "execution/ConRun.h"
#include "execution/EncoderRun.h"
#include "platform/Platform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Child = QStringLiteral(ZORVANE_TEST_CHILD);

QString Params(const QStringList& args) {
    QStringList quoted;
    for (const QString& arg : args)
        quoted.append(QuoteArgument(arg));
    return quoted.join(u' ');
}

QStringList RunChild(const QStringList& args, int* exitCode = nullptr,
                     const TConsoleRunOptions& options = {}) {
    QStringList lines;
    const int code = RunConsoleProcess(Child, Params(args), &lines, {}, options);
    if (exitCode != nullptr)
        *exitCode = code;
    return lines;
}

class TObserver : public IConsoleObserver {
public:
    std::function<void(const QString&)> Line;
    int Idle = 0;
    void OnConsoleLine(const QString& line) override {
        if (Line)
            Line(line);
    }
    void OnConsoleIdle() override { ++Idle; }
};

} // namespace

TEST(ConRun, BytesBecomeLines) {
    const struct {
        const char* Output;
        QStringList Expected;
    } cases[] = {
        {"a\\r\\nb\\r\\n", {u"a"_s, u"b"_s, u""_s}},
        {"done\\r\\np1\\rp2\\rp3\\r\\n", {u"done"_s, u"p3"_s, u""_s}},
        {"last", {u"last"_s}},
        {"", {u""_s}},
        {"p1\\rordinary\\r\\n", {u"ordinary"_s, u""_s}},
        // Linux programs end their lines with a line feed alone.
        {"x\\ny\\r\\nz\\n", {u"x"_s, u"y"_s, u"z"_s, u""_s}},
        {"frame=  1\\rframe=  2\\rframe=  3\\nvideo:53kB\\n",
         {u"frame=  3"_s, u"video:53kB"_s, u""_s}},
        {"Gr\\xc3\\xbc\\xc3\\x9fe\\r\\n", {u"Gr\u00fc\u00dfe"_s, u""_s}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunChild({u"out="_s + QString::fromUtf8(c.Output)}), c.Expected) << c.Output;
    // Standard output and error share one stream.
    EXPECT_EQ(RunChild({u"out=a\\r\\n"_s, u"err=b\\r\\n"_s, u"out=c"_s}),
              QStringList({u"a"_s, u"b"_s, u"c"_s}));
}

TEST(ConRun, OverlongLinesComeInPieces) {
    const QStringList lines = RunChild({u"repeat=30000:A"_s, u"out=\\r\\n"_s});
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QString(ConsoleLinePieceBytes, u'A'));
    EXPECT_EQ(lines.at(1), QString(30000 - ConsoleLinePieceBytes, u'A'));
    EXPECT_EQ(lines.at(2), u"");

    // Megabytes without any line end do not pile up in one entry.
    const QStringList huge = RunChild({u"repeat=300000:0123456789abcdef"_s});
    const qsizetype total = 300000 * 16;
    ASSERT_EQ(huge.size(), (total + ConsoleLinePieceBytes - 1) / ConsoleLinePieceBytes);
    EXPECT_EQ(huge.first().size(), ConsoleLinePieceBytes);
    EXPECT_EQ(huge.last().size(), total % ConsoleLinePieceBytes);
}

TEST(ConRun, ExitCodesArguments) {
    int code = -1;
    RunChild({u"exit=0"_s}, &code);
    EXPECT_EQ(code, 0);
    RunChild({u"out=x"_s, u"exit=3"_s}, &code);
    EXPECT_EQ(code, 3);
    RunChild({u"exit=255"_s}, &code);
    EXPECT_EQ(code, 255);

    // Every legal file name reaches the child unchanged.
    const QStringList names = {u"plain.flv"_s,
                               u"with blanks and 'single' \"double\" quotes.flv"_s,
                               u"$HOME %PATH% `id` $(id) ;&|<>*?.flv"_s,
                               u"-leading dash.flv"_s,
                               u"c:colon\\back\\slash\\"_s,
                               u"trailing\\\\"_s,
                               u"\u00e4\u00f6\u00fc \u65e5\u672c \U0001F3AC.flv"_s,
                               u""_s};
    QStringList expected;
    for (const QString& name : names)
        expected.append(u'[' + name + u']');
    expected.append(QString());
    EXPECT_EQ(RunChild(QStringList{u"args"_s} + names), expected);

    // No argument string (or blanks alone) runs the program without arguments.
    QStringList lines;
    RunConsoleProcess(Child, u"   "_s, &lines, {});
    EXPECT_EQ(lines.first(), u"(no arguments)");
}

TEST(ConRun, WorkingDirectory) {
    TScratchDir dir;
    QStringList lines;
    RunConsoleProcess(Child, u"pwd"_s, &lines, dir.Root());
    EXPECT_EQ(lines.first(), QDir(dir.Root()).canonicalPath());
    lines.clear();
    RunConsoleProcess(Child, u"pwd"_s, &lines, {});
    EXPECT_EQ(lines.first(), Platform::ExecutableDir());
}

TEST(ConRun, SplitAndQuoteFollowTheWindowsConvention) {
    const struct {
        const char* Line;
        QStringList Args;
    } cases[] = {
        {R"(-y -i "a b.flv" out.avi)", {u"-y"_s, u"-i"_s, u"a b.flv"_s, u"out.avi"_s}},
        {R"("a\"b" c)", {u"a\"b"_s, u"c"_s}},
        {R"(a\\b "c\\" d)", {u"a\\\\b"_s, u"c\\"_s, u"d"_s}},
        {R"(x\\\"y)", {u"x\\\"y"_s}},
        {R"("" "say ""hi""")", {u""_s, u"say \"hi\""_s}},
        {"  spaced\t\ttabs  ", {u"spaced"_s, u"tabs"_s}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitCommandLine(QString::fromUtf8(c.Line)), c.Args) << c.Line;
    EXPECT_EQ(QuoteArgument(u"C:\\Videos\\a b.flv"_s), u"\"C:\\Videos\\a b.flv\"");
    for (const QString& arg : {u"a\"b"_s, u"end\\"_s, u"\\\\\""_s, u""_s})
        EXPECT_EQ(SplitCommandLine(QuoteArgument(arg)), QStringList{arg});
}

TEST(ConRun, InputReachesTheRunInProgress) {
    EXPECT_FALSE(WriteToConsoleInput("q"));
    EXPECT_EQ(StrToOem(u"q"_s), QByteArray("q"));

    TObserver observer;
    bool sent = false;
    observer.Line = [&](const QString& line) {
        if (line == u"ready" && !sent)
            sent = WriteToConsoleInput(StrToOem(u"q"_s));
    };
    const QStringList lines = RunChild({u"out=ready\\r\\n"_s, u"waitq"_s}, nullptr, {&observer, 0});
    EXPECT_TRUE(sent);
    EXPECT_TRUE(lines.contains(u"got q"_s));
    EXPECT_FALSE(WriteToConsoleInput("q"));
    EXPECT_EQ(RunningProcess.dwProcessId, 0);

    // A run started while another is in progress has its own input; afterwards the outer run's
    // input is used again.
    TObserver outer;
    bool innerDone = false;
    outer.Line = [&](const QString& line) {
        if (line != u"ready" || innerDone)
            return;
        innerDone = true;
        TObserver inner;
        inner.Line = [](const QString& l) {
            if (l == u"inner")
                WriteToConsoleInput("q");
        };
        QStringList innerLines;
        RunConsoleProcess(Child, Params({u"out=inner\\r\\n"_s, u"waitq"_s}), &innerLines, {},
                          {&inner, 0});
        EXPECT_TRUE(innerLines.contains(u"got q"_s));
        EXPECT_TRUE(WriteToConsoleInput("q"));
    };
    EXPECT_TRUE(
        RunChild({u"out=ready\\r\\n"_s, u"waitq"_s}, nullptr, {&outer, 0}).contains(u"got q"_s));
}

TEST(ConRun, SilentChildStillServicesTheCaller) {
    TObserver observer;
    RunChild({u"sleep=600"_s}, nullptr, {&observer, 0});
    EXPECT_GE(observer.Idle, 3);
}

TEST(ConRun, StalledChildIsEndedAfterTheStallTimeout) {
    int code = 0;
    const QStringList lines =
        RunChild({u"out=started\\r\\n"_s, u"sleep=600000"_s}, &code, {nullptr, 300});
    EXPECT_EQ(lines.first(), u"started");
    EXPECT_EQ(code, 128 + 9); // killed
}

TEST(ConRun, ChildThatClosesItsOutputButLingersGivesStillActive) {
    int code = 0;
    RunChild({u"out=bye\\r\\n"_s, u"close"_s, u"sleep=60000"_s}, &code);
    EXPECT_EQ(code, StillActiveExitCode);
}

TEST(ConRun, ChildThatCannotStartRaisesTheSystemError) {
    TScratchDir dir;
    const QString notExecutable = dir.Write("#!/bin/sh\n");
    const struct {
        QString Program;
        int Code;
    } cases[] = {{dir.Path(u"missing"_s), 2}, {notExecutable, 13}, {dir.Root(), 13}};
    for (const auto& c : cases) {
        try {
            RunConsoleProcess(c.Program, u"-i x"_s, nullptr, {});
            ADD_FAILURE() << "no error for " << c.Program.toStdString();
        } catch (const EOSError& error) {
            EXPECT_EQ(error.Code(), c.Code);
            EXPECT_TRUE(error.Message().startsWith(
                QStringLiteral("System Error.  Code: %1.\r\n").arg(c.Code)))
                << error.Message().toStdString();
        }
        EXPECT_EQ(RunningProcess.dwProcessId, 0);
        EXPECT_FALSE(WriteToConsoleInput("q"));
    }
}

// The same runs driven by the event loop.

namespace {

// Runs the loop until the run has finished (at most `limitMs`); false when it has not.
bool WaitFor(const TEncoderRun& run, int limitMs) {
    QEventLoop loop;
    QObject::connect(&run, &TEncoderRun::Finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    if (run.Running())
        loop.exec();
    return !run.Running();
}

} // namespace

TEST(EncoderRun, LinesAndExitCodeAsTheBlockingRunner) {
    TEncoderRun run;
    QStringList seen;
    QObject::connect(&run, &TEncoderRun::LineRead, &run,
                     [&](const QString& line) { seen.append(line); });
    int finished = 0;
    int code = -1;
    QObject::connect(&run, &TEncoderRun::Finished, &run, [&](int c) {
        ++finished;
        code = c;
    });
    run.Start(Child, Params({u"out=a\\r\\nb\\rc\\r\\nx\\ny\\r\\nlast"_s, u"exit=3"_s}), {});
    ASSERT_TRUE(WaitFor(run, 10000));
    EXPECT_EQ(code, 3);
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(run.Lines(), ConsoleLines("a\r\nb\rc\r\nx\ny\r\nlast"));
    EXPECT_EQ(run.Lines(), RunChild({u"out=a\\r\\nb\\rc\\r\\nx\\ny\\r\\nlast"_s}));
    EXPECT_EQ(seen.last(), u"last");
}

TEST(EncoderRun, TheLoopGoesOnWhileTheChildRuns) {
    TEncoderRun run;
    int ticks = 0;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] { ++ticks; });
    timer.start();
    run.Start(Child, Params({u"sleep=500"_s}), {});
    ASSERT_TRUE(WaitFor(run, 10000));
    EXPECT_GE(ticks, 10);
    EXPECT_EQ(run.ExitCode(), 0);
}

TEST(EncoderRun, StopInSteps) {
    // "q" is enough for a child that listens.
    TEncoderRun polite;
    polite.Start(Child, Params({u"waitq"_s}), {});
    polite.Stop(5000);
    polite.Stop(5000); // a second call sends nothing more
    ASSERT_TRUE(WaitFor(polite, 4000));
    EXPECT_FALSE(polite.Terminated());
    EXPECT_EQ(polite.Lines().filter(u"got q"_s).size(), 1);

    // One that does not listen has its process group killed after the grace period.
    TEncoderRun deaf;
    deaf.Start(Child, Params({u"sleep=60000"_s}), {});
    QElapsedTimer clock;
    clock.start();
    deaf.Stop(300);
    ASSERT_TRUE(WaitFor(deaf, 5000));
    EXPECT_TRUE(deaf.Terminated());
    EXPECT_EQ(deaf.ExitCode(), 128 + 9);
    EXPECT_GE(clock.elapsed(), 290);
    EXPECT_EQ(ChildrenOf(::getpid()), QList<pid_t>());
}

TEST(EncoderRun, ChildThatClosesItsOutputButLingers) {
    TEncoderRun run;
    run.LingerMs = 300;
    run.Start(Child, Params({u"out=bye\\r\\n"_s, u"close"_s, u"sleep=60000"_s}), {});
    ASSERT_TRUE(WaitFor(run, 5000));
    EXPECT_EQ(run.ExitCode(), StillActiveExitCode);
    EXPECT_EQ(run.Lines().first(), u"bye");
}

TEST(EncoderRun, ChildThatCannotStartRaisesTheSystemError) {
    TScratchDir dir;
    TEncoderRun run;
    EXPECT_THROW(run.Start(dir.Path(u"missing"_s), u"-i x"_s, {}), EOSError);
    EXPECT_FALSE(run.Running());
}
