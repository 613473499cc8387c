#include "execution/ErrorLog.h"

#include <QLocale>
#include <QSaveFile>

void TErrorLog::ClearErrorLog() {
    ErrorCount = 0;
    Lines.clear();
}

void TErrorLog::AddErrorLogEntry(const QString& details, const QString& inputFile,
                                 const QString& outputFile, int number, const QDateTime& now) {
    if (number > 0) {
        Lines.append(QStringLiteral("Error # %1").arg(number));
        Lines.append(QString(10, u'-'));
    }
    const QLocale locale;
    Lines.append(QStringLiteral("Date & Time: ") +
                 locale.toString(now.date(), QLocale::ShortFormat) + QStringLiteral(" / ") +
                 locale.toString(now.time(), QLocale::LongFormat));
    Lines.append(QStringLiteral("Input file: ") + inputFile);
    Lines.append(QStringLiteral("Output file: ") + outputFile);
    QString text = details;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    Lines.append(text.split(u'\n'));
    Lines.append(QString(69, u'-'));
}

bool TErrorLog::Save(const QString& fileName, QString* error) const {
    QSaveFile file(fileName);
    QByteArray bytes;
    for (const QString& line : Lines)
        bytes += line.toUtf8() + "\r\n";
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error != nullptr)
        *error = file.errorString();
    return false;
}
