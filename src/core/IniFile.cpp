#include "core/IniFile.h"

#include "core/Numbers.h"

#include <QSaveFile>

namespace {

QString Fold(const QString& name) {
    return name.trimmed().toCaseFolded();
}

// A value is one line: line breaks inside it would open new lines, that is, new keys.
QString OneLine(const QString& value) {
    QString v = value;
    v.replace(u'\r', u' ').replace(u'\n', u' ');
    return v;
}

} // namespace

TIniFile::TIniFile(const QString& fileName) : FileName_(fileName) {
    const TTextFile file = ReadTextFile(fileName);
    FileExisted_ = file.Exists;
    Truncated_ = file.Truncated;
    Utf8Bom_ = file.Encoding == TTextEncoding::Utf8Bom;
    const qsizetype lf = file.Text.indexOf(u'\n');
    if (lf >= 0)
        LineBreak_ = (lf > 0 && file.Text.at(lf - 1) == u'\r') ? QStringLiteral("\r\n")
                                                               : QStringLiteral("\n");
    Parse(file.Text);
}

TIniFile TIniFile::FromText(const QString& text) {
    TIniFile ini;
    ini.Parse(text);
    return ini;
}

TIniFile::TLine TIniFile::ParseLine(const QString& raw) {
    TLine line;
    line.Text = raw;
    const QString t = raw.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return line;
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        line.Kind = TLineKind::Section;
        line.Name = (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
        return line;
    }
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0)
        return line;
    line.Name = t.left(eq).trimmed();
    if (line.Name.isEmpty())
        return line;
    line.Kind = TLineKind::Key;
    line.Value = t.mid(eq + 1).trimmed();
    return line;
}

void TIniFile::Parse(const QString& text) {
    Lines_.clear();
    const QStringList lines = SplitLines(text);
    Lines_.reserve(lines.size());
    for (const QString& raw : lines)
        Lines_.push_back(ParseLine(raw));
    IndexValid_ = false;
}

void TIniFile::RebuildIndex() const {
    Index_.clear();
    TSectionIndex* current = nullptr; // null before the first header and in repeated sections
    for (qsizetype i = 0; i < qsizetype(Lines_.size()); ++i) {
        const TLine& line = Lines_[size_t(i)];
        if (line.Kind == TLineKind::Section) {
            const QString folded = line.Name.toCaseFolded();
            if (Index_.contains(folded)) {
                current = nullptr;
            } else {
                current = &Index_[folded];
                current->Header = i;
                current->LastKey = i;
            }
        } else if (line.Kind == TLineKind::Key && current != nullptr) {
            current->LastKey = i;
            const QString folded = line.Name.toCaseFolded();
            if (!current->Keys.contains(folded))
                current->Keys.insert(folded, i);
        }
    }
    IndexValid_ = true;
}

const TIniFile::TSectionIndex* TIniFile::FindSection(const QString& section) const {
    if (!IndexValid_)
        RebuildIndex();
    const auto it = Index_.constFind(Fold(section));
    return it == Index_.cend() ? nullptr : &it.value();
}

const TIniFile::TLine* TIniFile::FindKey(const QString& section, const QString& key) const {
    const TSectionIndex* sec = FindSection(section);
    if (sec == nullptr)
        return nullptr;
    const auto it = sec->Keys.constFind(Fold(key));
    return it == sec->Keys.cend() ? nullptr : &Lines_[size_t(it.value())];
}

bool TIniFile::SectionExists(const QString& section) const {
    return FindSection(section);
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    return FindKey(section, key) != nullptr;
}

QStringList TIniFile::Sections() const {
    if (!IndexValid_)
        RebuildIndex();
    QStringList names;
    for (const TLine& line : Lines_)
        if (line.Kind == TLineKind::Section && Index_.contains(line.Name.toCaseFolded()) &&
            !names.contains(line.Name, Qt::CaseInsensitive))
            names.append(line.Name);
    return names;
}

QStringList TIniFile::SectionKeys(const QString& section) const {
    QStringList keys;
    const TSectionIndex* sec = FindSection(section);
    if (sec == nullptr)
        return keys;
    for (qsizetype i = sec->Header + 1; i <= sec->LastKey; ++i) {
        const TLine& line = Lines_[size_t(i)];
        if (line.Kind == TLineKind::Key && sec->Keys.value(line.Name.toCaseFolded()) == i)
            keys.append(line.Name);
    }
    return keys;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const TLine* line = FindKey(section, key);
    return line == nullptr ? def : line->Value;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    const TLine* line = FindKey(section, key);
    int value = def;
    if (line == nullptr || !TryStrToInt(line->Value, &value))
        return def;
    return value;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const QString k = key.trimmed();
    const QString v = OneLine(value).trimmed();
    TLine keyLine{TLineKind::Key, k + u'=' + v, k, v};
    const TSectionIndex* sec = FindSection(section);
    // The index is kept up to date here rather than built again: a file written key by key
    // would otherwise be indexed once per key.
    if (sec == nullptr) {
        if (!Lines_.empty() && !Lines_.back().Text.trimmed().isEmpty())
            Lines_.push_back(TLine{});
        const QString s = section.trimmed();
        Lines_.push_back(TLine{TLineKind::Section, u'[' + s + u']', s, {}});
        TSectionIndex& added = Index_[s.toCaseFolded()];
        added.Header = qsizetype(Lines_.size()) - 1;
        added.LastKey = qsizetype(Lines_.size());
        added.Keys.insert(k.toCaseFolded(), added.LastKey);
        Lines_.push_back(std::move(keyLine));
    } else if (const auto it = sec->Keys.constFind(k.toCaseFolded()); it != sec->Keys.cend()) {
        TLine& existing = Lines_[size_t(it.value())];
        if (existing.Value == v)
            return;
        keyLine.Name = existing.Name; // keep the spelling the file uses
        keyLine.Text = existing.Name + u'=' + v;
        existing = std::move(keyLine);
    } else {
        const qsizetype at = sec->LastKey + 1;
        Lines_.insert(Lines_.begin() + at, std::move(keyLine));
        for (TSectionIndex& other : Index_) { // the lines below moved down by one
            if (other.Header >= at)
                ++other.Header;
            if (other.LastKey >= at)
                ++other.LastKey;
            for (qsizetype& line : other.Keys)
                if (line >= at)
                    ++line;
        }
        TSectionIndex& grown = Index_[Fold(section)];
        grown.LastKey = at;
        grown.Keys.insert(k.toCaseFolded(), at);
    }
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString TIniFile::ToText(const QString& lineBreak) const {
    QString text;
    for (const TLine& line : Lines_) {
        text += line.Text;
        text += lineBreak;
    }
    return text;
}

bool TIniFile::Save(QString* error) const {
    return SaveAs(FileName_, error);
}

bool TIniFile::SaveAs(const QString& fileName, QString* error) const {
    auto fail = [error](const QString& message) {
        if (error != nullptr)
            *error = message;
        return false;
    };
    if (fileName.isEmpty())
        return fail(QStringLiteral("No file name"));
    if (Truncated_ && fileName == FileName_)
        return fail(QStringLiteral("%1 is too large to be rewritten safely").arg(fileName));
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    QByteArray bytes;
    if (Utf8Bom_)
        bytes = QByteArray("\xEF\xBB\xBF");
    bytes += ToText(LineBreak_).toUtf8();
    if (file.write(bytes) != bytes.size())
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}
