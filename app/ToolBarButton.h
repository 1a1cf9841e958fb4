#pragma once

#include <QToolButton>

namespace kb {

// A flat tool-bar button of fixed size with its icon centred above its caption. The style's own
// layout of icon and caption needs more height than the tool bar's 36 pixels at the window's
// font, so the button lays out both itself and leaves only the panel to the style.
class ToolBarButton : public QToolButton
{
    Q_OBJECT

public:
    ToolBarButton(const QString &caption, const QIcon &icon, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace kb
