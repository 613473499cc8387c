#pragma once

#include "core/TextFile.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// The INI files of the system: settings, profiles, language files and tool version files.
//
// Private-profile semantics: section and key names match without regard to case, the first
// section of a name and the first occurrence of a key in it win, lines are trimmed, comments
// (";") and blank lines are kept, and everything the program does not know survives a save.
// Keys keep their order; a new key is appended to its section, a new section to the file.
class TIniFile {
public:
    TIniFile() = default;
    // Reads the file when it exists; a missing or unreadable file gives an empty INI file that
    // will be created by Save.
    explicit TIniFile(const QString& fileName);

    static TIniFile FromText(const QString& text);

    const QString& FileName() const { return FileName_; }
    bool FileExisted() const { return FileExisted_; }

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList Sections() const;
    // The keys of the first section of that name, in file order, first occurrences only.
    QStringList SectionKeys(const QString& section) const;

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, or hexadecimal with a "0x" or "$" prefix; anything else yields `def`.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // Read as an integer; any value other than 0 is true.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    // The whole file as text, lines ended by `lineBreak`.
    QString ToText(const QString& lineBreak) const;
    // Writes to a temporary file in the same folder and renames it over the old one.
    bool Save(QString* error = nullptr) const;
    bool SaveAs(const QString& fileName, QString* error = nullptr) const;

private:
    enum class TLineKind { Other, Section, Key };
    struct TLine {
        TLineKind Kind = TLineKind::Other;
        QString Text;  // the line as it will be written
        QString Name;  // section or key name, trimmed
        QString Value; // value of a key line, trimmed
    };
    struct TSectionIndex {
        qsizetype Header = -1;          // line of the first header of that name
        qsizetype LastKey = -1;         // last key line of that section (Header when it has none)
        QHash<QString, qsizetype> Keys; // case-folded key -> first line
    };

    void Parse(const QString& text);
    void RebuildIndex() const;
    const TSectionIndex* FindSection(const QString& section) const;
    const TLine* FindKey(const QString& section, const QString& key) const;
    static TLine ParseLine(const QString& raw);

    QString FileName_;
    bool FileExisted_ = false;
    bool Truncated_ = false;
    bool Utf8Bom_ = false;
    QString LineBreak_ = QStringLiteral("\r\n");
    std::vector<TLine> Lines_;
    mutable QHash<QString, TSectionIndex> Index_;
    mutable bool IndexValid_ = false;
};
