#include "ToolBarButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

#include <algorithm>

namespace kb {

namespace {

constexpr int topMargin = 3;
constexpr int sideMargin = 1;

} // namespace

ToolBarButton::ToolBarButton(const QString &caption, const QIcon &icon, QWidget *parent) : QToolButton(parent)
{
    setText(caption);
    setIcon(icon);
    setIconSize(QSize(18, 18));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
}

void ToolBarButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton panel;
    initStyleOption(&panel);
    panel.text.clear();
    panel.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, panel);

    const QIcon::Mode mode = !isEnabled() ? QIcon::Disabled : underMouse() ? QIcon::Active : QIcon::Normal;
    const QRect iconArea(0, topMargin, width(), iconSize().height());
    icon().paint(&painter, iconArea, Qt::AlignCenter, mode);
    const int available = width() - 2 * sideMargin;
    const int needed = fontMetrics().horizontalAdvance(text());
    const int captionWidth = std::max(width(), needed);
    const QRect captionArea((width() - captionWidth) / 2, iconArea.bottom() + 1, captionWidth,
                            height() - iconArea.bottom() - 1);
    if (needed > available) {
        // A caption a little too wide for the button is narrowed rather than cut.
        painter.translate(width() / 2.0, 0);
        painter.scale(double(available) / needed, 1);
        painter.translate(-width() / 2.0, 0);
    }
    style()->drawItemText(&painter, captionArea, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                          text(), QPalette::ButtonText);
}

} // namespace kb
