#include "UiServices.h"

namespace kb {

QString UiServices::programTitle()
{
    return QStringLiteral("Vuno Kassenbuch");
}

QString UiServices::confirmationCaption()
{
    return QStringLiteral("Bestätigung");
}

QString UiServices::warningCaption()
{
    return QStringLiteral("Warnung");
}

QString UiServices::informationCaption()
{
    return QStringLiteral("Information");
}

QString UiServices::errorDisplayText(const QString &text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

} // namespace kb
