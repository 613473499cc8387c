#include "windows/Widgets.h"

#include "core/Product.h"
#include "core/Types.h"
#include "localisation/AppStrings.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSet>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QTextDocumentFragment>
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

QComboBox* WideEnough(QComboBox* combo) {
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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

QString PlainLabelText(const QLabel* label) {
    QString text = label->text();
    if (label->textFormat() != Qt::PlainText && Qt::mightBeRichText(text))
        text = QTextDocumentFragment::fromHtml(text).toPlainText();
    text.remove(u'&');
    text = text.trimmed();
    while (text.endsWith(u':'))
        text.chop(1);
    return text.trimmed();
}

// The caption just before `control` in the row of a layout below `layout` (a label, or a check
// box that switches what the control sets), else the label just above it in a grid; null when
// there is none.
QWidget* LabelBefore(QLayout* layout, const QWidget* control) {
    if (!layout)
        return nullptr;
    const auto caption = [](QWidget* w) -> QWidget* {
        return qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) ? w : nullptr;
    };
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        const int index = grid->indexOf(control);
        if (index >= 0) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            for (int c = column - 1; c >= 0; --c)
                if (QLayoutItem* item = grid->itemAtPosition(row, c))
                    return caption(item->widget());
            if (row > 0)
                if (QLayoutItem* item = grid->itemAtPosition(row - 1, column))
                    return qobject_cast<QLabel*>(item->widget());
            return nullptr;
        }
    } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        return qobject_cast<QLabel*>(form->labelForField(const_cast<QWidget*>(control)));
    } else {
        const int index = layout->indexOf(control);
        if (index > 0) {
            for (int i = index - 1; i >= 0; --i)
                if (QWidget* before = layout->itemAt(i)->widget())
                    return caption(before);
            return nullptr;
        }
    }
    for (int i = 0; i < layout->count(); ++i)
        if (QWidget* found = LabelBefore(layout->itemAt(i)->layout(), control))
            return found;
    return nullptr;
}

QString CaptionText(const QWidget* caption) {
    if (const auto* label = qobject_cast<const QLabel*>(caption))
        return PlainLabelText(label);
    if (const auto* button = qobject_cast<const QAbstractButton*>(caption))
        return button->text().remove(u'&').trimmed();
    return {};
}

// The title of the nearest group box around `control` below `root`'s parent; empty for none.
QString GroupTitle(const QWidget* control, const QWidget* root) {
    for (const QWidget* up = control->parentWidget(); up && up != root->parentWidget();
         up = up->parentWidget())
        if (const auto* group = qobject_cast<const QGroupBox*>(up);
            group && !group->title().isEmpty())
            return group->title().remove(u'&').trimmed();
    return {};
}

bool HasOwnText(const QWidget* w) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(w))
        return !button->text().remove(u'&').trimmed().isEmpty();
    return false;
}

} // namespace

void NameControlsFromLabels(QWidget* root) {
    // Buddies first: a label names the control it is the buddy label of.
    QSet<const QWidget*> buddies;
    for (QLabel* label : root->findChildren<QLabel*>())
        if (QWidget* buddy = label->buddy(); buddy && !PlainLabelText(label).isEmpty()) {
            buddy->setAccessibleName(PlainLabelText(label));
            buddies.insert(buddy);
        }
    // Parents come before their children here, so an owner is named before its editor.
    for (QWidget* control : root->findChildren<QWidget*>()) {
        QWidget* owner = control->parentWidget();
        if (!owner || buddies.contains(control))
            continue;
        // The editor inside a list or a number box is named after it.
        if (qobject_cast<QComboBox*>(owner) || owner->inherits("QAbstractSpinBox")) {
            control->setAccessibleName(owner->accessibleName());
            continue;
        }
        if (control->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel*>(control) ||
            HasOwnText(control) || control->inherits("QAbstractItemView") ||
            control->inherits("QScrollBar"))
            continue;
        if (QWidget* caption = LabelBefore(owner->layout(), control);
            caption && !CaptionText(caption).isEmpty()) {
            if (auto* label = qobject_cast<QLabel*>(caption))
                label->setBuddy(control);
            control->setAccessibleName(CaptionText(caption));
        } else if (const QString title = GroupTitle(control, root); !title.isEmpty()) {
            control->setAccessibleName(title);
        } else if (!control->toolTip().isEmpty() && !Qt::mightBeRichText(control->toolTip())) {
            control->setAccessibleName(control->toolTip());
        } else if (control->window() == root) {
            control->setAccessibleName(root->windowTitle()); // the window's one pane
        }
    }
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
