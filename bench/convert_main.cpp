// Converts files that are already in the real main window's list (their analyses kept), under
// the offscreen platform, as "Convert checked files" does, and prints the conversion's time and
// the longest time the window's event loop went without turning meanwhile.
// Usage: zorvane_bench_convert [--profile FILE] [--jobs N] FILE...   (N: 0 = Auto)

#include "core/AppParams.h"
#include "encoding/BatchDriver.h"
#include "windows/FormMain.h"
#include "windows/ProfileController.h"
#include "windows/panels/FileListPanel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QStringList files = QApplication::arguments().mid(1);
    QString profile;
    int jobs = -1;
    while (files.size() >= 2 && files.first().startsWith(u"--")) {
        if (files.first() == u"--profile")
            profile = files.at(1);
        else if (files.first() == u"--jobs")
            jobs = files.at(1).toInt();
        files = files.mid(2);
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: zorvane_bench_convert [--profile FILE] FILE...\n");
        return 2;
    }
    const QTemporaryDir appDir;
    TFormMain form(TFormMainOptions{appDir.path(), {}, {}});
    form.show();
    if (!profile.isEmpty())
        form.Profiles().LoadFrom(profile);
    if (jobs >= 0) {
        form.Action(QStringLiteral("actShowOptions"))->trigger();
        form.findChild<QComboBox*>(QStringLiteral("cbSimultaneousConversions"))
            ->setCurrentIndex(jobs);
        form.Action(QStringLiteral("actShowOptions"))->trigger();
    }
    form.FileList()->AddFiles(files);
    while (form.FileList()->Busy())
        QTest::qWait(20);
    // A timer that wants to run every 5 ms: the longest gap between two of its turns is the
    // longest the window was not serviced.
    QElapsedTimer gap;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] {
        if (gap.isValid())
            longest = std::max(longest, gap.elapsed());
        gap.restart();
    });
    QElapsedTimer clock;
    clock.start();
    TBatchResult result;
    QEventLoop loop;
    QObject::connect(&form, &TFormMain::BatchFinished, &loop, [&](const TBatchResult& r) {
        result = r;
        loop.quit();
    });
    ticker.start();
    if (form.StartBatch(QString()))
        loop.exec();
    ticker.stop();
    std::printf("converted %d failed %d seconds %.3f longest-stall-ms %lld\n", result.Converted,
                result.Failed, clock.elapsed() / 1000.0, static_cast<long long>(longest));
    return result.Failed == 0 ? 0 : 1;
}
