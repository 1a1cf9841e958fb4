#include "Report.h"

#include "Errors.h"
#include "PageView.h"
#include "ReportPreparer.h"
#include "TemplateFile.h"
#include "UiServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProgressDialog>

namespace kb::report {

Report::Report(UiServices &ui, const FormatSettings &formats, QPrinter &printer)
    : printerAvailable([] { return !QPrinterInfo::availablePrinterNames().isEmpty(); }),
      clock([] { return QDateTime::currentDateTime(); }), m_ui(ui), m_formats(formats), m_printer(printer)
{
}

Report::~Report() = default;

void Report::showError(const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, QApplication::activeWindow());
    m_ui.runModal(box);
}

void Report::loadTemplate(const QString &path)
{
    try {
        m_template = TemplateFile::load(path);
    } catch (const UnsupportedFormat &e) {
        m_template = ReportTemplate();
        m_fileName = path;
        m_prepared = PreparedReport();
        showError(e.text());
        return;
    }
    m_fileName = path;
    m_prepared = PreparedReport();
}

void Report::saveTemplate()
{
    TemplateFile::save(m_template, m_fileName);
}

void Report::addExport(const ReportExport &format)
{
    for (const ReportExport *known : m_exports) {
        if (known == &format || known->filter() == format.filter())
            return;
    }
    m_exports.push_back(&format);
}

bool Report::prepareReport()
{
    std::unique_ptr<QProgressDialog> progress;
    if (showProgress) {
        progress = std::make_unique<QProgressDialog>(QStringLiteral("Preparing report"), QStringLiteral("Cancel"), 0, 0,
                                                     QApplication::activeWindow());
        progress->setWindowTitle(QStringLiteral("Preparing report"));
        progress->setObjectName(QStringLiteral("ReportProgress"));
        progress->setWindowModality(Qt::ApplicationModal);
        progress->setMinimumDuration(400);
        progress->setAutoReset(false);
        progress->setValue(0);
    }
    const auto report = [&](int page) {
        if (!progress)
            return true;
        progress->setLabelText(QStringLiteral("Page %1").arg(page));
        QCoreApplication::processEvents();
        return !progress->wasCanceled();
    };
    try {
        m_prepared = ReportPreparer(m_template, m_datasets, m_mainDataset, m_formats, clock()).prepare(report);
    } catch (const Abort &) {
        m_prepared = PreparedReport();
        return false;
    } catch (const Error &e) {
        m_prepared = PreparedReport();
        progress.reset();
        showError(e.text());
        return false;
    }
    return true;
}

void Report::showReport()
{
    if (prepareReport())
        showPreparedReport();
}

void Report::showPreparedReport()
{
    if (m_prepared.isEmpty())
        return;
    PreviewWindow preview(m_prepared, m_ui, m_printer, m_exports, printerAvailable(), previewButtons,
                          QApplication::activeWindow());
    preview.setModal(modalPreview);
    switch (initialZoom) {
    case InitialZoom::Default:
    case InitialZoom::PageWidth: preview.view().setFit(PageView::Fit::PageWidth); break;
    case InitialZoom::WholePage: preview.view().setFit(PageView::Fit::WholePage); break;
    case InitialZoom::Percent100: preview.view().setZoom(100); break;
    }
    if (aboutToShowPreview)
        aboutToShowPreview(preview);
    m_ui.runModal(preview);
}

void Report::designReport()
{
    if (!designer)
        throw Error(QStringLiteral("The report designer is not available"));
    if (m_template.isEmpty())
        m_template.pageHeader = Band();
    designer(*this);
}

} // namespace kb::report
