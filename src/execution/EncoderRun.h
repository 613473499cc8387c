#pragma once

#include "execution/ConRun.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

namespace Platform {
class TChildProcess;
}
class QSocketNotifier;
class QTimer;

// One run of a console program (the encoder) driven by the event loop: the child starts at once,
// its output is read whenever the pipe holds some, and its end is learnt from a descriptor that
// the system marks when the child ends. Nothing here blocks or waits. The output becomes lines
// exactly as RunConsoleProcess makes them.
class TEncoderRun : public QObject {
    Q_OBJECT

public:
    explicit TEncoderRun(QObject* parent = nullptr);
    // A child still running is killed with everything it started.
    ~TEncoderRun() override;

    // Starts `exePath` with the argument string `params` (the Windows convention) in `workDir`
    // (empty: the folder of our executable). Throws EOSError when the child cannot start.
    void Start(const QString& exePath, const QString& params, const QString& workDir);

    // The output so far, as lines; the caller may filter it in place.
    QStringList& Lines() { return OutputLines; }
    const QStringList& Lines() const { return OutputLines; }
    bool Running() const { return Started && !Done; }
    int ExitCode() const { return Code; }
    pid_t Pid() const;

    // The stop in steps: "q" on the child's input now; when it is still running after
    // `graceMs`, its process group is killed and the run counts as terminated. A second call
    // does nothing.
    void Stop(int graceMs);
    bool StopRequested() const { return Stopping; }
    bool Terminated() const { return Killed; }

    // A child that closes its output but lives on is given this long, then killed; its exit
    // code is then StillActiveExitCode.
    int LingerMs = 5000;

Q_SIGNALS:
    // After every line handed over; Lines() already holds it.
    void LineRead(const QString& line);
    // Once, when the output has ended and the child has ended.
    void Finished(int exitCode);

private:
    void ReadOutput();
    void CheckExit();
    void TryFinish();

    std::unique_ptr<Platform::TChildProcess> Child;
    QStringList OutputLines;
    std::unique_ptr<TConsoleLineCollector> Collector;
    QSocketNotifier* OutputNotifier = nullptr;
    QSocketNotifier* ExitNotifier = nullptr;
    QTimer* ExitPoll = nullptr;
    QTimer* Grace = nullptr;
    QTimer* Linger = nullptr;
    bool Started = false;
    bool OutputEnded = false;
    bool Exited = false;
    bool Done = false;
    bool Stopping = false;
    bool Killed = false;
    int Code = StillActiveExitCode;
};
