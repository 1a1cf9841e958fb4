#pragma once

#include "Errors.h"
#include "ReportTemplate.h"

namespace kb::report {

// A file that opens but holds no template this engine can read (foreign content, zero bytes, a
// newer format version).
class UnsupportedFormat : public Error
{
public:
    UnsupportedFormat() : Error(QStringLiteral("Unsupported FRF format")) {}
};

// The versioned XML form of a template. Writing puts only values that differ from the defaults,
// in a fixed order, so that two versions of a template diff well.
class TemplateFile
{
public:
    // Throws FileError::cannotOpen when the file cannot be opened, UnsupportedFormat when it is
    // no readable template.
    static ReportTemplate load(const QString &path);
    static ReportTemplate fromXml(const QByteArray &xml);
    // Throws FileError::cannotCreate when the file cannot be written.
    static void save(const ReportTemplate &report, const QString &path);
    static QByteArray toXml(const ReportTemplate &report);
};

} // namespace kb::report
