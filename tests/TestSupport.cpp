#include "TestSupport.h"

#include "core/AppParams.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace Qt::StringLiterals;

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString TScratchDir::Path(const QString& name) const {
    return Dir.filePath(name);
}

QString TScratchDir::Root() const {
    return Dir.path();
}

QString TScratchDir::Write(const QByteArray& bytes) {
    const QString path = Path(QStringLiteral("file%1").arg(++Count));
    WriteFile(path, bytes);
    return path;
}

QByteArray RandomBytes(qsizetype size, quint32 seed) {
    QByteArray bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = char(seed >> 24);
    }
    return bytes;
}

TTestProcess::~TTestProcess() {
    if (ChildPid > 0) {
        Kill();
        Reap(true);
    }
    for (const int fd : {OutFd, ErrFd})
        if (fd >= 0)
            ::close(fd);
}

bool TTestProcess::Start(const QString& program, const QStringList& args, const TOptions& options) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return false;
    if (::pipe2(err, O_CLOEXEC) != 0) {
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
    std::vector<QByteArray> storage{QFile::encodeName(program)};
    for (const QString& arg : args)
        storage.push_back(QFile::encodeName(arg));
    std::vector<char*> argv;
    for (QByteArray& bytes : storage)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);
    // The test's environment with the given entries in place of their namesakes.
    std::vector<QByteArray> envStorage;
    for (const QString& entry : options.Environment)
        envStorage.push_back(entry.toLocal8Bit());
    for (char** e = environ; *e; ++e) {
        const QByteArray entry(*e);
        const QByteArray name = entry.left(entry.indexOf('=') + 1);
        if (std::none_of(envStorage.begin(), envStorage.end(),
                         [&](const QByteArray& own) { return own.startsWith(name); }))
            envStorage.push_back(entry);
    }
    std::vector<char*> envp;
    for (QByteArray& bytes : envStorage)
        envp.push_back(bytes.data());
    envp.push_back(nullptr);
    const QByteArray input = options.InputFile.isEmpty() ? QByteArray("/dev/null")
                                                         : QFile::encodeName(options.InputFile);
    const QByteArray dir = QFile::encodeName(options.WorkDir);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, input.constData(), O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    if (!dir.isEmpty())
        posix_spawn_file_actions_addchdir_np(&actions, dir.constData());
    const int failed =
        ::posix_spawnp(&ChildPid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (failed != 0) {
        ChildPid = -1;
        ::close(out[0]);
        ::close(err[0]);
        return false;
    }
    OutFd = out[0];
    ErrFd = err[0];
    return true;
}

// Reads what the pipes have, waiting at most `timeoutMs` for the first bytes.
void TTestProcess::Collect(int timeoutMs) {
    pollfd fds[2] = {{OutFd, POLLIN, 0}, {ErrFd, POLLIN, 0}};
    if (::poll(fds, 2, timeoutMs) <= 0)
        return;
    for (int i = 0; i < 2; ++i) {
        if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
            continue;
        char buffer[65536];
        const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
        if (got > 0) {
            (i == 0 ? OutBytes : ErrBytes).append(buffer, got);
        } else if (got == 0 || errno != EINTR) {
            ::close(fds[i].fd);
            (i == 0 ? OutFd : ErrFd) = -1;
        }
    }
}

bool TTestProcess::Reap(bool wait) {
    if (ChildPid <= 0)
        return true;
    int status = 0;
    pid_t got;
    do
        got = ::waitpid(ChildPid, &status, wait ? 0 : WNOHANG);
    while (got < 0 && errno == EINTR);
    if (got != ChildPid)
        return false;
    ChildPid = -1;
    Exit = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    EndSignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return true;
}

bool TTestProcess::WaitForOutput(const std::function<bool(const QByteArray&)>& done,
                                 int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done(OutBytes)) {
        if (OutFd < 0 || clock.elapsed() >= timeoutMs)
            return false;
        Collect(20);
    }
    return true;
}

bool TTestProcess::WaitForFinished(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!Reap(false)) {
        if (clock.elapsed() >= timeoutMs)
            return false;
        if (OutFd >= 0 || ErrFd >= 0)
            Collect(20);
        else
            ::usleep(10000);
    }
    // What is left in the pipes; a child of the program may keep them open, so no waiting.
    for (int i = 0; i < 100 && (OutFd >= 0 || ErrFd >= 0); ++i) {
        const qsizetype before = OutBytes.size() + ErrBytes.size();
        Collect(i == 0 ? 50 : 0);
        if (OutBytes.size() + ErrBytes.size() == before)
            break;
    }
    return true;
}

void TTestProcess::Kill() {
    if (ChildPid > 0)
        ::kill(ChildPid, SIGKILL);
}

TProcessResult RunProgram(const QString& program, const QStringList& args,
                          const QString& workingDir) {
    TTestProcess process;
    TProcessResult result;
    // A program that reads its input sees its end.
    if (!process.Start(program, args, {workingDir, {}, {}}) || !process.WaitForFinished(60000)) {
        ADD_FAILURE() << program.toStdString() << " did not run to its end";
        return result;
    }
    result.ExitCode = process.ExitCode();
    result.Out = QString::fromUtf8(process.Out());
    result.Err = QString::fromUtf8(process.Err());
    return result;
}

namespace {

// Encoder arguments (after the inputs' sources) for every media file the tests use.
QStringList MediaRecipe(const QString& name, const QString& folder) {
    const auto src = [](const char* graph) {
        return QStringList{QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                           QString::fromUtf8(graph)};
    };
    const QString srt = folder + QStringLiteral("/subtitle.srt");
    if (name == u"clip.flv") // Sorenson Spark and constant-rate MP3
        return src("testsrc=size=320x240:rate=25:duration=1") +
               src("sine=frequency=440:duration=1:sample_rate=44100") +
               QStringList{u"-c:v"_s, u"flv"_s,        u"-b:v"_s, u"200k"_s,
                           u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"128k"_s};
    if (name == u"clip15.flv")
        return src("testsrc=size=320x240:rate=15:duration=1") +
               src("sine=frequency=440:duration=1:sample_rate=22050") +
               QStringList{u"-c:v"_s, u"flv"_s, u"-c:a"_s, u"libmp3lame"_s};
    if (name == u"clip640.flv") // the first use case: Flash Video with an MP3 track
        return src("testsrc=size=640x360:rate=25:duration=1") + src("sine=duration=1") +
               QStringList{u"-c:v"_s, u"flv"_s,        u"-b:v"_s, u"400k"_s,
                           u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"128k"_s};
    if (name == u"long.mp4") // long enough to abort while it converts
        return src("testsrc=size=640x360:rate=25:duration=20") + src("sine=duration=20") +
               QStringList{u"-c:v"_s,     u"libx264"_s, u"-preset"_s, u"ultrafast"_s,
                           u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a"_s,    u"aac"_s};
    if (name == u"detail.flv") // detail that shows every change of the picture
        return src("testsrc=size=640x360:rate=25:duration=4") + src("sine=duration=4") +
               QStringList{u"-c:v"_s, u"flv"_s,        u"-b:v"_s, u"2000k"_s,
                           u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"128k"_s};
    if (name == u"faststart.mp4") // the index before the media data, as a download has it
        return src("testsrc=size=320x240:rate=25:duration=20") + src("sine=duration=20") +
               QStringList{u"-c:v"_s,      u"libx264"_s,   u"-preset"_s, u"ultrafast"_s,
                           u"-pix_fmt"_s,  u"yuv420p"_s,   u"-c:a"_s,    u"aac"_s,
                           u"-movflags"_s, u"+faststart"_s};
    if (name == u"clip.mp4")
        return src("testsrc=size=640x360:rate=25:duration=1") + src("sine=duration=1") +
               QStringList{u"-c:v"_s,  u"libx264"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-colorspace"_s,
                           u"bt709"_s, u"-c:a"_s,    u"aac"_s,      u"-b:a"_s,    u"96k"_s};
    if (name == u"videoonly.mp4")
        return src("testsrc=size=160x120:rate=25:duration=1") +
               QStringList{u"-c:v"_s, u"libx264"_s, u"-pix_fmt"_s, u"yuv420p"_s};
    if (name == u"clip.mkv") { // two audio tracks and a subtitle track
        WriteFile(srt, "1\n00:00:00,000 --> 00:00:00,800\nHello\n");
        return src("testsrc=size=320x240:rate=25:duration=1") + src("sine=duration=1") +
               src("sine=frequency=880:duration=1:sample_rate=48000") +
               QStringList{u"-i"_s,
                           srt,
                           u"-map"_s,
                           u"0"_s,
                           u"-map"_s,
                           u"1"_s,
                           u"-map"_s,
                           u"2"_s,
                           u"-map"_s,
                           u"3"_s,
                           u"-c:v"_s,
                           u"mpeg4"_s,
                           u"-c:a:0"_s,
                           u"aac"_s,
                           u"-c:a:1"_s,
                           u"libmp3lame"_s,
                           u"-c:s"_s,
                           u"srt"_s,
                           u"-metadata:s:a:0"_s,
                           u"language=eng"_s,
                           u"-metadata:s:a:1"_s,
                           u"language=ger"_s};
    }
    if (name == u"interlaced.ts")
        return src("testsrc=size=720x576:rate=25:duration=1") + src("sine=duration=1") +
               QStringList{u"-c:v"_s, u"mpeg2video"_s, u"-flags"_s, u"+ilme+ildct"_s, u"-top"_s,
                           u"1"_s,    u"-b:v"_s,       u"4M"_s,     u"-c:a"_s,        u"mp2"_s};
    if (name == u"odd.avi")
        return src("testsrc=size=641x361:rate=25:duration=1") +
               QStringList{u"-c:v"_s, u"mpeg4"_s, u"-aspect"_s, u"2.35"_s};
    if (name == u"audio.mp3")
        return src("sine=duration=1") +
               QStringList{u"-c:a"_s, u"libmp3lame"_s, u"-b:a"_s, u"128k"_s};
    if (name == u"audio.wav")
        return src("sine=duration=1:sample_rate=48000") +
               QStringList{u"-ac"_s, u"2"_s, u"-c:a"_s, u"pcm_s16le"_s};
    if (name == u"many.mkv") { // more streams than the record describes
        QStringList args = src("testsrc=size=64x48:rate=5:duration=0.4") +
                           src("sine=duration=0.4:sample_rate=8000");
        for (int i = 0; i < 12; ++i)
            args << u"-map"_s << u"0:v"_s;
        for (int i = 0; i < 50; ++i)
            args << u"-map"_s << u"1:a"_s;
        return args + QStringList{u"-c:v"_s, u"mpeg4"_s, u"-c:a"_s, u"pcm_s16le"_s};
    }
    return {};
}

} // namespace

QString SystemFFmpeg() {
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

QString SystemMediaInfo() {
    TAppParams params;
    InitAppParams(params, QStringLiteral("/nonexistent/zorvane-tests"));
    return GetMediaInfoDll(params);
}

QString MediaFile(const QString& name) {
    static QTemporaryDir folder;
    static QHash<QString, QString> made;
    if (const auto it = made.constFind(name); it != made.cend())
        return it.value();
    const QStringList recipe = MediaRecipe(name, folder.path());
    EXPECT_FALSE(recipe.isEmpty()) << "no recipe for " << name.toStdString();
    const QString path = folder.filePath(name);
    const TProcessResult r = RunProgram(SystemFFmpeg(), QStringList{u"-v"_s, u"error"_s, u"-y"_s} +
                                                            recipe + QStringList{path});
    EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    made.insert(name, path);
    return path;
}

QList<pid_t> ChildrenOf(pid_t parent) {
    QList<pid_t> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile stat(QStringLiteral("/proc/") + entry + QStringLiteral("/stat"));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        if (line.contains("(llvm-symbolizer)"))
            continue; // a sanitizer's helper, not ours
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields.at(1).toInt() == parent)
            children.append(pid_t(entry.toInt()));
    }
    return children;
}

TSmallFileSystem::TSmallFileSystem(const QString& path, const QString& size) : Path(path) {
    if (::geteuid() != 0) {
        Error = QStringLiteral("mounting a file system needs root");
        return;
    }
    QDir().mkpath(path);
    const TProcessResult mount =
        RunProgram(QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=") + size, QStringLiteral("tmpfs"), path});
    if (mount.ExitCode != 0)
        Error = mount.Err.isEmpty() ? QStringLiteral("mount failed") : mount.Err.trimmed();
}

TSmallFileSystem::~TSmallFileSystem() {
    if (Error.isEmpty())
        RunProgram(QStringLiteral("umount"), {QStringLiteral("-l"), Path});
}

TReadOnlyFolder::TReadOnlyFolder(const QString& path) : Path(path) {
    if (::geteuid() != 0) {
        if (!QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner))
            Error = QStringLiteral("cannot change the permissions of ") + path;
        return;
    }
    const TProcessResult bind =
        RunProgram(QStringLiteral("mount"), {QStringLiteral("--bind"), path, path});
    if (bind.ExitCode != 0) {
        Error = bind.Err.trimmed();
        return;
    }
    Mounted = true;
    const TProcessResult readOnly = RunProgram(
        QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), path});
    if (readOnly.ExitCode != 0)
        Error = readOnly.Err.trimmed();
}

TReadOnlyFolder::~TReadOnlyFolder() {
    if (Mounted)
        RunProgram(QStringLiteral("umount"), {QStringLiteral("-l"), Path});
    else
        QFile::setPermissions(Path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
