#include "windows/panels/FlowLayout.h"

#include <QWidget>
#include <algorithm>

TFlowLayout::TFlowLayout(QWidget* parent, int spacing) : QLayout(parent), Gap(spacing) {
    setContentsMargins(0, 0, 0, 0);
}

TFlowLayout::~TFlowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TFlowLayout::addItem(QLayoutItem* item) {
    Items.append(item);
}

int TFlowLayout::count() const {
    return int(Items.size());
}

QLayoutItem* TFlowLayout::itemAt(int index) const {
    return index >= 0 && index < Items.size() ? Items.at(index) : nullptr;
}

QLayoutItem* TFlowLayout::takeAt(int index) {
    return index >= 0 && index < Items.size() ? Items.takeAt(index) : nullptr;
}

Qt::Orientations TFlowLayout::expandingDirections() const {
    return {};
}

bool TFlowLayout::hasHeightForWidth() const {
    return true;
}

int TFlowLayout::heightForWidth(int width) const {
    return Arrange(QRect(0, 0, width, 0), false);
}

QSize TFlowLayout::minimumSize() const {
    // As narrow as the widest item: everything else wraps.
    QSize size;
    for (const QLayoutItem* item : Items)
        if (!item->isEmpty())
            size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize TFlowLayout::sizeHint() const {
    // All in one row.
    int width = 0;
    int height = 0;
    for (const QLayoutItem* item : Items) {
        if (item->isEmpty())
            continue;
        width += (width > 0 ? Gap : 0) + item->sizeHint().width();
        height = std::max(height, item->sizeHint().height());
    }
    const QMargins m = contentsMargins();
    return {width + m.left() + m.right(), height + m.top() + m.bottom()};
}

void TFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    Arrange(rect, true);
}

int TFlowLayout::Arrange(const QRect& rect, bool place) const {
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int rowHeight = 0;
    for (QLayoutItem* item : Items) {
        if (item->isEmpty())
            continue;
        QSize size = item->sizeHint().boundedTo(QSize(area.width(), QWIDGETSIZE_MAX));
        size = size.expandedTo(item->minimumSize());
        if (x > area.x() && x + size.width() > area.right() + 1) {
            x = area.x();
            y += rowHeight + Gap;
            rowHeight = 0;
        }
        if (item->hasHeightForWidth())
            size.setHeight(std::max(size.height(), item->heightForWidth(size.width())));
        if (place)
            item->setGeometry(QRect(QPoint(x, y), size));
        x += size.width() + Gap;
        rowHeight = std::max(rowHeight, size.height());
    }
    return y + rowHeight - rect.y() + contentsMargins().bottom();
}
