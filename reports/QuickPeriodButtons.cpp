#include "QuickPeriodButtons.h"

#include <QPushButton>

namespace kb {

QuickPeriodButtons::QuickPeriodButtons(QWidget *parent)
    : QWidget(parent)
{
    struct Caption { const char *name; QString text; };
    const std::array<Caption, 4> captions = {{
        {"BtnMonth", QStringLiteral("Aktueller Monat")},
        {"BtnLastMonth", QStringLiteral("Voriger Monat")},
        {"BtnYear", QStringLiteral("Aktuelles Jahr")},
        {"BtnPrevJahr", QStringLiteral("Voriges Jahr")},
    }};
    for (size_t i = 0; i < captions.size(); ++i) {
        auto *button = new QPushButton(captions[i].text, this);
        button->setObjectName(QString::fromLatin1(captions[i].name));
        button->setAutoDefault(false);
        button->setGeometry(0, int(i) * (ButtonHeight + Gap), ButtonWidth, ButtonHeight);
        m_buttons[i] = button;
    }
    setFixedSize(ButtonWidth, 4 * ButtonHeight + 3 * Gap);
}

} // namespace kb
