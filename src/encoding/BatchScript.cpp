#include "encoding/BatchScript.h"

#include "encoding/ArgumentBuilder.h"
#include "execution/ConRun.h"

#include <QFile>
#include <QSaveFile>

namespace {

bool IsControl(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7F;
}

// A text inside double quotes of a batch file: only "%" still means something there.
QString BatQuotedText(const QString& text) {
    return QString(text).replace(u'%', QStringLiteral("%%"));
}

// A piece's value for "set": plain when it holds nothing the command processor reads, else in
// the quoted form with every special character escaped, which survives both the "set" line
// and the later expansion, inside or outside quotes.
QString BatSetLine(const QString& name, const QString& value) {
    static const QString special = QStringLiteral("&|<>^%\"");
    if (std::none_of(value.cbegin(), value.cend(), [](QChar c) { return special.contains(c); }))
        return QStringLiteral("set ") + name + u'=' + value;
    QString escaped;
    for (const QChar c : value) {
        if (c == u'%')
            escaped += QStringLiteral("%%");
        else if (c == u'&' || c == u'|' || c == u'<' || c == u'>' || c == u'^')
            escaped += u'^' + QString(c);
        else
            escaped += c;
    }
    return QStringLiteral("set \"") + name + u'=' + escaped + u'"';
}

} // namespace

TScriptKind ScriptKindFor(const QString& fileName) {
    return fileName.endsWith(QStringLiteral(".sh"), Qt::CaseInsensitive) ? TScriptKind::Sh
                                                                         : TScriptKind::Bat;
}

std::optional<QString> UnsafeScriptPath(TScriptKind kind, const QString& path) {
    if (kind == TScriptKind::Parallel && std::any_of(path.cbegin(), path.cend(), IsControl))
        return QStringLiteral("a job file holds one line per file: a name with a line break or "
                              "another control character can not stand in it: ") +
               path;
    if (kind != TScriptKind::Bat)
        return std::nullopt; // single quotes hold any character but NUL
    if (path.contains(u'"'))
        return QStringLiteral("a batch file can not quote a name that holds a double quote: ") +
               path;
    if (std::any_of(path.cbegin(), path.cend(), IsControl))
        return QStringLiteral("a batch file can not hold a name with a line break or another "
                              "control character: ") +
               path;
    return std::nullopt;
}

std::optional<QString> UnsafeScriptPiece(TScriptKind kind, const QString& piece) {
    if (kind == TScriptKind::Bat && piece.count(u'"') % 2 != 0)
        return QStringLiteral("a batch file can not hold parameters with unbalanced double "
                              "quotes: ") +
               piece;
    if (kind == TScriptKind::Bat && std::any_of(piece.cbegin(), piece.cend(), IsControl))
        return QStringLiteral("a batch file can not hold parameters with control characters: ") +
               piece;
    return std::nullopt;
}

QString ShellQuote(const QString& word) {
    static const QString safe = QStringLiteral("_@%+=:,./-");
    const bool plain = !word.isEmpty() && std::all_of(word.cbegin(), word.cend(), [](QChar c) {
        return (c.unicode() < 128 && c.isLetterOrNumber()) || safe.contains(c);
    });
    if (plain)
        return word;
    return u'\'' + QString(word).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

void TBatchScript::Begin(const QString& ffmpegExe) {
    if (Kind == TScriptKind::Parallel) {
        Encoder = ffmpegExe;
        return;
    }
    if (Kind == TScriptKind::Bat) {
        Lines << QStringLiteral("@echo off");
        // "!" in a name must stay a "!" even where delayed expansion is on by default.
        Lines << QStringLiteral("setlocal DisableDelayedExpansion");
        Lines << QStringLiteral("set ffmpeg=\"") + BatQuotedText(ffmpegExe) + u'"';
    } else {
        Lines << QStringLiteral("#!/bin/sh") << QStringLiteral("ffmpeg=") + ShellQuote(ffmpegExe);
    }
}

void TBatchScript::SetPiece(const QString& name, const QString& value) {
    if (Kind == TScriptKind::Parallel) {
        Pieces.insert(name, value);
        return;
    }
    if (Kind == TScriptKind::Bat) {
        Lines << BatSetLine(name, value);
        return;
    }
    // The value holds shell words, each quoted, for the eval of the command lines.
    QStringList words;
    for (const QString& arg : SplitCommandLine(value))
        words << ShellQuote(arg);
    Lines << name + u'=' + ShellQuote(words.join(u' '));
}

void TBatchScript::FileComment(int fileNo) {
    if (Kind == TScriptKind::Parallel)
        return;
    const QString bar(33, u'/');
    Lines << QString()
          << (Kind == TScriptKind::Bat ? QStringLiteral("rem ") : QStringLiteral("# ")) + bar +
                 QStringLiteral(" file %1 ").arg(fileNo) + bar;
}

void TBatchScript::Command(const QString& input, const QString& output, bool h264, int pass) {
    if (Kind == TScriptKind::Parallel) {
        // The very arguments a conversion runs, each quoted for the shell.
        TArgumentPieces pieces;
        pieces.VCodec = Pieces.value(QStringLiteral("VCodec"));
        pieces.VParams = Pieces.value(QStringLiteral("VParams"));
        pieces.ACodec = Pieces.value(QStringLiteral("ACodec"));
        pieces.AParams = Pieces.value(QStringLiteral("AParams"));
        pieces.AdvParams = Pieces.value(QStringLiteral("AdvParams"));
        pieces.AddParams = Pieces.value(QStringLiteral("AddParams"));
        // Every name in quotes, the options as they are when they need none.
        const auto quoted = [](const QString& name) {
            return u'\'' + QString(name).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
        };
        QStringList words{quoted(Encoder)};
        for (const QString& arg :
             SplitCommandLine(ArgumentString(pieces, input, output, h264, pass)))
            words << (arg == input || arg == output ? quoted(arg) : ShellQuote(arg));
        Runs << words.join(u' ');
        if (pass == 1)
            return;
        // Two passes run at once on one machine must not share a pass log: each line works in
        // a folder of its own, removed when the line ends, and hands on the encoder's status.
        const QString inner = QStringLiteral("d=$(mktemp -d) && cd \"$d\" && { ") +
                              Runs.join(QStringLiteral(" && ")) +
                              QStringLiteral("; s=$?; cd /; rm -rf \"$d\"; exit $s; }");
        // Through sh, whatever shell the user's parallel starts.
        Lines << QStringLiteral("sh -c ") + ShellQuote(inner);
        Runs.clear();
        return;
    }
    const QString middle = RunOptionsBetweenPieces(h264, pass);
    if (Kind == TScriptKind::Bat) {
        Lines << QStringLiteral("%ffmpeg% -y -i \"") + BatQuotedText(input) +
                     QStringLiteral("\" %VCodec% %VParams% %ACodec% %AParams% %AdvParams%") +
                     middle + QStringLiteral("%AddParams% \"") + BatQuotedText(output) + u'"';
        return;
    }
    if (pass <= 1)
        Lines << QStringLiteral("IN=") + ShellQuote(input)
              << QStringLiteral("OUT=") + ShellQuote(output);
    Lines << QStringLiteral("eval \"\\\"\\$ffmpeg\\\" -y -i \\\"\\$IN\\\" $VCodec $VParams $ACodec "
                            "$AParams $AdvParams") +
                 middle + QStringLiteral("$AddParams \\\"\\$OUT\\\"\"");
}

void TBatchScript::End() {
    if (Kind == TScriptKind::Parallel)
        return;
    Lines << QString();
    if (Kind == TScriptKind::Bat)
        Lines << QStringLiteral("pause");
    else
        Lines << QStringLiteral("printf '%s' 'Press Enter to continue . . . '; read -r _ || :");
}

QString TBatchScript::Text() const {
    if (Kind == TScriptKind::Parallel && Lines.isEmpty())
        return {};
    const QString end = Kind == TScriptKind::Bat ? QStringLiteral("\r\n") : QStringLiteral("\n");
    return Lines.join(end) + end;
}

bool TBatchScript::Save(const QString& fileName, QString* error) const {
    QSaveFile file(fileName);
    const QByteArray bytes = Text().toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit()) {
        if (Kind == TScriptKind::Sh)
            QFile::setPermissions(fileName, QFile::permissions(fileName) | QFile::ExeOwner |
                                                QFile::ExeGroup | QFile::ExeOther);
        return true;
    }
    if (error != nullptr)
        *error = file.errorString();
    return false;
}
