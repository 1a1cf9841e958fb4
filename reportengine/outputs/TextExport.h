#pragma once

#include "ReportExport.h"

namespace kb::report {

// Pages as monospaced text in code page 1252: every item keeps its column (one character per
// 1.6 mm), right-aligned numbers stay right-aligned; pages are parted by a form feed.
class TextExport : public ReportExport
{
public:
    static constexpr double CharWidth = 1.6;

    QString name() const override { return QStringLiteral("ASCII Text file"); }
    QString extension() const override { return QStringLiteral("txt"); }
    void write(const PreparedReport &report, const QString &path) const override;
    static QString text(const PreparedReport &report);
};

} // namespace kb::report
