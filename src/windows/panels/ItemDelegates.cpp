#include "windows/panels/ItemDelegates.h"

#include "encoding/ListItemColors.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

QColor ToColor(const TRgb& c) {
    return QColor(c.R, c.G, c.B);
}

TRgb ToRgb(const QColor& c) {
    return {c.red(), c.green(), c.blue()};
}

// The program's palette, not a widget's: the main window's style sheet changes those.
bool DarkPalette() {
    return IsDark(ToRgb(QGuiApplication::palette().color(QPalette::Base)));
}

class TColoredItemDelegate : public QStyledItemDelegate {
public:
    using TColors = std::function<TItemColors(int row, const QString& text)>;
    TColoredItemDelegate(QComboBox* combo, TColors colors, std::function<bool(int)> bold,
                         int textTop)
        : QStyledItemDelegate(combo), Colors(std::move(colors)), Bold(std::move(bold)),
          TextTop(textTop) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QString text = index.data(Qt::DisplayRole).toString();
        TItemColors colors = ForPalette(Colors(index.row(), text), DarkPalette());
        const bool selected = option.state & QStyle::State_Selected;
        if (selected)
            colors = {ToRgb(option.palette.color(QPalette::Highlight)),
                      ToRgb(option.palette.color(QPalette::HighlightedText))};
        QLinearGradient gradient(option.rect.topLeft(), option.rect.bottomLeft());
        gradient.setColorAt(0,
                            ToColor(selected ? colors.Background : Lighter(colors.Background, 4)));
        gradient.setColorAt(1,
                            ToColor(selected ? Darker(colors.Background, 15) : colors.Background));
        p->save();
        p->fillRect(option.rect, gradient);
        p->setPen(ToColor(Darker(colors.Background, 6)));
        p->drawLine(option.rect.topLeft(), option.rect.topRight());
        QFont font = option.font;
        font.setBold(Bold(index.row()));
        p->setFont(font);
        p->setPen(ToColor(colors.Text));
        const QRect area = option.rect.adjusted(4, TextTop, -2, 0);
        const bool multiLine = text.contains(u'\r') || text.contains(u'\n');
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
            .replace(u'\t', QStringLiteral("    "));
        p->drawText(area,
                    multiLine ? int(Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap)
                              : int(Qt::AlignLeft | Qt::AlignVCenter),
                    shown);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QString text = index.data(Qt::DisplayRole).toString();
        const int lines = int(text.count(u'\n')) + 1;
        size.setHeight(std::max(size.height(), option.fontMetrics.height() * lines + 6));
        return size;
    }

    TColors Colors;
    std::function<bool(int)> Bold;
    int TextTop;
};

// The closed box takes the colours of its current item. A style sheet, not the palette: the
// main window's style sheet reaches the list too, and then palettes are not drawn.
void FollowCurrentItem(QComboBox* combo, const TColoredItemDelegate* delegate) {
    const auto paint = [combo, delegate](int row) {
        if (row < 0) {
            combo->setStyleSheet(QString());
            return;
        }
        const TItemColors colors =
            ForPalette(delegate->Colors(row, combo->itemText(row)), DarkPalette());
        combo->setStyleSheet(
            QStringLiteral("QComboBox { background: %1; color: %2; }")
                .arg(ToColor(colors.Background).name(), ToColor(colors.Text).name()));
    };
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, paint);
    paint(combo->currentIndex());
}

} // namespace

void InstallResolutionDelegate(QComboBox* combo) {
    auto* delegate = new TColoredItemDelegate(
        combo, [](int row, const QString& text) { return ResolutionItemColors(text, row); },
        [](int row) { return row <= 1; }, 0);
    combo->setItemDelegate(delegate);
    FollowCurrentItem(combo, delegate);
}

void InstallProfileDelegate(QComboBox* combo,
                            std::function<const TProfileInfo*(int item)> profileAt) {
    auto* delegate = new TColoredItemDelegate(
        combo, [profileAt](int row, const QString&) { return ProfileItemColors(profileAt(row)); },
        [](int row) { return row == 1; }, 2);
    combo->setItemDelegate(delegate);
    FollowCurrentItem(combo, delegate);
}
