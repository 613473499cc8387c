#include "windows/Widgets.h"

#include "core/Product.h"
#include "core/Types.h"
#include "localisation/AppStrings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <exception>

QComboBox* NewCombo(QWidget* parent, const char* name, bool editable) {
    auto* combo = Named(new QComboBox(parent), name);
    combo->setEditable(editable);
    combo->setMaxVisibleItems(18);
    // Lists take the width their layout gives them, not that of their longest item.
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(4);
    if (editable)
        combo->setInsertPolicy(QComboBox::NoInsert);
    return combo;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
    return Named(new QLabel(text, parent), name);
}

QCheckBox* NewCheck(QWidget* parent, const char* name) {
    return Named(new QCheckBox(parent), name);
}

QSlider* NewTrackBar(QWidget* parent, const char* name, int min, int max, int position) {
    auto* bar = Named(new QSlider(Qt::Horizontal, parent), name);
    bar->setRange(min, max);
    bar->setValue(position);
    return bar;
}

QSpinBox* NewUpDown(QWidget* parent, const char* name, int min, int max, int step, int value) {
    auto* box = Named(new QSpinBox(parent), name);
    box->setRange(min, max);
    box->setSingleStep(step);
    box->setValue(value);
    return box;
}

void FillCombo(QComboBox* combo, const QStringList& items) {
    const QSignalBlocker blocker(combo);
    const int index = combo->currentIndex();
    const QString typed = combo->currentText();
    // An editable list keeps its index while the user types: typed text differs from the item.
    const bool wasTyped = combo->isEditable() &&
                          (index < 0 || index >= items.size() || typed != combo->itemText(index));
    combo->clear();
    combo->addItems(items);
    if (wasTyped) {
        combo->setCurrentIndex(-1);
        combo->setCurrentText(typed);
    } else {
        combo->setCurrentIndex(std::max(0, std::min(index, int(items.size()) - 1)));
    }
}

void SetComboText(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    if (index >= 0 || !combo->isEditable()) {
        combo->setCurrentIndex(index);
        return;
    }
    combo->setCurrentIndex(-1);
    combo->setCurrentText(text);
}

void ApplyMainTexts(QWidget* root, const TAppStrings& strings) {
    const auto apply = [&](QWidget* w) {
        if (w->objectName().isEmpty())
            return;
        const QString* text = FindCatalogText(strings, QStringLiteral("Main.") + w->objectName());
        if (!text)
            return;
        if (auto* label = qobject_cast<QLabel*>(w))
            label->setText(*text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            button->setText(*text);
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            group->setTitle(*text);
    };
    apply(root);
    for (QWidget* w : root->findChildren<QWidget*>())
        apply(w);
}

namespace {
std::function<void(const QString&)>& WarningHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}
} // namespace

void SetWarningHandler(std::function<void(const QString&)> handler) {
    WarningHandler() = std::move(handler);
}

void ShowWarning(QWidget* owner, const QString& text, const QString& title) {
    if (WarningHandler()) {
        WarningHandler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, title.isEmpty() ? QString::fromUtf16(ProductName) : title,
                    text, QMessageBox::Ok, owner);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

namespace {
QString& UnexpectedErrorText() {
    static QString text = QStringLiteral("Unexpected error.");
    return text;
}
} // namespace

void SetUnexpectedErrorText(const QString& text) {
    UnexpectedErrorText() = text;
}

void Guarded(QWidget* owner, const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        ShowWarning(owner, QString::fromUtf8(error.what()));
    } catch (...) {
        ShowWarning(owner, UnexpectedErrorText());
    }
}

QString DialogFilter(const QString& text, const QString& patterns) {
    QString name = text.trimmed();
    const qsizetype open = name.lastIndexOf(u'(');
    if (open > 0 && name.endsWith(u')'))
        name = name.left(open).trimmed();
    return name + QStringLiteral(" (") + patterns + u')';
}

QFont MonospaceFont(const TFontParams& params) {
    if (!params.Name.isEmpty())
        return QFont(params.Name, params.Size);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (!QFontInfo(font).fixedPitch()) {
        // Platforms without a theme answer with the ordinary font: ask fontconfig instead.
        font.setFamily(QStringLiteral("monospace"));
        font.setStyleHint(QFont::TypeWriter);
        font.setFixedPitch(true);
    }
    font.setPointSize(params.Size > 0 ? params.Size : 9);
    return font;
}
