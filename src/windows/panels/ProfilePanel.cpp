#include "windows/panels/ProfilePanel.h"

#include "localisation/AppStrings.h"
#include "windows/Widgets.h"
#include "windows/panels/ItemDelegates.h"

#include <QHBoxLayout>
#include <QLabel>

TProfilePanel::TProfilePanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("pnProfile"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->addWidget(NewLabel(this, "lblProfile"));
    cbProfileNew = NewCombo(this, "cbProfileNew");
    layout->addWidget(cbProfileNew, 1);
    InstallProfileDelegate(cbProfileNew, [this](int item) -> const TProfileInfo* {
        return item >= 2 && item - 2 < ProfileList.size() ? &ProfileList[item - 2] : nullptr;
    });
    connect(cbProfileNew, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!Quiet)
            Q_EMIT ProfileChosen(item);
    });
}

void TProfilePanel::Fill(const QList<TProfileInfo>& profiles, const TAppStrings& strings) {
    Quiet = true;
    ProfileList = profiles;
    cbProfileNew->clear();
    cbProfileNew->addItem(strings.Main.cbProfile_TheLastSessionSettings);
    cbProfileNew->addItem(strings.Main.cbProfile_DefaultSettings);
    for (const TProfileInfo& profile : ProfileList)
        cbProfileNew->addItem(ProfileItemText(profile));
    cbProfileNew->setCurrentIndex(0);
    Quiet = false;
}

void TProfilePanel::SetLang(const TAppStrings& strings) {
    ApplyMainTexts(this, strings);
    if (cbProfileNew->count() >= 2) {
        cbProfileNew->setItemText(0, strings.Main.cbProfile_TheLastSessionSettings);
        cbProfileNew->setItemText(1, strings.Main.cbProfile_DefaultSettings);
    }
}

void TProfilePanel::Select(int item) {
    Quiet = true;
    cbProfileNew->setCurrentIndex(item);
    Quiet = false;
}

int TProfilePanel::Selected() const {
    return cbProfileNew->currentIndex();
}
