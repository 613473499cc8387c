#include "filelist/BatchProbe.h"

#include "execution/ConRun.h"
#include "filelist/MediaInfoDll.h"
#include "filelist/ProbeParser.h"
#include "platform/ChildProcess.h"
#include "platform/Platform.h"

#include <QElapsedTimer>
#include <QRegularExpression>

namespace {

// "Input #3, flv, from ..." -> 3; -1 for any other line.
int InputNumber(const QString& line) {
    static const QRegularExpression input(QStringLiteral("^Input #(\\d+), "));
    const QRegularExpressionMatch m = input.match(line);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// The line as a run with that input alone prints it.
QString Renumbered(QString line, int k) {
    if (k == 0)
        return line;
    const QString number = QString::number(k);
    static const QRegularExpression marks(
        QStringLiteral("^(\\s*(?:Input|Stream|Chapter) #)(\\d+)"));
    const QRegularExpressionMatch m = marks.match(line);
    if (m.hasMatch() && m.captured(2) == number)
        line.replace(m.capturedStart(2), m.capturedLength(2), QStringLiteral("0"));
    return line;
}

QByteArray RunEncoder(const QString& ffmpegExe, const QStringList& arguments, int stallTimeoutMs) {
    Platform::TChildProcess child;
    int error = 0;
    if (!child.Start(ffmpegExe, arguments, QString(), &error))
        return {};
    QByteArray output;
    QElapsedTimer quiet;
    quiet.start();
    for (;;) {
        QByteArray chunk;
        const auto result = child.Read(&chunk, ConsoleReadChunkBytes, 100);
        if (result == Platform::TChildProcess::TReadResult::End)
            break;
        if (result == Platform::TChildProcess::TReadResult::Data) {
            output += chunk;
            quiet.restart();
        } else if (stallTimeoutMs > 0 && quiet.elapsed() > stallTimeoutMs) {
            child.Kill();
            break;
        }
    }
    int exitCode = 0;
    if (!child.WaitForExit(5000, &exitCode))
        child.Kill();
    return output;
}

} // namespace

int SplitBatchProbeOutput(const QStringList& lines, const QStringList& inputs,
                          QList<QStringList>& perInput) {
    perInput = QList<QStringList>(inputs.size());
    QStringList header;
    int current = -1;
    int described = 0;
    for (const QString& line : lines) {
        const int k = InputNumber(line);
        if (k >= 0 && k == current + 1 && k < inputs.size()) {
            current = k;
            described = k + 1;
            perInput[k] = header;
        }
        if (current < 0)
            header.append(line);
        else
            perInput[current].append(Renumbered(line, current));
    }
    // An input that could not be opened ends the run with "<name>: <reason>".
    if (described < inputs.size() && described >= 0) {
        const QString failed = inputs.at(described) + u':';
        QStringList& last = described > 0 ? perInput[described - 1] : header;
        for (qsizetype i = 0; i < last.size(); ++i) {
            if (last.at(i).startsWith(failed)) {
                perInput[described] = header + last.mid(i);
                last = last.mid(0, i);
                return described + 1;
            }
        }
    }
    return described;
}

QList<QStringList> ProbeFiles(const QString& ffmpegExe, const QStringList& files,
                              int stallTimeoutMs) {
    QList<QStringList> result(files.size());
    qsizetype next = 0;
    while (next < files.size()) {
        const QStringList batch = files.mid(next, ProbeBatchSize);
        QStringList arguments;
        for (const QString& file : batch)
            arguments << QStringLiteral("-i") << file;
        const QStringList lines = ConsoleLines(RunEncoder(ffmpegExe, arguments, stallTimeoutMs));
        QList<QStringList> perInput;
        const int reached = SplitBatchProbeOutput(lines, batch, perInput);
        for (int i = 0; i < reached; ++i)
            result[next + i] = perInput.at(i);
        // Nothing reached at all (the encoder could not start, or stalled): give up on the first
        // file rather than on the batch.
        next += std::max(1, reached);
    }
    return result;
}

TVideoFileInfo AnalyseFromProbe(const QString& fileName, const QStringList& probeLines,
                                const QString& mediaInfoDll) {
    TVideoFileInfo record;
    record.FileName = fileName;
    record.FileSize = GetFileSizeSafe(fileName);
    if (!Platform::IsRegularFile(fileName))
        return record;
    ParseProbeOutput(probeLines, record);
    ReadMediaInfo(fileName, mediaInfoDll, record);
    DeriveVideoStreamSize(record);
    return record;
}
