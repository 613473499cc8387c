#pragma once

#include <QLayout>
#include <QList>

// Items side by side in the order added, each at its preferred size, wrapping to a new row
// where the width ends: a panel of groups that reflows to the room it has (a narrow window, a
// large font, a language with long words) instead of being cut or scrolled sideways.
class TFlowLayout : public QLayout {
public:
    explicit TFlowLayout(QWidget* parent, int spacing = 6);
    ~TFlowLayout() override;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override;
    bool hasHeightForWidth() const override;
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect& rect) override;

private:
    // Places the items in `rect` (or only measures, when `place` is false); the height used.
    int Arrange(const QRect& rect, bool place) const;

    QList<QLayoutItem*> Items;
    int Gap;
};
