#pragma once

#include "ReportTemplate.h"

#include <QStringList>

namespace kb {

// The four report templates the set-up tool delivers in Data/: the cash book, the account and
// group overviews and the printout of one cash count, A4 portrait.
class StandardTemplates
{
public:
    static QStringList fileNames(); // "Kassenbuch.frf", "Konten.frf", "Gruppen.frf", "BarKasse.frf"
    static report::ReportTemplate make(const QString &fileName);
    // Writes every template dataDirectory lacks; never touches one that is there. Returns the
    // names written. Throws FileError::cannotCreate.
    static QStringList writeMissing(const QString &dataDirectory);
};

} // namespace kb
