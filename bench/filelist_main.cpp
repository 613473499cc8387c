// Adds one folder to the real main window under the offscreen platform, as "Add files from
// folder..." does, and measures until every row is analysed: the time, the longest stall of the
// window's event loop, and the process's peak memory.
// Usage: zorvane_bench_filelist FOLDER

#include "core/AppParams.h"
#include "windows/FormMain.h"
#include "windows/panels/FileListModel.h"
#include "windows/panels/FileListPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

long PeakKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: zorvane_bench_filelist FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QTemporaryDir appDir;
    TFormMain form(TFormMainOptions{appDir.path(), {}, {}});
    AppParams.FileAnalysis = TFileAnalysis::faFull;
    form.show();

    QElapsedTimer clock;
    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, &app, [&] {
        const qint64 gap = sinceTick.restart();
        if (gap > 30 && qEnvironmentVariableIsSet("ZORVANE_BENCH_STALLS"))
            std::fprintf(stderr, "stall %lld ms ending at %lld ms\n", gap, clock.elapsed());
        longestStall = std::max(longestStall, gap);
    });
    TFileListPanel* list = form.FileList();
    QObject::connect(list, &TFileListPanel::Idle, &app, [&] {
        if (clock.isValid() && !list->Busy())
            app.quit();
    });
    // The window is shown and painted first: the measure is of adding, not of starting.
    QTimer::singleShot(500, &app, [&] {
        clock.start();
        sinceTick.start();
        ticker.start();
        list->AddFolder(folder);
    });
    QApplication::exec();
    const double seconds = clock.elapsed() / 1000.0;
    int analysed = 0;
    for (const TFileListRow& row : list->Model()->Rows())
        analysed += row.Analysis == TRowAnalysis::Done && row.DurationMs > 0;
    std::printf("rows %zu analysed %d seconds %.3f stall_ms %lld peak_kib %ld\n",
                list->Model()->Rows().size(), analysed, seconds, longestStall, PeakKiB());
    return 0;
}
