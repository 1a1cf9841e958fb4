#pragma once

#include "PreparedReport.h"

class QPrinter;

namespace kb::report {

// Sends pages to a printer with its current settings.
class PrinterOutput
{
public:
    // Pages from first to last (1-based, both included), copies times. Throws kb::Error when the
    // printer cannot be started.
    static void print(const PreparedReport &report, QPrinter &printer, int firstPage, int lastPage, int copies);
};

} // namespace kb::report
