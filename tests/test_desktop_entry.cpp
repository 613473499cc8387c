#include "TestSupport.h"
#include "app/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The program a desktop starts for an Exec value, as the desktop-entry rules read it: the string
// escapes first, then the quoting of arguments, then the doubled percent signs.
QStringList ExecArguments(const QString& value) {
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) == u'\\' && i + 1 < value.size()) {
            const QChar next = value.at(++i);
            unescaped += next == u's' ? QChar(u' ') : next == u'n' ? QChar(u'\n') : next;
        } else {
            unescaped += value.at(i);
        }
    }
    QStringList args;
    QString current;
    bool quoted = false, any = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped.at(i);
        if (quoted && c == u'\\' && i + 1 < unescaped.size()) {
            current += unescaped.at(++i);
        } else if (c == u'"') {
            quoted = !quoted;
            any = true;
        } else if (c == u' ' && !quoted) {
            if (any || !current.isEmpty())
                args.append(current);
            current.clear();
            any = false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty())
        args.append(current);
    for (QString& arg : args)
        arg.replace(u"%%"_s, u"%"_s);
    return args;
}

} // namespace

TEST(DesktopEntry, StartsTheProgramFromAnyFolderAndIsWrittenOnce) {
    TScratchDir dir;
    const QString folder = dir.Path(u"my $HOME `id` %f \"q\" back\\slash"_s);
    QDir().mkpath(folder);
    const QString program = folder + u"/zorvane-cli"_s;
    ASSERT_TRUE(QFile::copy(QStringLiteral(ZORVANE_CLI), program));
    const QString desktop = dir.Path(u"Desktop"_s);
    EXPECT_EQ(CreateDesktopShortcut(desktop, program, u"Zorvane 1.14  [64-bit]"_s, {}),
              TShortcutResult::Created);
    const QString entry = desktop + u"/Zorvane.desktop"_s;
    ASSERT_TRUE(QFileInfo(entry).isExecutable());
    QString exec;
    for (const QString& line : QString::fromUtf8(ReadFile(entry)).split(u'\n'))
        if (line.startsWith(u"Exec="_s))
            exec = line.mid(5);
    const QStringList args = ExecArguments(exec);
    ASSERT_EQ(args, QStringList{program});
    const TProcessResult run = RunProgram(args.first(), {u"version"_s});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Out.startsWith(u"Zorvane"_s));

    if (const QString validate = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
        !validate.isEmpty()) {
        const TProcessResult check = RunProgram(validate, {entry});
        EXPECT_EQ(check.ExitCode, 0) << check.Out.toStdString() << check.Err.toStdString();
    }

    // An existing entry is never overwritten; without a desktop folder nothing is written.
    WriteFile(entry, "mine");
    EXPECT_EQ(CreateDesktopShortcut(desktop, program, {}, {}), TShortcutResult::AlreadyThere);
    EXPECT_EQ(ReadFile(entry), "mine");
    EXPECT_EQ(CreateDesktopShortcut({}, program, {}, {}), TShortcutResult::NoDesktopFolder);
}
