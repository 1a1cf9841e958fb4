#include "PdfExport.h"

#include "Errors.h"
#include "PageRenderer.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace kb::report {

namespace {

QPageLayout layoutOf(const PreparedPage &page)
{
    return QPageLayout(QPageSize(QSizeF(page.width, page.height), QPageSize::Millimeter), QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

void PdfExport::write(const PreparedReport &report, const QString &path, const QString &title)
{
    {
        QFile probe(path);
        if (!probe.open(QIODevice::WriteOnly))
            throw FileError::cannotCreate(path);
    }
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Vuno Kassenbuch"));
    if (!report.pages.empty())
        writer.setPageLayout(layoutOf(report.pages.front()));
    QPainter painter;
    if (!painter.begin(&writer))
        throw FileError::cannotCreate(path);
    for (size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(layoutOf(report.pages[i]));
            writer.newPage();
        }
        PageRenderer::paint(painter, report, report.pages[i]);
    }
    if (!painter.end())
        throw FileError::cannotCreate(path);
}

} // namespace kb::report
