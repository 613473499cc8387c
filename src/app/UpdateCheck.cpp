#include "app/UpdateCheck.h"

#include "core/IniFile.h"
#include "core/Product.h"
#include "core/TextFile.h"

#include <QStringList>

QString UpdateInformationAddress() {
    const QString over = qEnvironmentVariable("ZORVANE_UPDATE_URL");
    return over.isEmpty()
               ? QString::fromUtf16(HomePageUrl) + QStringLiteral("products/zorvane/ver.ini")
               : over;
}

int CompareVersions(const QString& a, const QString& b) {
    const QStringList x = a.trimmed().split(u'.');
    const QStringList y = b.trimmed().split(u'.');
    for (qsizetype i = 0; i < std::max(x.size(), y.size()); ++i) {
        const QString p = x.value(i, QStringLiteral("0"));
        const QString q = y.value(i, QStringLiteral("0"));
        bool pNumber = false, qNumber = false;
        const qulonglong m = p.toULongLong(&pNumber);
        const qulonglong n = q.toULongLong(&qNumber);
        if (pNumber && qNumber) {
            if (m != n)
                return m < n ? -1 : 1;
        } else if (const int c = QString::compare(p, q, Qt::CaseInsensitive); c != 0) {
            return c < 0 ? -1 : 1;
        }
    }
    return 0;
}

TUpdateAnswer EvaluateUpdateAnswer(const QByteArray& bytes, const QString& runningVersion) {
    TUpdateAnswer answer;
    QByteArray head = bytes.left(UpdateAnswerLimit);
    if (const qsizetype zero = head.indexOf('\0'); zero >= 0)
        head.truncate(zero);
    if (head.isEmpty())
        return answer; // nothing came: no connection
    const TIniFile ini = TIniFile::FromText(DecodeText(head));
    answer.LatestVersion =
        ini.ReadString(QStringLiteral("VersionInfo"), QStringLiteral("LastVersion"), {});
    answer.ReleaseDate =
        ini.ReadString(QStringLiteral("VersionInfo"), QStringLiteral("ReleaseDate"), {});
    if (answer.LatestVersion.isEmpty()) {
        answer.Outcome = TUpdateOutcome::CannotCheck;
        return answer;
    }
    answer.Outcome = CompareVersions(answer.LatestVersion, runningVersion) > 0
                         ? TUpdateOutcome::UpdateAvailable
                         : TUpdateOutcome::NoUpdates;
    return answer;
}
