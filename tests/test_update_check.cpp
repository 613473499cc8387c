#include "TestSupport.h"
#include "app/UpdateCheck.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(UpdateCheck, VersionsCompareAsNumbers) {
    const struct {
        const char* A;
        const char* B;
        int Sign;
    } cases[] = {{"1.9", "1.14", -1},   {"1.14", "1.15", -1},  {"1.15", "2.0", -1},
                 {"1.14", "1.14", 0},   {"1.14.0", "1.14", 0}, {"2", "1.99", 1},
                 {"1.14b", "1.14a", 1}, {" 1.14 ", "1.14", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(CompareVersions(QString::fromLatin1(c.A), QString::fromLatin1(c.B)), c.Sign)
            << c.A << " vs " << c.B;
}

TEST(UpdateCheck, AnswersAndTheirOutcomes) {
    const QString running = u"1.14"_s;
    EXPECT_EQ(EvaluateUpdateAnswer({}, running).Outcome, TUpdateOutcome::ConnectionFailed);
    TUpdateAnswer a = EvaluateUpdateAnswer("[versioninfo]\r\nLastVersion=1.14\r\n", running);
    EXPECT_EQ(a.Outcome, TUpdateOutcome::NoUpdates);
    EXPECT_EQ(a.LatestVersion, u"1.14");
    a = EvaluateUpdateAnswer("[VersionInfo]\nLastVersion=1.15\nReleaseDate=2026-12-01\n", running);
    EXPECT_EQ(a.Outcome, TUpdateOutcome::UpdateAvailable);
    EXPECT_EQ(a.ReleaseDate, u"2026-12-01");
    EXPECT_EQ(EvaluateUpdateAnswer("[VersionInfo]\nLastVersion=1.9\n", running).Outcome,
              TUpdateOutcome::NoUpdates); // 1.9 is older than 1.14
    EXPECT_EQ(EvaluateUpdateAnswer("[Other]\nLastVersion=2.0\n", running).Outcome,
              TUpdateOutcome::CannotCheck);
    // The section beyond the first 1,024 bytes is never read.
    const QByteArray late = QByteArray(1100, ';') + "\n[VersionInfo]\nLastVersion=2.0\n";
    EXPECT_EQ(EvaluateUpdateAnswer(late, running).Outcome, TUpdateOutcome::CannotCheck);
    // Up to the first zero byte; binary bytes are no answer.
    EXPECT_EQ(EvaluateUpdateAnswer(QByteArray("[VersionInfo]\nLastVersion=2.0\n\0x", 32), running)
                  .Outcome,
              TUpdateOutcome::UpdateAvailable);
    EXPECT_EQ(EvaluateUpdateAnswer(RandomBytes(10 * 1024 * 1024, 3), running).Outcome,
              TUpdateOutcome::CannotCheck);
}
