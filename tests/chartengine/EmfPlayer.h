#pragma once

#include "EmfPaintEngine.h"

#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>

#include <variant>

// Plays the drawing records of an enhanced metafile onto an image, so a test can see whether
// the file draws what the chart draws. Text is not drawn: fonts differ between renderers.
class EmfPlayer
{
public:
    static QImage play(const QByteArray &file, QSize size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        EmfPlayer player(file, painter);
        player.run();
        return image;
    }

private:
    using Emf = kb::EmfPaintEngine;

    EmfPlayer(const QByteArray &file, QPainter &painter) : m_file(file), m_painter(painter) {}

    quint32 u32(qsizetype at) const { return qFromLittleEndian<quint32>(m_file.constData() + at); }
    qint32 i32(qsizetype at) const { return qFromLittleEndian<qint32>(m_file.constData() + at); }
    qint16 i16(qsizetype at) const { return qFromLittleEndian<qint16>(m_file.constData() + at); }
    static QColor color(quint32 ref) { return QColor(ref & 0xFF, ref >> 8 & 0xFF, ref >> 16 & 0xFF); }

    QPolygonF points16(qsizetype at, quint32 count) const
    {
        QPolygonF points;
        for (quint32 i = 0; i < count; ++i)
            points << QPointF(i16(at + 4 * i), i16(at + 4 * i + 2));
        return points;
    }

    void run()
    {
        for (qsizetype at = 0; at + 8 <= m_file.size(); at += u32(at + 4)) {
            if (u32(at + 4) < 8)
                return;
            record(u32(at), at);
        }
    }

    void record(quint32 type, qsizetype at)
    {
        switch (type) {
        case Emf::CreatePen:
            m_objects[u32(at + 8)] = u32(at + 12) == 5 ? QPen(Qt::NoPen) : QPen(color(u32(at + 24)), i32(at + 16));
            break;
        case Emf::CreateBrushIndirect:
            m_objects[u32(at + 8)] = u32(at + 12) == 1 ? QBrush(Qt::NoBrush) : QBrush(color(u32(at + 16)));
            break;
        case Emf::SelectObject: {
            const auto object = m_objects.constFind(u32(at + 8));
            if (object == m_objects.cend())
                break;  // a font
            if (const QPen *pen = std::get_if<QPen>(&*object))
                m_painter.setPen(*pen);
            else
                m_painter.setBrush(std::get<QBrush>(*object));
            break;
        }
        case Emf::DeleteObject:
            m_objects.remove(u32(at + 8));
            break;
        case Emf::SetPolyFillMode:
            m_fillRule = u32(at + 8) == 2 ? Qt::WindingFill : Qt::OddEvenFill;
            break;
        case Emf::PolyPolygon16: {
            const quint32 polygons = u32(at + 24);
            qsizetype points = at + 32 + 4 * polygons;
            QPainterPath path;
            path.setFillRule(m_fillRule);
            for (quint32 p = 0; p < polygons; ++p) {
                const quint32 count = u32(at + 32 + 4 * p);
                path.addPolygon(points16(points, count));
                path.closeSubpath();
                points += 4 * count;
            }
            m_painter.drawPath(path);
            break;
        }
        case Emf::Polyline16:
            m_painter.drawPolyline(points16(at + 28, u32(at + 24)));
            break;
        case Emf::BeginPath:
            m_path = QPainterPath();
            break;
        case Emf::MoveToEx:
            m_path.moveTo(i32(at + 8), i32(at + 12));
            break;
        case Emf::LineTo:
            m_path.lineTo(i32(at + 8), i32(at + 12));
            break;
        case Emf::PolyBezierTo16: {
            const QPolygonF curve = points16(at + 28, u32(at + 24));
            for (qsizetype i = 0; i + 2 < curve.size(); i += 3)
                m_path.cubicTo(curve[i], curve[i + 1], curve[i + 2]);
            break;
        }
        case Emf::CloseFigure:
            m_path.closeSubpath();
            break;
        case Emf::FillPath:
        case Emf::StrokePath:
        case Emf::StrokeAndFillPath: {
            m_path.setFillRule(m_fillRule);
            m_painter.save();
            if (type == Emf::FillPath)
                m_painter.setPen(Qt::NoPen);
            if (type == Emf::StrokePath)
                m_painter.setBrush(Qt::NoBrush);
            m_painter.drawPath(m_path);
            m_painter.restore();
            break;
        }
        default:
            break;
        }
    }

    const QByteArray &m_file;
    QPainter &m_painter;
    QHash<quint32, std::variant<QPen, QBrush>> m_objects;
    QPainterPath m_path;
    Qt::FillRule m_fillRule = Qt::OddEvenFill;
};
