#include "SearchStatement.h"

namespace kb {

QString SearchStatement::literal(const QString &text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QStringList SearchStatement::lines(qint64 companyId, const SearchCriteria &criteria)
{
    QString conditions = QStringLiteral("Firma_ID=") + QString::number(companyId);
    const auto addLike = [&conditions](const QString &column, const QString &text) {
        if (!text.isEmpty())
            conditions += QStringLiteral(" and %1 like %2").arg(column, literal(QLatin1Char('%') + text + QLatin1Char('%')));
    };
    addLike(QStringLiteral("BelegNr"), criteria.beleg);
    addLike(QStringLiteral("Kontoname"), criteria.kontoname);
    if (!criteria.datum.isEmpty())
        conditions += QStringLiteral(" and DATUM=") + literal(criteria.datum);
    addLike(QStringLiteral("TEXT"), criteria.text);
    return {
        QStringLiteral("SELECT Nr, BelegNr, Datum, Buchungsbetrag, Text, Kontoname FROM \"Kasse.adt\""),
        QStringLiteral("WHERE"),
        conditions,
        QStringLiteral("ORDER By Nr"),
    };
}

} // namespace kb
