#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// One entry for every encoder run of a batch that failed. Lives in memory; written to disk only
// when the user saves it.
class TErrorLog {
public:
    int ErrorCount = 0; // entries since the last batch start; numbers the entries

    // A batch starts: the count returns to 0 and the log empties.
    void ClearErrorLog();
    // The user's "Clear log": empties the text, the numbering goes on.
    void ClearText() { Lines.clear(); }
    void AddErrorLogEntry(const QString& details, const QString& inputFile,
                          const QString& outputFile, int number,
                          const QDateTime& now = QDateTime::currentDateTime());
    const QStringList& Text() const { return Lines; }
    // Lines ended by CR LF; false with the reason when the file cannot be written.
    bool Save(const QString& fileName, QString* error = nullptr) const;

private:
    QStringList Lines;
};
