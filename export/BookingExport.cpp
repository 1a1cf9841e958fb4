#include "BookingExport.h"

#include "CodePage1252.h"
#include "TDataForm.h"
#include "TextForms.h"

#include <QHash>

namespace kb {

namespace {

// The account number of each KontoID, looked up in KontenTable once per account: a period of
// many bookings on few accounts moves the account cursor only a few times.
class AccountNumbers
{
public:
    explicit AccountNumbers(Table &accounts) : m_accounts(accounts) {}

    const QString &of(qint64 kontoId)
    {
        const auto known = m_numbers.constFind(kontoId);
        if (known != m_numbers.cend())
            return *known;
        const QString number = m_accounts.locate(QStringLiteral("KontoNr"), kontoId)
            ? m_accounts.fieldByName(QStringLiteral("Konto")).asString()
            : BookingExport::missingAccount();
        return *m_numbers.insert(kontoId, number);
    }

    // Puts the cursor where a look-up of every booking in turn would have left it.
    void standOn(qint64 kontoId) { m_accounts.locate(QStringLiteral("KontoNr"), kontoId); }

private:
    Table &m_accounts;
    QHash<qint64, QString> m_numbers;
};

} // namespace

QStringList BookingExport::columnNames()
{
    return {QStringLiteral("Datum"), QStringLiteral("BelegNr"), QStringLiteral("Konto"),
            QStringLiteral("Gegenkonto"), QStringLiteral("Buchungsbetrag"), QStringLiteral("UMSTinProzent"),
            QStringLiteral("UMSTinEURO"), QStringLiteral("Nettobuchungsbetrag"), QStringLiteral("Bestand/Saldo"),
            QStringLiteral("Text")};
}

QStringList BookingExport::statement(const Period &period, qint64 companyId)
{
    return {
        QStringLiteral("SELECT * FROM \"KASSE.ADT\", \"KONTEN.ADT\""),
        QStringLiteral("WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\""),
        QStringLiteral("      and Datum>='%1' and Datum<='%2'")
            .arg(TextForms::formatDate(period.first), TextForms::formatDate(period.last)),
        QStringLiteral("      and Firma_ID=") + QString::number(companyId),
        QStringLiteral("ORDER BY Nr"),
    };
}

QStringList BookingExport::bookingLines(TDataForm &data, const Period &period)
{
    kb::Query &query = data.Query;
    query.setSql(statement(period, data.FirmaTable.fieldByName(QStringLiteral("ID")).asInteger()));
    query.open();
    const auto field = [&query](const char *name) -> const Field & {
        return query.fieldByName(QString::fromLatin1(name));
    };
    const Field &datum = field("Datum");
    const Field &belegNr = field("BelegNr");
    const Field &kontoId = field("KontoID");
    // The booking's own flag: the first column of that name in the result.
    const Field &minuskonto = field("Minuskonto");
    const Field *const numbers[] = {&field("Buchungsbetrag"), &field("UMSTinProzent"), &field("UMSTinEURO"),
                                    &field("Nettobuchungsbetrag"), &field("Zeilenbestand")};
    const Field &text = field("Text");

    AccountNumbers accounts(data.KontenTable);
    const QChar separator = QLatin1Char(';');
    QStringList lines;
    qint64 lastKontoId = 0;
    QString line;
    for (; !query.eof(); query.next()) {
        lastKontoId = kontoId.asInteger();
        const QString &account = accounts.of(lastKontoId);
        const bool expense = minuskonto.asBoolean();
        line.clear();
        line.reserve(160);
        line.append(datum.asString()).append(separator).append(belegNr.asString()).append(separator);
        line.append(expense ? account : cashAccount()).append(separator);
        line.append(expense ? cashAccount() : account);
        for (const Field *number : numbers)
            line.append(separator).append(number->asString());
        line.append(separator).append(QLatin1Char('"')).append(text.asString()).append(QLatin1Char('"'));
        lines.append(line);
    }
    if (!lines.isEmpty())
        accounts.standOn(lastKontoId);
    return lines;
}

int BookingExport::save(const QString &path, const QStringList &lines)
{
    CodePage1252::writeLines(path, lines);
    int affected = 0;
    for (const QString &line : lines) {
        if (CodePage1252::decode(CodePage1252::encode(line)) != line)
            ++affected;
    }
    return affected;
}

} // namespace kb
