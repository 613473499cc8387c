#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

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

TProcessResult RunProgram(const QString& program, const QStringList& args,
                          const QString& workingDir) {
    QProcess process;
    if (!workingDir.isEmpty())
        process.setWorkingDirectory(workingDir);
    process.start(program, args);
    TProcessResult result;
    if (!process.waitForStarted(10000) || !process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not run to its end";
        return result;
    }
    result.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.Out = QString::fromUtf8(process.readAllStandardOutput());
    result.Err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
