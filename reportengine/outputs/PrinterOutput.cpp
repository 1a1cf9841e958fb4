#include "PrinterOutput.h"

#include "Errors.h"
#include "PageRenderer.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace kb::report {

void PrinterOutput::print(const PreparedReport &report, QPrinter &printer, int firstPage, int lastPage, int copies)
{
    firstPage = std::max(1, firstPage);
    lastPage = std::min(report.pageCount(), lastPage);
    if (firstPage > lastPage)
        return;
    const PreparedPage &sample = report.pages[size_t(firstPage - 1)];
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(sample.width, sample.height), QPageSize::Millimeter),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    printer.setCopyCount(1);
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(QStringLiteral("The printer \"%1\" cannot be started").arg(printer.printerName()));
    bool firstSheet = true;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int page = firstPage; page <= lastPage; ++page) {
            if (!firstSheet)
                printer.newPage();
            firstSheet = false;
            PageRenderer::paint(painter, report, report.pages[size_t(page - 1)]);
        }
    }
    painter.end();
}

} // namespace kb::report
