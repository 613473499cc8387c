#pragma once

#include "localisation/AppStrings.h"

#include <QMainWindow>
#include <memory>

// The main window: file list, encoder settings and output options.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    const TAppStrings& Strings() const { return *AppStrings; }
    bool SystemLanguageFirst() const { return SystemLanguageFirst_; }

private:
    void FormCreate();

    std::unique_ptr<TAppStrings> AppStrings;
    bool SystemLanguageFirst_ = true;
};
