#include "NoEscapeDialog.h"

#include <QKeyEvent>

namespace kb {

void NoEscapeDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace kb
