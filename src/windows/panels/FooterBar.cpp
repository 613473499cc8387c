#include "windows/panels/FooterBar.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

TFooterBar::TFooterBar(QTableView* view, QWidget* parent) : QWidget(parent), View(view) {
    setObjectName(QStringLiteral("ngFooter"));
    QHeaderView* header = view->horizontalHeader();
    const auto repaint = [this] { update(); };
    connect(header, &QHeaderView::sectionResized, this, repaint);
    connect(header, &QHeaderView::sectionMoved, this, repaint);
    connect(header, &QHeaderView::geometriesChanged, this, repaint);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
}

void TFooterBar::SetTexts(const std::array<QString, ListColumnCount>& texts) {
    Texts_ = texts;
    update();
}

QSize TFooterBar::sizeHint() const {
    return {100, fontMetrics().height() + 8};
}

void TFooterBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(rect().topLeft(), rect().topRight());
    p.setPen(palette().color(QPalette::ButtonText));
    const QHeaderView* header = View->horizontalHeader();
    // The grid's columns start after its row indicator and frame.
    const int offset =
        View->viewport()->geometry().left() + View->geometry().left() - geometry().left();
    for (int column = 0; column < ListColumnCount; ++column) {
        if (header->isSectionHidden(column) || Texts_[size_t(column)].isEmpty())
            continue;
        const QRect cell(offset + header->sectionViewportPosition(column), 0,
                         header->sectionSize(column), height());
        const QRect inner = cell.adjusted(2, 0, -2, 0);
        p.drawText(inner, Qt::AlignCenter,
                   fontMetrics().elidedText(Texts_[size_t(column)], Qt::ElideRight, inner.width()));
    }
}
