#pragma once

namespace kb {

struct ApplicationContext;

// The cash count's command of the main window: BtnBKasseClick opens the list of counts.
class CashCountCommands
{
public:
    static void install(ApplicationContext &context);
};

} // namespace kb
