#include "FuzzTargets.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

// The fuzzers' seeds and every input a fuzzer ever crashed on, through the same readers: a crash
// that was fixed stays fixed. The fuzz folders name each target's corpus and kept crashes.
TEST(FuzzInputs, SeedsAndKeptCrashesRunClean) {
    const QString fuzz = QStringLiteral(ZORVANE_SOURCE_DIR "/fuzz");
    for (const TFuzzTarget& target : FuzzTargets()) {
        const QString name = QString::fromLatin1(target.Name);
        int seeds = 0;
        for (const QString& kind : {QStringLiteral("corpus"), QStringLiteral("regressions")}) {
            const QDir dir(fuzz + u'/' + kind + u'/' + name);
            for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden, QDir::Name)) {
                QFile input(dir.filePath(file));
                ASSERT_TRUE(input.open(QIODevice::ReadOnly)) << file.toStdString();
                const QByteArray bytes = input.readAll();
                SCOPED_TRACE(kind.toStdString() + '/' + name.toStdString() + '/' +
                             file.toStdString());
                target.Run(reinterpret_cast<const uint8_t*>(bytes.constData()),
                           size_t(bytes.size()));
                seeds += kind == u"corpus";
            }
        }
        EXPECT_GT(seeds, 0) << name.toStdString() << " has no seeds";
    }
}
