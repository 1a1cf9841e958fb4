#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QMimeData;
class QPrinter;

namespace kb {

class Chart;

enum class PictureFormat { Bmp, Emf, Wmf, Png, Svg, Pdf };

// The chart's outputs: picture files of every format, clipboard data and the printed page.
class ChartPicture
{
public:
    // The chart drawn on a white ground.
    static QImage bitmap(const Chart &chart, QSize size);
    // The bytes of a picture file of that format.
    static QByteArray encode(const Chart &chart, QSize size, PictureFormat format);
    // Writes the picture file completely or not at all: a file that cannot be written throws
    // FileError::cannotCreate and leaves no partial file behind (an existing one stays as it was).
    static void save(const Chart &chart, QSize size, PictureFormat format, const QString &path);

    // Clipboard data for office programs: the enhanced metafile, SVG and PNG. The caller owns it.
    static QMimeData *metafileMimeData(const Chart &chart, QSize size);

    // Prints one page on the printer as it is set up, inside the chart's print margins.
    static void print(const Chart &chart, QPrinter &printer);
};

} // namespace kb
