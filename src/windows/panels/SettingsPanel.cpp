#include "windows/panels/SettingsPanel.h"

#include "windows/Widgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSlider>
#include <QSpinBox>

void TSettingsPanel::ApplyStates(const QHash<QString, bool>& enabled,
                                 const QHash<QString, bool>& visible) {
    for (QWidget* w : findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (const auto it = enabled.constFind(name); it != enabled.cend())
            w->setEnabled(it.value());
        if (const auto it = visible.constFind(name); it != visible.cend())
            w->setVisible(it.value());
    }
}

void TSettingsPanel::WatchEdits() {
    for (QComboBox* combo : findChildren<QComboBox*>()) {
        connect(combo, &QComboBox::currentIndexChanged, this, &TSettingsPanel::Edited);
        if (combo->isEditable())
            connect(combo, &QComboBox::editTextChanged, this, &TSettingsPanel::Edited);
    }
    for (QAbstractButton* button : findChildren<QAbstractButton*>())
        if (button->isCheckable())
            connect(button, &QAbstractButton::toggled, this, &TSettingsPanel::Edited);
    for (QSlider* bar : findChildren<QSlider*>())
        connect(bar, &QSlider::valueChanged, this, &TSettingsPanel::Edited);
    for (QSpinBox* box : findChildren<QSpinBox*>())
        connect(box, &QSpinBox::valueChanged, this, &TSettingsPanel::Edited);
    for (QPlainTextEdit* memo : findChildren<QPlainTextEdit*>())
        connect(memo, &QPlainTextEdit::textChanged, this, &TSettingsPanel::Edited);
}

QLabel* TSettingsPanel::NewHeader(const char* name) {
    QLabel* header = NewLabel(this, name);
    header->setProperty("panelHeader", true);
    return header;
}
