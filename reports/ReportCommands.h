#pragma once

namespace kb {

struct ApplicationContext;

// Installs the print commands of the cash book and the two overviews on the main window.
class ReportCommands
{
public:
    static void install(ApplicationContext &context);
};

} // namespace kb
