#include "ReportSql.h"

#include "TextForms.h"

namespace kb {

namespace {

QStringList withPeriod(QStringList lines, const Period *period, qint64 company)
{
    if (period) {
        lines.insert(2, QStringLiteral("and Datum>='%1' and Datum<='%2'")
                            .arg(TextForms::formatDate(period->first), TextForms::formatDate(period->last)));
        lines.insert(3, QStringLiteral("and Firma_ID=%1").arg(company));
    }
    return lines;
}

} // namespace

QStringList ReportSql::accounts(const Period *period, qint64 company)
{
    return withPeriod({QStringLiteral("SELECT * FROM \"KONTEN.ADT\", \"KASSE.ADT\""),
                       QStringLiteral("WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\""),
                       QStringLiteral("ORDER BY \"KONTEN.ADT\".KontoName")},
                      period, company);
}

QStringList ReportSql::groups(const Period *period, qint64 company)
{
    return withPeriod({QStringLiteral("SELECT * FROM \"KONTEN.ADT\", \"GRPLINK.ADT\", \"GRUPPEN.ADT\", \"KASSE.ADT\""),
                       QStringLiteral("WHERE GruppenNR=GruppenID and \"GRPLINK.ADT\".\"KontoID\"=KontoNr and \"Kasse.adt\".\"KontoID\"=\"KontoNr\""),
                       QStringLiteral("ORDER BY GruppenNR, \"KONTEN.ADT\".KontoName")},
                      period, company);
}

QString ReportSql::cashBookFilter(const Period &period)
{
    return QStringLiteral("Datum>='%1' and Datum<='%2'").arg(TextForms::formatDate(period.first), TextForms::formatDate(period.last));
}

QString ReportSql::periodText(const Period &period)
{
    return TextForms::formatDate(period.first) + QStringLiteral(" bis ") + TextForms::formatDate(period.last);
}

} // namespace kb
