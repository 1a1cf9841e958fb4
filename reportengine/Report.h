#pragma once

#include "DatasetRegistry.h"
#include "PreparedReport.h"
#include "PreviewWindow.h"
#include "ReportExport.h"
#include "ReportTemplate.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class QPrinter;
class QWidget;

namespace kb {
class FormatSettings;
class UiServices;
}

namespace kb::report {

enum class InitialZoom { Default, PageWidth, WholePage, Percent100 };

// The one report object of the program: the loaded template, its file name, the main dataset,
// the datasets templates may name, the prepared pages and the export formats the preview offers.
// Its own messages and windows speak English.
class Report
{
public:
    Report(UiServices &ui, const FormatSettings &formats, QPrinter &printer);
    ~Report();

    // Settings of the preview and the preparation.
    PreviewButtons previewButtons;
    InitialZoom initialZoom = InitialZoom::Default;
    bool modalPreview = true;
    bool showProgress = true;
    // Whether the platform has a printer; the preview's print button follows it.
    std::function<bool()> printerAvailable;
    // The time the report shows as DATE, TIME and NOW.
    std::function<QDateTime()> clock;
    // Runs the designer on this report; the designer's module sets it.
    std::function<void(Report &)> designer;
    // Called with the preview before it is shown (tests and the program's own additions).
    std::function<void(PreviewWindow &)> aboutToShowPreview;

    DatasetRegistry &datasets() { return m_datasets; }
    void setMainDataset(const QString &name) { m_mainDataset = name; }
    const QString &mainDataset() const { return m_mainDataset; }

    // Replaces the template with the file's. A file that cannot be opened throws
    // FileError::cannotOpen and leaves everything as it was; a file that is no template shows
    // "Unsupported FRF format" in an "Error" box and leaves the report without pages, its file name
    // taken all the same.
    void loadTemplate(const QString &path);
    // Writes the template to its file name (the designer's save).
    void saveTemplate();
    const QString &fileName() const { return m_fileName; }
    ReportTemplate &reportTemplate() { return m_template; }
    bool hasPages() const { return !m_template.isEmpty(); }

    // Registers an export format; registering the same format again changes nothing.
    void addExport(const ReportExport &format);
    const std::vector<const ReportExport *> &exports() const { return m_exports; }

    // Prepares the pages from the data. False when it failed (the "Error" box was shown) or the
    // user cancelled.
    bool prepareReport();
    // Prepares and shows the preview (modal, maximised) when there is a page; returns when it
    // is closed.
    void showReport();
    void showPreparedReport();
    // Opens the designer on the template; a report without pages first gets an empty page.
    // Throws kb::Error when the program has no designer.
    void designReport();

    const PreparedReport &preparedReport() const { return m_prepared; }
    PreparedReport &preparedReport() { return m_prepared; }

    // The engine's error box: "Error", the text, OK.
    void showError(const QString &text);

private:
    UiServices &m_ui;
    const FormatSettings &m_formats;
    QPrinter &m_printer;
    DatasetRegistry m_datasets;
    QString m_mainDataset;
    ReportTemplate m_template;
    QString m_fileName;
    PreparedReport m_prepared;
    std::vector<const ReportExport *> m_exports;
};

} // namespace kb::report
