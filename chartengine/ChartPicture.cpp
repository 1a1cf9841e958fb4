#include "ChartPicture.h"

#include "Chart.h"
#include "Errors.h"
#include "MetafileDevice.h"

#include <QBuffer>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace kb {

namespace {

constexpr int dotsPerInch = 96;

QByteArray imageBytes(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray metafile(const Chart &chart, QSize size, MetafileDevice::Format format)
{
    MetafileDevice device(format, size);
    QPainter painter(&device);
    chart.draw(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return device.data();
}

QByteArray svg(const Chart &chart, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(dotsPerInch);
    generator.setTitle(QStringLiteral("Vuno Diagramm"));
    QPainter painter(&generator);
    chart.draw(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return bytes;
}

QByteArray pdf(const Chart &chart, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(dotsPerInch);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / dotsPerInch, QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(QStringLiteral("Vuno Diagramm"));
    QPainter painter(&writer);
    chart.draw(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return bytes;
}

// The names under which office programs on Linux look for an enhanced metafile.
QStringList emfMimeTypes()
{
    return {QStringLiteral("image/x-emf"), QStringLiteral("image/emf"),
            QStringLiteral("application/x-openoffice-emf;windows_formatname=\"Image EMF\"")};
}

} // namespace

QImage ChartPicture::bitmap(const Chart &chart, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dotsPerInch / 0.0254));
    image.setDotsPerMeterY(qRound(dotsPerInch / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    chart.draw(painter, QRectF(QPointF(0, 0), size));
    painter.end();
    return image;
}

QByteArray ChartPicture::encode(const Chart &chart, QSize size, PictureFormat format)
{
    switch (format) {
    case PictureFormat::Bmp: return imageBytes(bitmap(chart, size), "BMP");
    case PictureFormat::Png: return imageBytes(bitmap(chart, size), "PNG");
    case PictureFormat::Emf: return metafile(chart, size, MetafileDevice::Format::Emf);
    case PictureFormat::Wmf: return metafile(chart, size, MetafileDevice::Format::Wmf);
    case PictureFormat::Svg: return svg(chart, size);
    case PictureFormat::Pdf: return pdf(chart, size);
    }
    return {};
}

void ChartPicture::save(const Chart &chart, QSize size, PictureFormat format, const QString &path)
{
    const QByteArray bytes = encode(chart, size, format);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw FileError::cannotCreate(path);
}

QMimeData *ChartPicture::metafileMimeData(const Chart &chart, QSize size)
{
    auto *data = new QMimeData;
    const QByteArray emf = encode(chart, size, PictureFormat::Emf);
    for (const QString &type : emfMimeTypes())
        data->setData(type, emf);
    data->setData(QStringLiteral("image/svg+xml"), encode(chart, size, PictureFormat::Svg));
    data->setData(QStringLiteral("image/png"), encode(chart, size, PictureFormat::Png));
    return data;
}

void ChartPicture::print(const Chart &chart, QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("Der Drucker kann nicht verwendet werden"));
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QMarginsF &percent = chart.printMarginsPercent;
    const QRectF area = QRectF(QPointF(0, 0), page.size())
                            .adjusted(page.width() * percent.left() / 100, page.height() * percent.top() / 100,
                                      -page.width() * percent.right() / 100, -page.height() * percent.bottom() / 100);
    chart.draw(painter, area);
    painter.end();
}

} // namespace kb
