#include "windows/ProfileController.h"

#include "core/AppParams.h"
#include "localisation/AppStrings.h"
#include "windows/MainActions.h"
#include "windows/Widgets.h"
#include "windows/panels/ProfilePanel.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <stdexcept>

using namespace Qt::StringLiterals;

TProfileController::TProfileController(const TAppStrings& strings, TProfilePanel& panel,
                                       const TMainActions& actions, THost host, QWidget* window)
    : QObject(window), Strings(strings), Panel(panel), Actions(actions), Host(std::move(host)),
      Window(window) {
    const auto on = [this](QAction* action, void (TProfileController::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { Guarded(Window, [&] { (this->*handler)(); }); });
    };
    on(actions.actLoadProfile, &TProfileController::Open);
    on(actions.actSaveProfile, &TProfileController::SaveAs);
    on(actions.actSetDefaultEncoderSettings, &TProfileController::SetDefault);
    connect(&panel, &TProfilePanel::ProfileChosen, this,
            [this](int item) { Guarded(Window, [&] { Choose(item); }); });
}

void TProfileController::LoadFrom(const QString& fileName) {
    TEncoderSettings loaded = Host.Current();
    LoadProfile(loaded, fileName, Host.Context());
    Host.Apply(loaded);
}

void TProfileController::SaveTo(const QString& fileName) {
    QString error;
    if (!SaveProfile(Host.Read(), fileName, Strings, &error))
        throw std::runtime_error(error.toStdString());
}

void TProfileController::Refill() {
    Panel.Fill(
        GetProfiles(AppParams.ProfilesDir, AppParams.LastProfileFile, AppParams.ShippedProfilesDir),
        Strings);
}

// Item 0 is the last session's settings, item 1 the defaults, then the profiles.
void TProfileController::Choose(int item) {
    if (!Actions.actLoadSelectedProfile->isEnabled())
        return; // during a conversion only the shown item changes
    if (item == 0) {
        LoadFrom(AppParams.LastProfileFile);
    } else if (item == 1) {
        SetDefault();
    } else if (item >= 2 && !Panel.Profiles().isEmpty()) {
        const int entry = item - 2 < Panel.Profiles().size() ? item - 2 : 0;
        LoadFrom(Panel.Profiles().at(entry).FileName);
    }
}

void TProfileController::SetDefault() {
    Host.ApplyDefaults();
    Panel.Select(1);
}

void TProfileController::Open() {
    const QString file = QFileDialog::getOpenFileName(
        Window, QString(), AppParams.ProfilesDir,
        DialogFilter(Strings.Main.dlgOpenProfile_Filter, u"*.ini *.INI"_s));
    if (!file.isEmpty())
        LoadFrom(file);
}

// A profile saved into the profile folder joins the chooser, selected.
void TProfileController::SaveAs() {
    QString file = QFileDialog::getSaveFileName(
        Window, QString(), AppParams.ProfilesDir,
        DialogFilter(Strings.Main.dlgSaveProfile_Filter, u"*.ini *.INI"_s));
    if (file.isEmpty())
        return;
    if (QFileInfo(file).suffix().isEmpty())
        file += u".ini"_s;
    SaveTo(file);
    if (QFileInfo(file).absolutePath().compare(QFileInfo(AppParams.ProfilesDir).absoluteFilePath(),
                                               Qt::CaseInsensitive) != 0)
        return;
    Refill();
    const QString name = QFileInfo(file).fileName();
    int item = 0;
    for (int i = 0; i < Panel.Profiles().size(); ++i)
        if (Panel.Profiles().at(i).ShortFileName.compare(name, Qt::CaseInsensitive) == 0)
            item = i + 2;
    Panel.Select(item);
}
