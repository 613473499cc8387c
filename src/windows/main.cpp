#include "core/AppParams.h"
#include "platform/Platform.h"
#include "windows/FormMain.h"

#include <QApplication>
#include <QSocketNotifier>
#include <unistd.h>

int main(int argc, char* argv[]) {
    // Being told to end (a session logout, kill, Ctrl+C in a terminal) closes the window as its
    // close button does, so nothing is lost or half written. Watched from the first moment.
    const int signalFd = Platform::CloseSignalsFd();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvane"));
    QGuiApplication::setDesktopFileName(QStringLiteral("net.zorvane.zorvane"));
    QApplication::setQuitOnLastWindowClosed(false);
    TFormMainOptions options;
    options.Arguments = QApplication::arguments().mid(1);
    TFormMain formMain(options);

    QSocketNotifier notifier(signalFd, QSocketNotifier::Read);
    notifier.setEnabled(signalFd >= 0);
    QObject::connect(&notifier, &QSocketNotifier::activated, &formMain, [&] {
        char byte = 0;
        while (::read(signalFd, &byte, 1) > 0) {
        }
        formMain.close();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &formMain,
                     [&](QSessionManager&) { formMain.close(); });
    QObject::connect(&formMain, &TFormMain::Closed, &app, &QApplication::quit);

    formMain.show();
    return QApplication::exec();
}
