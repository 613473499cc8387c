#include "filelist/MediaInfoHelper.h"

#include "platform/ChildProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QtEndian>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// A frame on the helper's output: the mark, the payload's length (32 bits, big-endian), the
// payload. Anything before a mark (a library that prints) is skipped.
constexpr char FrameMark[] = "ZMI1";
constexpr qsizetype MarkSize = 4;
constexpr qsizetype HeaderSize = MarkSize + 4;
constexpr quint32 MaxPayload = 256 * 1024 * 1024;

QMutex ProgramLock;
QString Program;

struct THelper {
    std::unique_ptr<Platform::TChildProcess> Child;
    QString Program; // the helper program it runs
    QString Library;
    QByteArray Pending; // output read but not yet taken
};

// One helper per thread that reads files.
thread_local THelper Helper;

bool StartHelper(const QString& program, const QString& libraryPath, int* error) {
    auto child = std::make_unique<Platform::TChildProcess>();
    if (!child->Start(program, {QStringLiteral("mediainfo-helper"), libraryPath}, QDir::rootPath(),
                      error))
        return false;
    Helper.Child = std::move(child);
    Helper.Program = program;
    Helper.Library = libraryPath;
    Helper.Pending.clear();
    return true;
}

void StopHelper() {
    Helper.Child.reset(); // kills it when it is still there
    Helper.Pending.clear();
}

// The first complete frame in Pending, taken out of it.
std::optional<QByteArray> TakeFrame() {
    for (;;) {
        const qsizetype mark = Helper.Pending.indexOf(QByteArrayView(FrameMark, MarkSize));
        if (mark < 0) {
            Helper.Pending = Helper.Pending.right(MarkSize - 1);
            return std::nullopt;
        }
        Helper.Pending.remove(0, mark);
        if (Helper.Pending.size() < HeaderSize)
            return std::nullopt;
        const quint32 length = qFromBigEndian<quint32>(Helper.Pending.constData() + MarkSize);
        if (length > MaxPayload) { // not a frame after all: look for the next mark
            Helper.Pending.remove(0, 1);
            continue;
        }
        if (Helper.Pending.size() < HeaderSize + qsizetype(length))
            return std::nullopt;
        QByteArray payload = Helper.Pending.mid(HeaderSize, length);
        Helper.Pending.remove(0, HeaderSize + length);
        return payload;
    }
}

TMediaInfoAnswers Failed(TMediaInfoFailure failure, int value = 0) {
    TMediaInfoAnswers answers;
    answers.Failure = failure;
    answers.FailureValue = value;
    return answers;
}

bool WriteAll(FILE* out, const QByteArray& bytes) {
    return std::fwrite(bytes.constData(), 1, size_t(bytes.size()), out) == size_t(bytes.size()) &&
           std::fflush(out) == 0;
}

} // namespace

void UseMediaInfoHelper(const QString& program) {
    const QMutexLocker lock(&ProgramLock);
    Program = program;
}

QString MediaInfoHelperProgram() {
    const QMutexLocker lock(&ProgramLock);
    return Program;
}

TMediaInfoAnswers AskMediaInfoHelper(const QString& fileName, const QString& libraryPath,
                                     int timeLimitMs) {
    const QString program = MediaInfoHelperProgram();
    if (Helper.Child && (Helper.Library != libraryPath || Helper.Program != program))
        StopHelper();
    const QByteArray request = QFile::encodeName(fileName) + '\0';
    if (program.isEmpty())
        return AskMediaInfo(fileName, libraryPath); // no helpers in use: read here
    // A helper that ended since the last file (killed from outside) is replaced once. A file no
    // helper can take is not read here instead: that would lose the protection helpers exist for.
    for (int attempt = 0; attempt < 2; ++attempt) {
        int error = 0;
        if (!Helper.Child && !StartHelper(program, libraryPath, &error))
            return Failed(TMediaInfoFailure::NoHelper, error);
        if (Helper.Child->WriteInput(request))
            break;
        error = errno;
        StopHelper();
        if (attempt == 1)
            return Failed(TMediaInfoFailure::NoHelper, error);
    }
    const QDeadlineTimer deadline(timeLimitMs);
    QByteArray chunk;
    for (;;) {
        if (std::optional<QByteArray> frame = TakeFrame()) {
            if (std::optional<TMediaInfoAnswers> answers = DeserializeMediaInfoAnswers(*frame))
                return *answers;
            StopHelper();
            return Failed(TMediaInfoFailure::BadAnswer);
        }
        const qint64 left = deadline.remainingTime();
        if (left == 0) {
            StopHelper();
            return Failed(TMediaInfoFailure::TimedOut, timeLimitMs / 1000);
        }
        const auto result = Helper.Child->Read(&chunk, 64 * 1024, int(left));
        if (result == Platform::TChildProcess::TReadResult::Data) {
            Helper.Pending += chunk;
        } else if (result == Platform::TChildProcess::TReadResult::End) {
            int code = 0;
            Helper.Child->WaitForExit(2000, &code);
            StopHelper();
            return code > 128 ? Failed(TMediaInfoFailure::Crashed, code - 128)
                              : Failed(TMediaInfoFailure::Ended, code);
        }
    }
}

int RunMediaInfoHelper(const QString& libraryPath) {
    // Standard output carries the frames alone: what the library or Qt would say goes nowhere.
    if (std::freopen("/dev/null", "w", stderr) == nullptr)
        return 1;
    QByteArray request;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0; // the program closed our input: it has ended or needs us no more
        request.append(buffer, qsizetype(n));
        qsizetype end;
        while ((end = request.indexOf('\0')) >= 0) {
            const QString fileName = QFile::decodeName(request.left(end));
            request.remove(0, end + 1);
            const QByteArray payload =
                SerializeMediaInfoAnswers(AskMediaInfo(fileName, libraryPath));
            QByteArray frame(FrameMark, MarkSize);
            char length[4];
            qToBigEndian<quint32>(quint32(payload.size()), length);
            frame.append(length, 4);
            frame.append(payload);
            if (!WriteAll(stdout, frame))
                return 1;
        }
    }
}
