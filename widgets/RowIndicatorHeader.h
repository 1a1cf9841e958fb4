#pragma once

#include <QHeaderView>

class QTableView;

namespace kb {

// The narrow column left of a grid's rows that marks the current row with a small triangle and
// shows nothing else.
class RowIndicatorHeader : public QHeaderView
{
    Q_OBJECT

public:
    static constexpr int indicatorWidth = 12;

    explicit RowIndicatorHeader(QTableView &grid);

protected:
    void currentChanged(const QModelIndex &current, const QModelIndex &old) override;
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QTableView &m_grid;
};

} // namespace kb
