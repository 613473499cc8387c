// Opens the preview of one file in the real main window under the offscreen platform and
// measures, 20 times each, how long a change of the settings (the crop) takes to show its new
// picture, and how long a new moment takes (both pictures). Prints both medians in ms.
// Usage: zorvane_bench_preview FILE

#include "windows/FormMain.h"
#include "windows/dialogs/FormPreview.h"
#include "windows/panels/FileListPanel.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

// Runs the window until `renders` more renders have ended; the time it took in ms.
qint64 TimeRenders(TFormPreview* preview, int renders, const std::function<void()>& change) {
    QEventLoop loop;
    int left = renders;
    const auto connection = QObject::connect(preview, &TFormPreview::Rendered, &loop, [&] {
        if (--left == 0)
            loop.quit();
    });
    QTimer::singleShot(30000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    change();
    loop.exec();
    QObject::disconnect(connection);
    return clock.elapsed();
}

qint64 Median(QList<qint64> values) {
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: zorvane_bench_preview FILE\n");
        return 2;
    }
    const QTemporaryDir appDir;
    TFormMain form(TFormMainOptions{appDir.path(), {}, {}});
    form.show();
    form.FileList()->AddFiles({QString::fromLocal8Bit(argv[1])});
    QEventLoop idle;
    QObject::connect(form.FileList(), &TFileListPanel::Idle, &idle, &QEventLoop::quit);
    if (form.FileList()->Busy())
        idle.exec();
    form.FileList()->View()->selectRow(0);
    QTimer::singleShot(0, &app, [] {}); // the selection's analysis arrives
    QCoreApplication::processEvents();

    form.Action(QStringLiteral("actPreview"))->trigger();
    auto* preview = form.findChild<TFormPreview*>();
    TimeRenders(preview, 2, [] {}); // the first pictures
    auto* crop = form.findChild<QSpinBox*>(QStringLiteral("edCropTop"));
    auto* moment = preview->findChild<QSlider*>(QStringLiteral("tbMoment"));
    QList<qint64> changes, moments;
    for (int i = 1; i <= 20; ++i)
        changes.append(TimeRenders(preview, 1, [&] { crop->setValue(i % 2 == 0 ? 0 : 16 * i); }));
    for (int i = 1; i <= 20; ++i)
        moments.append(TimeRenders(preview, 2, [&] { moment->setValue(500 * i); }));
    std::printf("change_ms %lld moment_ms %lld renders %d\n", Median(changes), Median(moments),
                preview->RendersStarted());
    return 0;
}
