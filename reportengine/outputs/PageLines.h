#pragma once

#include "PreparedReport.h"

#include <vector>

namespace kb::report {

// The text items of a page gathered into lines: items whose tops lie within a millimetre of each
// other form one line, ordered left to right; lines run top to bottom. The shared reading of a
// page for the text, RTF and HTML exports.
struct PageLine
{
    double y = 0;
    BandKind band = BandKind::Detail;
    std::vector<const Primitive *> items;
};

std::vector<PageLine> pageLines(const PreparedPage &page);

// Writes bytes to a file; throws FileError::cannotCreate.
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace kb::report
