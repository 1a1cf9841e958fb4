#include "DbNavigator.h"

#include "CommandGuard.h"
#include "DataSource.h"
#include "Hint.h"
#include "Table.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

namespace kb {

namespace {

using Button = DbNavigator::Button;

// The glyph of a button on a 16 × 16 grid: triangles for moving, plus, minus, tick and cross.
void drawGlyph(QPainter &painter, Button button)
{
    const QColor ink(0x30, 0x40, 0x58);
    const auto triangle = [&](qreal tipX, qreal baseX) {
        QPainterPath path;
        path.moveTo(tipX, 8);
        path.lineTo(baseX, 3);
        path.lineTo(baseX, 13);
        path.closeSubpath();
        painter.fillPath(path, ink);
    };
    const auto bar = [&](qreal x) { painter.fillRect(QRectF(x, 3, 2, 10), ink); };
    painter.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    switch (button) {
    case Button::First:
        bar(3);
        triangle(5.5, 12.5);
        break;
    case Button::Prior:
        triangle(4.5, 11.5);
        break;
    case Button::Next:
        triangle(11.5, 4.5);
        break;
    case Button::Last:
        triangle(10.5, 3.5);
        bar(11);
        break;
    case Button::Insert:
        painter.drawLine(QPointF(8, 3), QPointF(8, 13));
        painter.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case Button::Delete:
        painter.drawLine(QPointF(3, 8), QPointF(13, 8));
        break;
    case Button::Post:
        painter.setPen(QPen(QColor(0x2e, 0x7d, 0x32), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF({QPointF(3, 8.5), QPointF(6.5, 12), QPointF(13, 4)}));
        break;
    case Button::Cancel:
        painter.setPen(QPen(QColor(0xc6, 0x28, 0x28), 2.4, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(4, 4), QPointF(12, 12));
        painter.drawLine(QPointF(12, 4), QPointF(4, 12));
        break;
    }
}

QIcon glyphIcon(Button button)
{
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        drawGlyph(painter, button);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

DbNavigator::DbNavigator(UiServices &ui, QWidget *parent)
    : QWidget(parent), m_ui(ui)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int i = 0; i < ButtonCount; ++i) {
        const auto which = Button(i);
        auto *button = new QToolButton(this);
        button->setIcon(glyphIcon(which));
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, which] { run(which); });
        layout->addWidget(button);
        m_buttons[size_t(i)] = button;
    }
    updateButtons();
}

void DbNavigator::bind(DataSource *source)
{
    if (m_source)
        disconnect(m_source, nullptr, this, nullptr);
    m_source = source;
    if (m_source) {
        connect(m_source, &DataSource::recordChanged, this, &DbNavigator::updateButtons);
        connect(m_source, &DataSource::rowsChanged, this, &DbNavigator::updateButtons);
        connect(m_source, &DataSource::stateChanged, this, &DbNavigator::updateButtons);
    }
    updateButtons();
}

void DbNavigator::setVisibleButtons(const QList<Button> &buttons)
{
    for (int i = 0; i < ButtonCount; ++i)
        m_buttons[size_t(i)]->setVisible(buttons.contains(Button(i)));
}

void DbNavigator::setHints(const QStringList &hints)
{
    for (int i = 0; i < ButtonCount && i < hints.size(); ++i)
        Hint::apply(*m_buttons[size_t(i)], hints[i]);
}

void DbNavigator::run(Button which)
{
    Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    Table *table = m_source ? m_source->table() : nullptr;
    CommandGuard::guard(m_ui, [&] {
        switch (which) {
        case Button::First: cursor->first(); break;
        case Button::Prior: cursor->prior(); break;
        case Button::Next: cursor->next(); break;
        case Button::Last: cursor->last(); break;
        case Button::Insert: table->insert(); break;
        case Button::Delete:
            if (m_ui.confirm(deleteQuestion()))
                table->deleteRecord();
            break;
        case Button::Post: table->post(); break;
        case Button::Cancel: table->cancel(); break;
        }
    });
    updateButtons();
}

void DbNavigator::updateButtons()
{
    const Cursor *cursor = m_source ? m_source->cursor() : nullptr;
    const bool active = cursor && cursor->isOpen();
    const bool modifiable = active && m_source->table();
    const bool editing = modifiable && cursor->isEditing();
    const bool up = active && !cursor->bof();
    const bool down = active && !cursor->eof();
    const std::array<bool, ButtonCount> enabled{up, up, down, down, modifiable,
                                                modifiable && !(cursor->bof() && cursor->eof()), editing, editing};
    for (int i = 0; i < ButtonCount; ++i)
        m_buttons[size_t(i)]->setEnabled(enabled[size_t(i)]);
}

} // namespace kb
