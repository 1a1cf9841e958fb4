#pragma once

#include <QDialog>

namespace kb {

// A dialog no button of which answers the Escape key: it is left by its buttons or the close box.
class NoEscapeDialog : public QDialog
{
    Q_OBJECT

public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace kb
