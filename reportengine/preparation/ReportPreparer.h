#pragma once

#include "DatasetRegistry.h"
#include "FormatSettings.h"
#include "PreparedReport.h"
#include "ReportTemplate.h"

#include <QDateTime>

#include <functional>

namespace kb::report {

// Lays a template out on pages from the rows of its datasets. The first pass places every band
// and collects the aggregates; the second fills in what only the end knows (the page count, group,
// page and report totals printed in headers).
class ReportPreparer
{
public:
    // Told the number of the page begun; returning false cancels the preparation.
    using Progress = std::function<bool(int page)>;

    ReportPreparer(const ReportTemplate &report, const DatasetRegistry &datasets, const QString &mainDataset,
                   const FormatSettings &formats, const QDateTime &now);

    // Throws kb::Error naming the object and the expression that failed, kb::Abort when cancelled.
    // A template without bands yields no page.
    PreparedReport prepare(const Progress &progress = {});

private:
    const ReportTemplate &m_report;
    const DatasetRegistry &m_datasets;
    QString m_mainDataset;
    const FormatSettings &m_formats;
    QDateTime m_now;
};

} // namespace kb::report
