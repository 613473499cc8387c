#include "execution/EncoderRun.h"

#include "platform/ChildProcess.h"
#include "platform/Platform.h"

#include <QSocketNotifier>
#include <QTimer>

TEncoderRun::TEncoderRun(QObject* parent)
    : QObject(parent), Child(std::make_unique<Platform::TChildProcess>()) {}

TEncoderRun::~TEncoderRun() {
    // The notifiers go before the descriptors they watch; the child object kills a child that
    // still runs and reaps it (a killed child is gone at once).
    delete OutputNotifier;
    delete ExitNotifier;
}

pid_t TEncoderRun::Pid() const {
    return Child->Pid();
}

void TEncoderRun::Start(const QString& exePath, const QString& params, const QString& workDir) {
    StartConsoleChild(*Child, exePath, params, workDir);
    Started = true;
    Collector = std::make_unique<TConsoleLineCollector>(
        &OutputLines, [this](const QString& line) { Q_EMIT LineRead(line); });
    OutputNotifier = new QSocketNotifier(Child->OutputDescriptor(), QSocketNotifier::Read, this);
    connect(OutputNotifier, &QSocketNotifier::activated, this, &TEncoderRun::ReadOutput);
    if (const int exitFd = Child->ExitDescriptor(); exitFd >= 0) {
        ExitNotifier = new QSocketNotifier(exitFd, QSocketNotifier::Read, this);
        connect(ExitNotifier, &QSocketNotifier::activated, this, &TEncoderRun::CheckExit);
    } else {
        // No exit descriptor on this system: ask now and then.
        ExitPoll = new QTimer(this);
        ExitPoll->setInterval(50);
        connect(ExitPoll, &QTimer::timeout, this, &TEncoderRun::CheckExit);
        ExitPoll->start();
    }
}

void TEncoderRun::ReadOutput() {
    QByteArray chunk;
    // A few chunks at most per call, so that one talkative child cannot hold the loop.
    for (int i = 0; i < 4 && !OutputEnded; ++i) {
        const auto result = Child->Read(&chunk, ConsoleReadChunkBytes, 0);
        if (result == Platform::TChildProcess::TReadResult::Timeout)
            return;
        if (result == Platform::TChildProcess::TReadResult::End) {
            OutputEnded = true;
            OutputNotifier->setEnabled(false);
            TryFinish();
            return;
        }
        Collector->Feed(chunk);
        if (chunk.size() < ConsoleReadChunkBytes)
            return;
    }
}

void TEncoderRun::CheckExit() {
    if (Exited)
        return;
    int code = 0;
    if (!Child->WaitForExit(0, &code))
        return;
    Exited = true;
    Code = code;
    if (ExitNotifier)
        ExitNotifier->setEnabled(false);
    if (ExitPoll)
        ExitPoll->stop();
    TryFinish();
}

void TEncoderRun::TryFinish() {
    if (Done || !OutputEnded)
        return;
    if (!Exited) {
        // The output is closed; the child gets a while to end before it is ended.
        if (!Linger) {
            Linger = new QTimer(this);
            Linger->setSingleShot(true);
            connect(Linger, &QTimer::timeout, this, [this] {
                if (Exited)
                    return;
                Child->Kill();
                int ignored = 0;
                Child->WaitForExit(LingerMs, &ignored);
                Exited = true;
                Code = StillActiveExitCode;
                TryFinish();
            });
            Linger->start(LingerMs);
        }
        return;
    }
    Done = true;
    if (Grace)
        Grace->stop();
    if (Linger)
        Linger->stop();
    Collector->Flush();
    Q_EMIT Finished(Code);
}

void TEncoderRun::Stop(int graceMs) {
    if (Stopping || !Running())
        return;
    Stopping = true;
    Child->WriteInput(StrToOem(QStringLiteral("q")));
    Grace = new QTimer(this);
    Grace->setSingleShot(true);
    Grace->setTimerType(Qt::PreciseTimer); // never before the grace period is over
    connect(Grace, &QTimer::timeout, this, [this] {
        if (Done)
            return;
        Killed = true;
        Child->Kill(); // the group the child leads: nothing it started lives on
        CheckExit();
    });
    Grace->start(graceMs);
}
