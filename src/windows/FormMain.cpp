#include "windows/FormMain.h"

#include "core/AppParams.h"

#include <QApplication>
#include <QDir>

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent) {
    FormCreate();
}

TFormMain::~TFormMain() = default;

void TFormMain::FormCreate() {
    setMinimumSize(650, 400);
    resize(934, 712);

    InitAppParams(AppParams);
    GetFFmpegExe(AppParams);
    GetMediaInfoDll(AppParams);
    AppParams.ScrollProgressToBottom = true;

    AppStrings = std::make_unique<TAppStrings>();

    setWindowTitle(ProductTitle());
    QApplication::setApplicationDisplayName(ProductTitle());

    SystemLanguageFirst_ = CheckIniFile(AppParams);

    // A missing profiles folder is created; a failure here only means profiles cannot be saved.
    QDir().mkpath(AppParams.ProfilesDir);
}
