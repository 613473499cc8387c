#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace Platform {

// A child program whose standard output and error share one pipe that we read, and whose
// standard input is a pipe that we write. The child dies with our process, so no encoder can
// outlive the program.
class TChildProcess {
public:
    TChildProcess() = default;
    TChildProcess(const TChildProcess&) = delete;
    TChildProcess& operator=(const TChildProcess&) = delete;
    // Kills a child that is still running and releases the pipes.
    ~TChildProcess();

    // Starts `program` with `arguments` in `workDir`. On failure returns false with the
    // system's error number in `errorCode`, and nothing is left running or open.
    bool Start(const QString& program, const QStringList& arguments, const QString& workDir,
               int* errorCode);

    enum class TReadResult { Data, Timeout, End };
    // Waits at most `timeoutMs` for output and reads what there is, up to `maxBytes`. End means
    // that every writer has closed the pipe.
    TReadResult Read(QByteArray* buffer, qsizetype maxBytes, int timeoutMs);

    bool HasInput() const { return InputFd >= 0; }
    // Writes the bytes in one write without blocking; false when that fails.
    bool WriteInput(const QByteArray& bytes);

    // Waits at most `timeoutMs` for the child to end. True with its exit code when it ended:
    // the exit status, or 128 plus the signal that ended it.
    bool WaitForExit(int timeoutMs, int* exitCode);
    // Kills the child and everything it started.
    void Kill();

    pid_t Pid() const { return ChildPid; }

    // For callers driven by an event loop: the read end of the output pipe (-1 once it has
    // ended), to be watched for readability, and a descriptor that becomes readable when the
    // child ends (-1 where the system has none; the caller then asks WaitForExit(0) now and
    // then). The descriptors stay ours; the exit descriptor is closed with this object.
    int OutputDescriptor() const { return OutputFd; }
    int ExitDescriptor();

private:
    void CloseFds();

    pid_t ChildPid = -1;
    bool Reaped = false;
    int OutputFd = -1;
    int InputFd = -1;
    int PidFd = -1;
};

} // namespace Platform
