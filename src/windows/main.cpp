#include "windows/FormMain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zorvane"));
    TFormMain formMain;
    formMain.show();
    return QApplication::exec();
}
