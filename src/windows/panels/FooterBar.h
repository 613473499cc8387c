#pragma once

#include "filelist/ListColumns.h"

#include <QWidget>
#include <array>

class QTableView;

// The footer row of totals under the file list: one text per column, drawn where the grid's
// header puts that column, following widths, moves and horizontal scrolling.
class TFooterBar : public QWidget {
    Q_OBJECT

public:
    explicit TFooterBar(QTableView* view, QWidget* parent = nullptr);
    void SetTexts(const std::array<QString, ListColumnCount>& texts);
    const std::array<QString, ListColumnCount>& Texts() const { return Texts_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTableView* View;
    std::array<QString, ListColumnCount> Texts_;
};
