#include "execution/ConRun.h"

#include "platform/ChildProcess.h"
#include "platform/Platform.h"

#include <QElapsedTimer>
#include <cstring>

thread_local TRunningProcess RunningProcess;

namespace {

// The child of the innermost run in progress on this thread; a window serviced during a run may
// start a probe of its own, which is then the one WriteToConsoleInput talks to.
thread_local Platform::TChildProcess* CurrentChild = nullptr;

// Restores the state of an enclosing run (or none) however this run ends.
struct TRunScope {
    explicit TRunScope(Platform::TChildProcess* child)
        : SavedChild(CurrentChild), SavedState(RunningProcess) {
        CurrentChild = child;
    }
    ~TRunScope() {
        CurrentChild = SavedChild;
        RunningProcess = SavedState;
    }
    Platform::TChildProcess* SavedChild;
    TRunningProcess SavedState;
};

} // namespace

TConsoleLineCollector::TConsoleLineCollector(QStringList* lines,
                                             std::function<void(const QString&)> onLine)
    : Lines(lines), OnLine(std::move(onLine)) {
    Buffer.reserve(ConsoleLinePieceBytes);
}

void TConsoleLineCollector::Feed(const QByteArray& bytes) {
    for (const char c : bytes) {
        if (c == '\n') {
            if (!AfterCR)
                Flush();
            NewLinePending = true;
        } else if (c == '\r') {
            Flush();
        } else {
            Buffer.append(c);
            if (Buffer.size() == ConsoleLinePieceBytes) {
                // Every piece of an overlong line is an entry of its own, the rest too.
                NewLinePending = true;
                Flush();
                NewLinePending = true;
            }
        }
        AfterCR = c == '\r';
    }
}

void TConsoleLineCollector::Flush() {
    const QString line = QString::fromUtf8(Buffer);
    if (Lines != nullptr) {
        if (NewLinePending || Lines->isEmpty())
            Lines->append(line);
        else
            Lines->last() = line;
    }
    NewLinePending = false;
    Buffer.clear();
    if (OnLine)
        OnLine(line);
}

EOSError::EOSError(int code, const QString& message)
    : std::runtime_error(
          (code != 0 ? QStringLiteral("System Error.  Code: %1.\r\n%2").arg(code).arg(message)
                     : QStringLiteral("A call to an OS function failed"))
              .toStdString()),
      Code_(code) {}

void StartConsoleChild(Platform::TChildProcess& child, const QString& exePath,
                       const QString& params, const QString& workDir) {
    QString dir = workDir;
    if (dir.isEmpty())
        dir = Platform::ExecutableDir();
    if (dir.isEmpty())
        dir = QStringLiteral("/");
    const QStringList arguments =
        params.trimmed().isEmpty() ? QStringList() : SplitCommandLine(params);
    int error = 0;
    if (!child.Start(exePath, arguments, dir, &error))
        throw EOSError(error, QString::fromLocal8Bit(std::strerror(error)));
}

int RunConsoleProcess(const QString& exePath, const QString& params, QStringList* outputLines,
                      const QString& workDir, const TConsoleRunOptions& options) {
    Platform::TChildProcess child;
    TRunScope scope(&child);
    RunningProcess = {};
    StartConsoleChild(child, exePath, params, workDir);
    RunningProcess.dwProcessId = child.Pid();
    RunningProcess.InputWritable = child.HasInput();

    IConsoleObserver* observer = options.Observer;
    TConsoleLineCollector collector(outputLines, [observer](const QString& line) {
        if (observer != nullptr)
            observer->OnConsoleLine(line);
    });
    QByteArray chunk;
    QElapsedTimer sinceOutput;
    sinceOutput.start();
    QElapsedTimer sinceCallback;
    sinceCallback.start();
    for (;;) {
        const auto result = child.Read(&chunk, ConsoleReadChunkBytes, 100);
        if (result == Platform::TChildProcess::TReadResult::End)
            break;
        if (result == Platform::TChildProcess::TReadResult::Data) {
            sinceOutput.restart();
            collector.Feed(chunk);
        } else if (options.StallTimeoutMs > 0 && sinceOutput.elapsed() >= options.StallTimeoutMs) {
            child.Kill();
        }
        if (sinceCallback.elapsed() >= 100) {
            if (options.Observer != nullptr)
                options.Observer->OnConsoleIdle();
            sinceCallback.restart();
        }
    }
    int exitCode = StillActiveExitCode;
    if (!child.WaitForExit(5000, &exitCode)) {
        // Its output is closed but it lives on: it is ended, so that nothing of ours lingers.
        child.Kill();
        int ignored = 0;
        child.WaitForExit(5000, &ignored);
        exitCode = StillActiveExitCode;
    }
    collector.Flush();
    return exitCode;
}

QStringList ConsoleLines(const QByteArray& bytes) {
    QStringList lines;
    TConsoleLineCollector collector(&lines, nullptr);
    collector.Feed(bytes);
    collector.Flush();
    return lines;
}

bool WriteToConsoleInput(const QByteArray& text) {
    if (CurrentChild == nullptr || RunningProcess.dwProcessId == 0 || !RunningProcess.InputWritable)
        return false;
    return CurrentChild->WriteInput(text);
}

QByteArray StrToOem(const QString& text) {
    return text.toUtf8();
}

QStringList SplitCommandLine(const QString& params) {
    QStringList args;
    QString current;
    bool inArg = false;
    bool inQuotes = false;
    const qsizetype n = params.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = params.at(i);
        if (c == u'\\') {
            qsizetype count = 0;
            while (i < n && params.at(i) == u'\\') {
                ++count;
                ++i;
            }
            if (i < n && params.at(i) == u'"') {
                current.append(QString(count / 2, u'\\'));
                if (count % 2 == 1)
                    current.append(u'"');
                else
                    inQuotes = !inQuotes;
            } else {
                current.append(QString(count, u'\\'));
                --i;
            }
            inArg = true;
        } else if (c == u'"') {
            if (inQuotes && i + 1 < n && params.at(i + 1) == u'"') {
                current.append(u'"');
                ++i;
            } else {
                inQuotes = !inQuotes;
            }
            inArg = true;
        } else if ((c == u' ' || c == u'\t') && !inQuotes) {
            if (inArg)
                args.append(current);
            current.clear();
            inArg = false;
        } else {
            current.append(c);
            inArg = true;
        }
    }
    if (inArg)
        args.append(current);
    return args;
}

QString QuoteArgument(const QString& arg) {
    QString quoted(u'"');
    qsizetype backslashes = 0;
    for (const QChar c : arg) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"') {
            quoted.append(QString(backslashes * 2 + 1, u'\\'));
            quoted.append(u'"');
        } else {
            quoted.append(QString(backslashes, u'\\'));
            quoted.append(c);
        }
        backslashes = 0;
    }
    quoted.append(QString(backslashes * 2, u'\\'));
    quoted.append(u'"');
    return quoted;
}
