#include "DbGridDelegate.h"

#include "DbGrid.h"

#include <QLineEdit>

namespace kb {

DbGridDelegate::DbGridDelegate(DbGrid *grid)
    : QStyledItemDelegate(grid), m_grid(grid)
{
}

QWidget *DbGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const QPersistentModelIndex cell(index);
    connect(editor, &QLineEdit::textEdited, m_grid, [grid = m_grid, cell] { grid->startEditing(cell); });
    return editor;
}

void DbGridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *line = static_cast<QLineEdit *>(editor);
    if (const std::optional<QString> kept = m_grid->takeCorrection(index)) {
        line->setText(*kept);
        line->setModified(true);
        line->selectAll();
    } else if (!line->isModified()) {
        line->setText(index.data(Qt::EditRole).toString());
    }
}

void DbGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    auto *line = static_cast<QLineEdit *>(editor);
    if (!line->isModified())
        return;
    if (!model->setData(index, line->text(), Qt::EditRole))
        m_grid->keepForCorrection(index, line->text());
}

void DbGridDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (m_grid->isReadOnlyColumn(index.column()))
        option->backgroundBrush = m_grid->readOnlyBackground();
}

} // namespace kb
