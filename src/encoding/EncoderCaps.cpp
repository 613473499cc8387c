#include "encoding/EncoderCaps.h"

#include "execution/ConRun.h"

#include <QHash>
#include <QMutex>
#include <QRegularExpression>

namespace {

bool HasEncoder(const QStringList& lines, const QString& name) {
    // Lines read " A....D libfdk_aac           Fraunhofer ..." : flags, name, description.
    const QRegularExpression row(QStringLiteral("^\\s*[VAS][A-Z.]{5}\\s+") +
                                 QRegularExpression::escape(name) + QStringLiteral("\\s"));
    for (const QString& line : lines)
        if (row.match(line + u' ').hasMatch())
            return true;
    return false;
}

} // namespace

QString AacEncoderFor(const QString& ffmpegExe) {
    // Asked from the batch's analysis threads: one answer per encoder, kept under a lock.
    static QMutex mutex;
    static QHash<QString, QString> known;
    const QString fdk = QStringLiteral("libfdk_aac");
    if (ffmpegExe.isEmpty())
        return fdk;
    const QMutexLocker lock(&mutex);
    if (const auto it = known.constFind(ffmpegExe); it != known.cend())
        return it.value();
    QStringList lines;
    try {
        RunConsoleProcess(ffmpegExe, QStringLiteral("-hide_banner -encoders"), &lines, {},
                          {nullptr, 20000});
    } catch (const EOSError&) {
        return fdk; // not remembered: the next call tries again
    }
    const QString chosen = !HasEncoder(lines, fdk) && HasEncoder(lines, QStringLiteral("aac"))
                               ? QStringLiteral("aac")
                               : fdk;
    known.insert(ffmpegExe, chosen);
    return chosen;
}

QString EncoderLongHelp(const QString& ffmpegExe) {
    if (ffmpegExe.isEmpty())
        return {};
    QStringList lines;
    try {
        RunConsoleProcess(ffmpegExe, QStringLiteral("-hide_banner -h long"), &lines, {},
                          {nullptr, 20000});
    } catch (const EOSError&) {
        return {};
    }
    return lines.join(u'\n');
}
