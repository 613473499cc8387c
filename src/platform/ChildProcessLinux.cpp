#include "platform/ChildProcess.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Platform {

namespace {

void CloseFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// Writing "q" to an encoder that has just ended must not end this program.
void IgnoreSigPipe() {
    static const bool done = [] {
        std::signal(SIGPIPE, SIG_IGN);
        return true;
    }();
    (void)done;
}

} // namespace

TChildProcess::~TChildProcess() {
    if (ChildPid > 0 && !Reaped) {
        Kill();
        int code = 0;
        WaitForExit(5000, &code);
    }
    CloseFds();
}

void TChildProcess::CloseFds() {
    CloseFd(OutputFd);
    CloseFd(InputFd);
    CloseFd(PidFd);
}

int TChildProcess::ExitDescriptor() {
    if (PidFd < 0 && ChildPid > 0 && !Reaped)
        PidFd = int(::syscall(SYS_pidfd_open, ChildPid, 0));
    return PidFd;
}

bool TChildProcess::Start(const QString& program, const QStringList& arguments,
                          const QString& workDir, int* errorCode) {
    IgnoreSigPipe();
    // Everything the child needs is prepared before fork: after it only async-signal-safe calls.
    std::vector<QByteArray> storage;
    storage.reserve(size_t(arguments.size()) + 1);
    storage.push_back(QFile::encodeName(program));
    for (const QString& arg : arguments)
        storage.push_back(QFile::encodeName(arg));
    std::vector<char*> argv;
    for (QByteArray& bytes : storage)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);
    const QByteArray dir = QFile::encodeName(workDir);
    const pid_t parent = ::getpid();

    int out[2] = {-1, -1};
    int in[2] = {-1, -1};
    int status[2] = {-1, -1}; // carries the errno of a failed exec back to us
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(status, O_CLOEXEC) != 0) {
        *errorCode = errno;
        for (int* fds : {out, status})
            for (int i = 0; i < 2; ++i)
                CloseFd(fds[i]);
        return false;
    }
    const bool haveInput = ::pipe2(in, O_CLOEXEC) == 0;

    // vfork: the child borrows our memory until it runs the program, so starting a child costs
    // the same however large this process has grown. Until exec it only makes system calls.
    const pid_t pid = ::vfork();
    if (pid == 0) {
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(127); // the parent is already gone
        ::setpgid(0, 0);  // a terminal's Ctrl+C reaches us, not the encoder
        struct sigaction dfl {};
        dfl.sa_handler = SIG_DFL;
        ::sigaction(SIGPIPE, &dfl, nullptr);
        int err = 0;
        const int nullIn = haveInput ? -1 : ::open("/dev/null", O_RDONLY);
        if (::dup2(haveInput ? in[0] : nullIn, 0) < 0 || ::dup2(out[1], 1) < 0 ||
            ::dup2(out[1], 2) < 0)
            err = errno;
        else if (!dir.isEmpty() && ::chdir(dir.constData()) != 0)
            err = errno;
        if (err == 0) {
            ::execv(argv[0], argv.data());
            err = errno;
        }
        [[maybe_unused]] ssize_t w = ::write(status[1], &err, sizeof err);
        ::_exit(127);
    }
    const int forkErrno = errno;
    CloseFd(out[1]);
    CloseFd(in[0]);
    CloseFd(status[1]);
    if (pid < 0) {
        *errorCode = forkErrno;
        CloseFd(out[0]);
        CloseFd(in[1]);
        CloseFd(status[0]);
        return false;
    }
    int childErr = 0;
    ssize_t got;
    do
        got = ::read(status[0], &childErr, sizeof childErr);
    while (got < 0 && errno == EINTR);
    CloseFd(status[0]);
    ChildPid = pid;
    Reaped = false;
    if (got == ssize_t(sizeof childErr)) {
        int code = 0;
        WaitForExit(5000, &code);
        *errorCode = childErr;
        CloseFd(out[0]);
        CloseFd(in[1]);
        ChildPid = -1;
        return false;
    }
    OutputFd = out[0];
    InputFd = in[1];
    if (InputFd >= 0)
        ::fcntl(InputFd, F_SETFL, ::fcntl(InputFd, F_GETFL) | O_NONBLOCK);
    return true;
}

TChildProcess::TReadResult TChildProcess::Read(QByteArray* buffer, qsizetype maxBytes,
                                               int timeoutMs) {
    buffer->clear();
    if (OutputFd < 0)
        return TReadResult::End;
    pollfd pfd{OutputFd, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, timeoutMs);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return TReadResult::Timeout;
    if (ready < 0)
        return TReadResult::End;
    buffer->resize(maxBytes);
    ssize_t n;
    do
        n = ::read(OutputFd, buffer->data(), size_t(maxBytes));
    while (n < 0 && errno == EINTR);
    if (n <= 0) {
        buffer->clear();
        CloseFd(OutputFd);
        return TReadResult::End;
    }
    buffer->resize(n);
    return TReadResult::Data;
}

bool TChildProcess::WriteInput(const QByteArray& bytes) {
    if (InputFd < 0)
        return false;
    ssize_t n;
    do
        n = ::write(InputFd, bytes.constData(), size_t(bytes.size()));
    while (n < 0 && errno == EINTR);
    return n == bytes.size();
}

bool TChildProcess::WaitForExit(int timeoutMs, int* exitCode) {
    if (ChildPid <= 0)
        return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // A descriptor that becomes readable when the child ends: waiting costs no polling.
    const int pidFd = int(::syscall(SYS_pidfd_open, ChildPid, 0));
    for (;;) {
        int status = 0;
        const pid_t r = ::waitpid(ChildPid, &status, WNOHANG);
        if (r == ChildPid || (r < 0 && errno != EINTR)) {
            Reaped = true; // when r < 0 it is not our child any more
            *exitCode = r < 0                 ? 1
                        : WIFEXITED(status)   ? WEXITSTATUS(status)
                        : WIFSIGNALED(status) ? 128 + WTERMSIG(status)
                                              : 1;
            if (pidFd >= 0)
                ::close(pidFd);
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            if (pidFd >= 0)
                ::close(pidFd);
            return false;
        }
        if (pidFd >= 0) {
            pollfd pfd{pidFd, POLLIN, 0};
            ::poll(&pfd, 1, int(left));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(left, 5)));
        }
    }
}

void TChildProcess::Kill() {
    if (ChildPid > 0 && !Reaped) {
        ::kill(-ChildPid, SIGKILL); // the child leads its own process group
        ::kill(ChildPid, SIGKILL);
    }
}

} // namespace Platform
