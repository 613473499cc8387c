// Converts files that are already in the real main window's list (their analyses kept), under
// the offscreen platform, as "Convert checked files" does, and prints the conversion's time.
// Usage: zorvane_bench_convert [--profile FILE] FILE...

#include "core/AppParams.h"
#include "encoding/BatchDriver.h"
#include "windows/FormMain.h"
#include "windows/panels/FileListPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QStringList files = QApplication::arguments().mid(1);
    QString profile;
    if (files.size() >= 2 && files.first() == u"--profile") {
        profile = files.at(1);
        files = files.mid(2);
    }
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: zorvane_bench_convert [--profile FILE] FILE...\n");
        return 2;
    }
    const QTemporaryDir appDir;
    TFormMain form(TFormMainOptions{appDir.path(), {}});
    form.show();
    if (!profile.isEmpty())
        form.LoadProfileFrom(profile);
    form.FileList()->AddFiles(files);
    while (form.FileList()->Busy())
        QTest::qWait(20);
    QElapsedTimer clock;
    clock.start();
    const TBatchResult result = form.RunBatch(QString());
    std::printf("converted %d failed %d seconds %.3f\n", result.Converted, result.Failed,
                clock.elapsed() / 1000.0);
    return result.Failed == 0 ? 0 : 1;
}
