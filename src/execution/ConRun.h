#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <sys/types.h>

// Runs a console program (in practice the encoder) with its output collected as text lines.
//
// Output bytes become lines this way: a carriage return hands the line over; a line feed marks
// that the next line handed over is a new entry of the list (otherwise it replaces the last
// entry, which keeps the encoder's progress line, rewritten in place with carriage returns
// alone, in one entry); a line feed without a carriage return before it also ends the line,
// which is how Linux programs end their lines. A line of 20480 bytes is handed over as it is.

// Told about a run while it is in progress. Both are called on the caller's thread, from inside
// RunConsoleProcess, and may call WriteToConsoleInput.
class IConsoleObserver {
public:
    virtual ~IConsoleObserver() = default;
    // After every line handed over (the list, when given, already holds it).
    virtual void OnConsoleLine(const QString& line) = 0;
    // At least every 100 ms while the child writes no line, so that a window stays responsive
    // and its Abort reachable however long the child keeps silent.
    virtual void OnConsoleIdle() = 0;
};

// The child of the run in progress on this thread; all zero when none is in progress. Each
// thread has its own: analyses run side by side on threads of their own.
struct TRunningProcess {
    pid_t dwProcessId = 0;
    bool InputWritable = false;
};
extern thread_local TRunningProcess RunningProcess;

// Turns the bytes a child writes into lines, as described at the top; `onLine` is called after
// every line handed over (the list, when given, already holds it).
class TConsoleLineCollector {
public:
    TConsoleLineCollector(QStringList* lines, std::function<void(const QString&)> onLine);
    void Feed(const QByteArray& bytes);
    // Hands over what the buffer holds as a line (at the end of the output too).
    void Flush();

private:
    QStringList* Lines;
    std::function<void(const QString&)> OnLine;
    QByteArray Buffer;
    bool NewLinePending = true;
    bool AfterCR = false;
};

// An operating-system error while starting a run: "System Error.  Code: N.\r\n<message>".
class EOSError : public std::runtime_error {
public:
    EOSError(int code, const QString& message);
    int Code() const { return Code_; }
    QString Message() const { return QString::fromUtf8(what()); }

private:
    int Code_;
};

struct TConsoleRunOptions {
    IConsoleObserver* Observer = nullptr;
    // When above 0: a child that writes nothing for this long is killed, with everything it
    // started, and the run ends. Zero waits as long as the child lives.
    int StallTimeoutMs = 0;
};

inline constexpr int ConsoleLinePieceBytes = 20480;
inline constexpr int ConsoleReadChunkBytes = 20481;
// The exit code reported for a child that closed its output but did not end within 5 s.
inline constexpr int StillActiveExitCode = 259;

namespace Platform {
class TChildProcess;
}

// Starts `exePath` with the argument string `params` (split by the Windows command-line
// convention; blanks only: no arguments) in `workDir` (empty: the folder of our executable).
// Throws EOSError when the child cannot be started.
void StartConsoleChild(Platform::TChildProcess& child, const QString& exePath,
                       const QString& params, const QString& workDir);

// Runs `exePath` with the argument string `params` (split by the Windows command-line
// convention) in `workDir` (empty: the folder of our executable), appends its output lines to
// `outputLines` when given, and returns its exit code once its output has closed.
// Throws EOSError when the child cannot be started.
int RunConsoleProcess(const QString& exePath, const QString& params, QStringList* outputLines,
                      const QString& workDir, const TConsoleRunOptions& options = {});

// The lines a run would collect from these output bytes (recorded output, for instance).
QStringList ConsoleLines(const QByteArray& bytes);

// Sends one character to the standard input of the run in progress; false when there is none
// or the write fails.
bool WriteToConsoleInput(const QByteArray& text);

// Text in the code page of console programs: UTF-8 here, so "q" stays "q".
QByteArray StrToOem(const QString& text);

// Splits an argument string by the Windows command-line convention: blanks separate arguments,
// double quotes group them, 2n backslashes before a quote give n backslashes, 2n+1 give n and a
// literal quote, and "" inside quotes gives a quote.
QStringList SplitCommandLine(const QString& params);

// `arg` in double quotes, escaped so that SplitCommandLine gives it back unchanged whatever it
// holds: for a name without double quotes or trailing backslashes simply "name".
QString QuoteArgument(const QString& arg);
