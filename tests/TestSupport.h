#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <ostream>
#include <sys/types.h>

// Writes `bytes` to `path`, creating missing folders; fails the test when it cannot.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);
// Bytes that look random and are the same on every run for the same seed.
QByteArray RandomBytes(qsizetype size, quint32 seed);

// A temporary folder that is removed with the test; Write gives every file a new name.
class TScratchDir {
public:
    QString Path(const QString& name) const;
    QString Write(const QByteArray& bytes);
    QString Root() const;

private:
    QTemporaryDir Dir;
    int Count = 0;
};

// A program a test starts and talks to. Started with posix_spawn, not QProcess: the way Qt starts
// children is one ThreadSanitizer's runtime cannot follow, and these tests run under it too.
class TTestProcess {
public:
    struct TOptions {
        QString WorkDir;
        QString InputFile;       // standard input; /dev/null when empty
        QStringList Environment; // "NAME=value" entries over the test's own environment
    };
    TTestProcess() = default;
    TTestProcess(const TTestProcess&) = delete;
    TTestProcess& operator=(const TTestProcess&) = delete;
    ~TTestProcess(); // kills a program still running

    bool Start(const QString& program, const QStringList& args, const TOptions& options = {});
    pid_t Pid() const { return ChildPid; }
    // Collects output until `done(Out())` holds or `timeoutMs` pass; false on timeout or end.
    bool WaitForOutput(const std::function<bool(const QByteArray&)>& done, int timeoutMs);
    // Collects output until the program ends, at most `timeoutMs`.
    bool WaitForFinished(int timeoutMs);
    void Kill();
    // The exit status, or -1 when a signal ended it (then Signal() is that signal).
    int ExitCode() const { return Exit; }
    int Signal() const { return EndSignal; }
    const QByteArray& Out() const { return OutBytes; }
    const QByteArray& Err() const { return ErrBytes; }

private:
    void Collect(int timeoutMs);
    bool Reap(bool wait);

    pid_t ChildPid = -1;
    int OutFd = -1, ErrFd = -1;
    int Exit = -1, EndSignal = 0;
    QByteArray OutBytes, ErrBytes;
};

struct TProcessResult {
    int ExitCode = -1;
    QString Out;
    QString Err;
};
// Runs a program to its end (at most 60 s) and returns what it printed.
TProcessResult RunProgram(const QString& program, const QStringList& args,
                          const QString& workingDir = {});

// A small media file made once per test run by the real encoder from its test sources; see the
// table in TestSupport.cpp for the names. Fails the test when the encoder is missing.
QString MediaFile(const QString& name);

// The processes whose parent is `parent`, from /proc; a sanitizer's symbolizer is not counted.
QList<pid_t> ChildrenOf(pid_t parent);

// The encoder on PATH, and the system's MediaInfo library.
QString SystemFFmpeg();
QString SystemMediaInfo();

// A tmpfs of `size` ("200k") mounted on the folder `path` while it lives (root only); Error says
// why there is none.
class TSmallFileSystem {
public:
    TSmallFileSystem(const QString& path, const QString& size);
    ~TSmallFileSystem();
    TSmallFileSystem(const TSmallFileSystem&) = delete;
    TSmallFileSystem& operator=(const TSmallFileSystem&) = delete;
    QString Error;

private:
    QString Path;
};

// Makes the folder `path` read-only while it lives: a read-only bind mount of itself where the
// tests run as root (whom permissions do not stop), else its permissions. Error says why it could
// not.
class TReadOnlyFolder {
public:
    explicit TReadOnlyFolder(const QString& path);
    ~TReadOnlyFolder();
    TReadOnlyFolder(const TReadOnlyFolder&) = delete;
    TReadOnlyFolder& operator=(const TReadOnlyFolder&) = delete;
    QString Error;

private:
    QString Path;
    bool Mounted = false;
};

// Makes `locale` the user's locale while it lives.
class TLocaleScope {
public:
    explicit TLocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~TLocaleScope() { QLocale::setDefault(Previous); }

private:
    QLocale Previous;
};

// Readable texts in the messages of failed expectations.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
