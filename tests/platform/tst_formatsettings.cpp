#include "FormatSettings.h"
#include "TextForms.h"

#include <QTest>

using namespace Qt::StringLiterals;
using kb::FormatSettings;
using kb::Money;

class TstFormatSettings : public QObject
{
    Q_OBJECT

private slots:
    void formatCurrency_data();
    void formatCurrency();
};

void TstFormatSettings::formatCurrency_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("currency");
    QTest::addColumn<QString>("edited");
    const QString euro = u"€"_s;
    QTest::newRow("thousands separated") << u"1234,56"_s << euro << 2 << u"1.234,56 €"_s << u"1234,56"_s;
    QTest::newRow("minus first, symbol after") << u"-1234,56"_s << euro << 2 << u"-1.234,56 €"_s
                                               << u"-1234,56"_s;
    QTest::newRow("VAT amount shows two decimals") << u"1,5966"_s << euro << 2 << u"1,60 €"_s << u"1,60"_s;
    QTest::newRow("other symbol") << u"12,5"_s << u"CHF"_s << 2 << u"12,50 CHF"_s << u"12,50"_s;
    QTest::newRow("empty symbol, no blank") << u"12,5"_s << QString() << 2 << u"12,50"_s << u"12,50"_s;
    QTest::newRow("zero") << u"0"_s << euro << 2 << u"0,00 €"_s << u"0,00"_s;
    QTest::newRow("millions") << u"1234567,891"_s << euro << 2 << u"1.234.567,89 €"_s << u"1234567,89"_s;
    QTest::newRow("exactly three digits") << u"999"_s << euro << 2 << u"999,00 €"_s << u"999,00"_s;
    QTest::newRow("rounding carries into thousands") << u"999,995"_s << euro << 2 << u"1.000,00 €"_s
                                                     << u"1000,00"_s;
    QTest::newRow("half cent rounds away from zero") << u"-0,005"_s << euro << 2 << u"-0,01 €"_s
                                                     << u"-0,01"_s;
    QTest::newRow("below half a cent shows no minus") << u"-0,004"_s << euro << 2 << u"0,00 €"_s << u"0,00"_s;
    QTest::newRow("no decimals") << u"1234,5"_s << euro << 0 << u"1.235 €"_s << u"1235"_s;
    QTest::newRow("four decimals") << u"-1,5966"_s << euro << 4 << u"-1,5966 €"_s << u"-1,5966"_s;
}

void TstFormatSettings::formatCurrency()
{
    QFETCH(QString, amount);
    QFETCH(QString, symbol);
    QFETCH(int, decimals);
    QFETCH(QString, currency);
    QFETCH(QString, edited);
    FormatSettings settings;
    settings.currencySymbol = symbol;
    settings.currencyDecimals = decimals;
    const Money value = kb::TextForms::parseMoney(amount);
    QCOMPARE(settings.formatCurrency(value), currency);
    QCOMPARE(settings.formatAmount(value), edited);
}

QTEST_MAIN(TstFormatSettings)
#include "tst_formatsettings.moc"
