#include "DenominationPicture.h"

#include <QPainter>
#include <QSvgRenderer>

namespace kb {

namespace {

constexpr int Width = 64;
constexpr int Height = 36;

struct Look
{
    const char *fill;
    const char *ring;  // the outer ring of a two-coloured coin; empty for one colour
};

const char *Copper = "#b8703f";
const char *NordicGold = "#d9b448";
const char *Silver = "#c4c8cc";

Look coinLook(qint64 cents)
{
    if (cents < 10)
        return {Copper, ""};
    if (cents < 100)
        return {NordicGold, ""};
    if (cents == 100)
        return {Silver, NordicGold};
    return {NordicGold, Silver};
}

const char *noteColour(qint64 cents)
{
    switch (cents) {
    case 500: return "#9aa0a6";    // grey
    case 1000: return "#d9645a";   // red
    case 2000: return "#5b86c9";   // blue
    case 5000: return "#eb9a3d";   // orange
    case 10000: return "#5aa665";  // green
    case 20000: return "#d6b85a";  // yellow-brown
    default: return "#9a6fb0";     // purple
    }
}

QString valueText(qint64 cents)
{
    return QString::number(cents < 100 ? cents : cents / 100);
}

// Coins grow with their value within their metal, as the real ones roughly do.
QByteArray coinSvg(qint64 cents)
{
    const Look look = coinLook(cents);
    const double radius = cents < 100 ? 11.0 + (cents >= 10 ? 2.5 : 0.0) + (cents % 5 == 0 ? 1.5 : 0.0) + (cents >= 50 ? 1.0 : 0.0)
                                      : 15.0 + (cents == 200 ? 2.0 : 0.0);
    const QString ring = QString::fromLatin1(look.ring);
    QString body = QStringLiteral("<circle cx='32' cy='18' r='%1' fill='%2' stroke='#5a4a2a' stroke-width='1'/>")
                       .arg(radius)
                       .arg(QString::fromLatin1(ring.isEmpty() ? look.fill : look.ring));
    if (!ring.isEmpty())
        body += QStringLiteral("<circle cx='32' cy='18' r='%1' fill='%2'/>").arg(radius * 0.68).arg(QString::fromLatin1(look.fill));
    body += QStringLiteral("<circle cx='32' cy='18' r='%1' fill='none' stroke='#ffffff' stroke-opacity='0.5' stroke-width='0.8'/>")
                .arg(radius - 2.0);
    body += QStringLiteral("<text x='32' y='22.5' font-family='sans-serif' font-size='%1' font-weight='bold' "
                           "text-anchor='middle' fill='#3a2e18'>%2</text>")
                .arg(cents < 100 ? 12 : 13)
                .arg(valueText(cents));
    return QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2' viewBox='0 0 %1 %2'>%3</svg>")
        .arg(Width).arg(Height).arg(body).toUtf8();
}

// Notes grow with their value, as the real ones do.
QByteArray noteSvg(qint64 cents)
{
    int step = 0;
    for (qint64 value = 500; value < cents; value *= 2)
        ++step;
    const double width = 48.0 + std::min(step, 6) * 2.5;
    const double left = (Width - width) / 2.0;
    const QString colour = QString::fromLatin1(noteColour(cents));
    const QString body =
        QStringLiteral("<rect x='%1' y='5' width='%2' height='26' rx='2' fill='%3' stroke='#404040' stroke-width='0.8'/>"
                       "<rect x='%4' y='9' width='14' height='18' rx='1' fill='#ffffff' fill-opacity='0.35'/>"
                       "<path d='M%5 28 h%6' stroke='#ffffff' stroke-opacity='0.6' stroke-width='1.2'/>"
                       "<text x='%7' y='23' font-family='sans-serif' font-size='13' font-weight='bold' "
                       "text-anchor='middle' fill='#202020'>%8</text>")
            .arg(left).arg(width).arg(colour)
            .arg(left + 4).arg(left + 4).arg(width - 8)
            .arg(left + width * 0.62).arg(valueText(cents));
    return QStringLiteral("<svg xmlns='http://www.w3.org/2000/svg' width='%1' height='%2' viewBox='0 0 %1 %2'>%3</svg>")
        .arg(Width).arg(Height).arg(body).toUtf8();
}

QPixmap render(const QByteArray &svg, const QSize &size)
{
    QSvgRenderer renderer(svg);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

} // namespace

QByteArray DenominationPicture::svg(const CashCount::Denomination &denomination)
{
    return denomination.cents <= 200 ? coinSvg(denomination.cents) : noteSvg(denomination.cents);
}

QPixmap DenominationPicture::pixmap(const CashCount::Denomination &denomination, const QSize &size)
{
    return render(svg(denomination), size);
}

QPixmap DenominationPicture::icon(const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    const auto denominations = CashCount::denominations();
    const QSize part(size.width() * 3 / 4, size.height() * 3 / 4);
    painter.drawPixmap(0, 0, render(noteSvg(denominations.back().cents), part));
    painter.drawPixmap(size.width() - part.width(), size.height() - part.height(), render(coinSvg(200), part));
    return pixmap;
}

} // namespace kb
