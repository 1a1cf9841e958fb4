#include "Errors.h"
#include "Money.h"
#include "TextForms.h"

#include <QTest>

using namespace Qt::StringLiterals;
using kb::Money;

namespace {

Money money(const QString &text) { return kb::TextForms::parseMoney(text); }
QString text(Money value) { return kb::TextForms::plainNumber(value); }

// The tax contained in a gross amount, as bookings compute it: gross * percent / (100 + percent).
Money containedVat(Money gross, Money percent)
{
    return gross * percent / (Money::fromInteger(100) + percent);
}

} // namespace

class TstMoney : public QObject
{
    Q_OBJECT

private slots:
    void fromDouble_data();
    void fromDouble();
    void fromDoubleRejectsWhatHasNoAmount_data();
    void fromDoubleRejectsWhatHasNoAmount();
    void multiplyAndDivide_data();
    void multiplyAndDivide();
    void divisionByZero();
    void overflow();
    void vat_data();
    void vat();
    void toDoubleRoundTrip_data();
    void toDoubleRoundTrip();
};

void TstMoney::fromDouble_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("units");
    QTest::newRow("grid point read back from a REAL column") << 1.5966 << qint64(15966);
    QTest::newRow("complement of a VAT amount") << 10.0 - 1.5966 << qint64(84034);
    QTest::newRow("sum with binary noise") << 0.1 + 0.2 << qint64(3000);
    QTest::newRow("large amount with binary noise") << 1234567.8901 << qint64(12345678901);
    QTest::newRow("smallest negative amount") << -0.0001 << qint64(-1);
    QTest::newRow("tie rounds down to even") << 0.00005 << qint64(0);
    QTest::newRow("tie rounds up to even") << 0.00015 << qint64(2);
    QTest::newRow("tie 0,00025 to even") << 0.00025 << qint64(2);
    QTest::newRow("negative tie to even") << -0.00015 << qint64(-2);
    QTest::newRow("tie above a whole amount") << 1000.00005 << qint64(10000000);
    QTest::newRow("beyond the tie rounds up") << 0.000051 << qint64(1);
    QTest::newRow("below the tie rounds down") << 0.000049 << qint64(0);
    QTest::newRow("a third") << 1.0 / 3.0 << qint64(3333);
}

void TstMoney::fromDouble()
{
    QFETCH(double, value);
    QFETCH(qint64, units);
    QCOMPARE(Money::fromDouble(value).units(), units);
}

void TstMoney::fromDoubleRejectsWhatHasNoAmount_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
    QTest::newRow("beyond the grid's range") << 1e16;
    QTest::newRow("far beyond the grid's range") << -1e300;
}

void TstMoney::fromDoubleRejectsWhatHasNoAmount()
{
    QFETCH(double, value);
    QVERIFY_THROWS_EXCEPTION(kb::ConversionError, Money::fromDouble(value));
}

void TstMoney::multiplyAndDivide_data()
{
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("quotient");
    QTest::newRow("whole numbers") << u"12"_s << u"3"_s << u"36"_s << u"4"_s;
    QTest::newRow("product tie down to even") << u"0,0001"_s << u"0,5"_s << u"0"_s << u"0,0002"_s;
    QTest::newRow("product tie up to even") << u"0,0003"_s << u"0,5"_s << u"0,0002"_s << u"0,0006"_s;
    QTest::newRow("quotient tie to even") << u"0,0003"_s << u"2"_s << u"0,0006"_s << u"0,0002"_s;
    QTest::newRow("negative quotient tie to even") << u"-0,0003"_s << u"2"_s << u"-0,0006"_s << u"-0,0002"_s;
    QTest::newRow("negative divisor") << u"1"_s << u"-3"_s << u"-3"_s << u"-0,3333"_s;
    QTest::newRow("two thirds round up") << u"2"_s << u"3"_s << u"6"_s << u"0,6667"_s;
    QTest::newRow("large amount keeps every unit") << u"123456789,1234"_s << u"1"_s
                                                   << u"123456789,1234"_s << u"123456789,1234"_s;
}

void TstMoney::multiplyAndDivide()
{
    QFETCH(QString, left);
    QFETCH(QString, right);
    QFETCH(QString, product);
    QFETCH(QString, quotient);
    QCOMPARE(text(money(left) * money(right)), product);
    QCOMPARE(text(money(left) / money(right)), quotient);
}

void TstMoney::divisionByZero()
{
    QVERIFY_THROWS_EXCEPTION(kb::ConversionError, Money::fromInteger(1) / Money());
}

void TstMoney::overflow()
{
    const Money huge = Money::fromInteger(900000000000000);
    QVERIFY_THROWS_EXCEPTION(kb::ConversionError, huge * Money::fromInteger(100));
    QVERIFY_THROWS_EXCEPTION(kb::ConversionError, huge / Money::fromDouble(0.01));
}

void TstMoney::vat_data()
{
    QTest::addColumn<QString>("gross");
    QTest::addColumn<double>("percent");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("net");
    QTest::newRow("19 % of 10,00 keeps four decimals") << u"10"_s << 19.0 << u"1,5966"_s << u"8,4034"_s;
    QTest::newRow("19 % of 119 is whole") << u"119"_s << 19.0 << u"19"_s << u"100"_s;
    QTest::newRow("7 % of 10,70") << u"10,7"_s << 7.0 << u"0,7"_s << u"10"_s;
    QTest::newRow("7 % of 1,00") << u"1"_s << 7.0 << u"0,0654"_s << u"0,9346"_s;
    QTest::newRow("negative gross keeps its sign") << u"-10"_s << 19.0 << u"-1,5966"_s << u"-8,4034"_s;
    QTest::newRow("no VAT") << u"25,5"_s << 0.0 << u"0"_s << u"25,5"_s;
    QTest::newRow("percent read back from REAL") << u"100"_s << 16.0 << u"13,7931"_s << u"86,2069"_s;
}

void TstMoney::vat()
{
    QFETCH(QString, gross);
    QFETCH(double, percent);
    QFETCH(QString, vat);
    QFETCH(QString, net);
    const Money tax = containedVat(money(gross), Money::fromDouble(percent));
    QCOMPARE(text(tax), vat);
    QCOMPARE(text(money(gross) - tax), net);
}

void TstMoney::toDoubleRoundTrip_data()
{
    QTest::addColumn<qint64>("units");
    QTest::newRow("VAT amount") << qint64(15966);
    QTest::newRow("smallest negative") << qint64(-1);
    QTest::newRow("ten thousand million with all decimals") << qint64(100000000009999);
}

void TstMoney::toDoubleRoundTrip()
{
    QFETCH(qint64, units);
    QCOMPARE(Money::fromDouble(Money::fromUnits(units).toDouble()).units(), units);
}

QTEST_MAIN(TstMoney)
#include "tst_money.moc"
