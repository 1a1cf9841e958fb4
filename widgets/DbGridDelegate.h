#pragma once

#include <QColor>
#include <QStyledItemDelegate>

#include <functional>

namespace kb {

class DbGrid;

// Paints read-only columns in their background colour and edits cells in a line edit whose
// first change starts editing of the cursor. Only changed text is written, so opening and
// leaving a cell changes nothing.
class DbGridDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit DbGridDelegate(DbGrid *grid);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    DbGrid *m_grid;
};

} // namespace kb
