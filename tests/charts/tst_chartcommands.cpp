#include "ChartCommands.h"
#include "LedgerFixture.h"
#include "ScriptedUiServices.h"
#include "TDiagrammForm.h"
#include "UiCheck.h"

#include <QLineEdit>
#include <QPrinter>
#include <QToolButton>
#include <QTest>

using namespace Qt::StringLiterals;
using kb::ChartCommands;
using kb::ScriptedUiServices;
using kb::TDataForm;
using kb::TDiagrammForm;
using Totals = kb::ChartCommands::Totals;

class TstChartCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void periodWithoutBookingsSaysSoAndShowsNoWindow();
    void totalsBecomeSlices_data();
    void totalsBecomeSlices();
    void titleNamesThePeriod_data();
    void titleNamesThePeriod();
    void sqlOfBothCommands();

private:
    // The chart window's labels, values and title as the command showed them.
    struct Shown
    {
        QMap<QString, QString> totals;  // label → value cell
        int slices = -1;
        QString title;
        QString chartTitle;
        bool piePressed = false;
    };
    Shown run(Totals totals, const QDate &first, const QDate &last);

    std::unique_ptr<kb::test::LedgerFixture> m_fixture;
    std::unique_ptr<ScriptedUiServices> m_ui;
    QPrinter m_printer;
    std::unique_ptr<TDataForm> m_data;
};

void TstChartCommands::init()
{
    m_fixture = std::make_unique<kb::test::LedgerFixture>();
    m_fixture->execute({u"INSERT INTO \"GRUPPEN\" (\"Gruppe\") VALUES ('Einnahmen')"_s,
                        u"INSERT INTO \"GRUPPEN\" (\"Gruppe\") VALUES ('Alles')"_s,
                        // Erlöse 19 % in both groups, Porto only in "Alles".
                        u"INSERT INTO \"GRPLINK\" (\"GruppenID\", \"KontoID\") VALUES (1, 2)"_s,
                        u"INSERT INTO \"GRPLINK\" (\"GruppenID\", \"KontoID\") VALUES (2, 2)"_s,
                        u"INSERT INTO \"GRPLINK\" (\"GruppenID\", \"KontoID\") VALUES (2, 5)"_s});
    m_ui = std::make_unique<ScriptedUiServices>();
    m_data = std::make_unique<TDataForm>(m_fixture->path(), *m_ui);
}

void TstChartCommands::cleanup()
{
    m_data.reset();
    m_ui.reset();
    m_fixture.reset();
    kb::test::verifyNoUiProblems();
}

TstChartCommands::Shown TstChartCommands::run(Totals totals, const QDate &first, const QDate &last)
{
    Shown shown;
    m_ui->expectDialog(u"DiagrammForm"_s, [&shown](QDialog &dialog) {
        auto &form = dynamic_cast<TDiagrammForm &>(dialog);
        shown.slices = form.PSeries().count();
        for (int row = 1; row <= form.elementCount(); ++row) {
            shown.totals.insert(form.cell(0, row), form.cell(1, row));
            const kb::ChartPoint &point = form.PSeries().points()[row - 1];
            if (point.label != form.cell(0, row) || kb::TextForms::plainNumber(point.value) != form.cell(1, row))
                qWarning("chart point %d differs from its grid row", row);
        }
        shown.title = form.findChild<QLineEdit *>(u"EditTitle"_s)->text();
        shown.chartTitle = form.chart().title.join(u'|');
        shown.piePressed = form.findChild<QToolButton *>(u"ToolButton14"_s)->isChecked();
        return int(QDialog::Accepted);
    });
    ChartCommands::showTotals(*m_data, *m_ui, m_printer, nullptr, totals, first, last);
    return shown;
}

void TstChartCommands::periodWithoutBookingsSaysSoAndShowsNoWindow()
{
    kb::test::book(*m_data, u"1"_s, u"15.02.2007"_s, u"10"_s, kb::test::Erloese19);
    for (Totals totals : {Totals::Accounts, Totals::Groups}) {
        m_ui->shown.clear();
        // No dialog is queued: a chart window would fail the test.
        ChartCommands::showTotals(*m_data, *m_ui, m_printer, nullptr, totals, QDate(2007, 3, 1), QDate(2007, 3, 31));
        QCOMPARE(m_ui->shown.size(), 1);
        QCOMPARE(m_ui->shown.first().kind, ScriptedUiServices::Kind::Message);
        QCOMPARE(m_ui->shown.first().text, u"Es liegen keine Umsätze in diesem Zeitraum vor."_s);
    }
}

void TstChartCommands::totalsBecomeSlices_data()
{
    QTest::addColumn<int>("totals");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("last");
    QTest::addColumn<QStringList>("expected");  // "label=value", sorted
    const QDate march1(2007, 3, 1);
    const QDate march31(2007, 3, 31);
    QTest::newRow("eight accounts, the expense ones positive")
        << int(Totals::Accounts) << march1 << march31
        << QStringList{u"Anfangsbestand=100"_s, u"Bewirtungskosten=45,5"_s, u"Bürobedarf=12,34"_s,
                       u"Erlöse 19 % USt=80"_s, u"Erlöse 7 % USt=7"_s, u"Porto=1,45"_s,
                       u"Privateinlage=500"_s, u"Privatentnahme=20"_s};
    QTest::newRow("an account in two groups counts in both; accounts without group in none")
        << int(Totals::Groups) << march1 << march31 << QStringList{u"Alles=81,45"_s, u"Einnahmen=80"_s};
    QTest::newRow("a one-day period holds that day's bookings")
        << int(Totals::Accounts) << QDate(2007, 3, 15) << QDate(2007, 3, 15)
        << QStringList{u"Erlöse 19 % USt=50"_s, u"Porto=1,45"_s};
}

void TstChartCommands::totalsBecomeSlices()
{
    QFETCH(int, totals);
    QFETCH(QDate, first);
    QFETCH(QDate, last);
    QFETCH(QStringList, expected);
    using namespace kb::test;
    book(*m_data, u"1"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    book(*m_data, u"2"_s, u"15.03.2007"_s, u"50"_s, Erloese19);
    book(*m_data, u"3"_s, u"31.03.2007"_s, u"30"_s, Erloese19);
    book(*m_data, u"4"_s, u"02.03.2007"_s, u"7"_s, Erloese7);
    book(*m_data, u"5"_s, u"03.03.2007"_s, u"12,34"_s, Buerobedarf);
    book(*m_data, u"6"_s, u"15.03.2007"_s, u"1,45"_s, Porto);
    book(*m_data, u"7"_s, u"04.03.2007"_s, u"45,5"_s, 6);
    book(*m_data, u"8"_s, u"05.03.2007"_s, u"20"_s, 7);
    book(*m_data, u"9"_s, u"06.03.2007"_s, u"500"_s, 8);
    book(*m_data, u"10"_s, u"01.04.2007"_s, u"999"_s, Erloese19);  // outside the period

    const Shown shown = run(Totals(totals), first, last);
    QStringList actual;
    for (auto it = shown.totals.cbegin(); it != shown.totals.cend(); ++it)
        actual << it.key() + u'=' + it.value();
    QCOMPARE(actual, expected);
    QCOMPARE(shown.slices, expected.size());
    QVERIFY(shown.piePressed);
    QVERIFY(m_ui->texts(ScriptedUiServices::Kind::Error).isEmpty());
}

void TstChartCommands::titleNamesThePeriod_data()
{
    QTest::addColumn<int>("totals");
    QTest::addColumn<QString>("title");
    QTest::newRow("accounts") << int(Totals::Accounts) << u"Kontenübersicht vom 01.03.2007 bis zum 31.03.2007"_s;
    QTest::newRow("groups") << int(Totals::Groups) << u"Gruppenübersicht vom 01.03.2007 bis zum 31.03.2007"_s;
}

void TstChartCommands::titleNamesThePeriod()
{
    QFETCH(int, totals);
    QFETCH(QString, title);
    kb::test::book(*m_data, u"1"_s, u"10.03.2007"_s, u"10"_s, kb::test::Erloese19);
    const Shown shown = run(Totals(totals), QDate(2007, 3, 1), QDate(2007, 3, 31));
    QCOMPARE(shown.title, title);
    QCOMPARE(shown.chartTitle, title);
}

void TstChartCommands::sqlOfBothCommands()
{
    const QDate first(2007, 3, 1);
    const QDate last(2007, 3, 31);
    QCOMPARE(ChartCommands::totalsSql(Totals::Accounts, first, last, 3).join(u'\n'),
             u"SELECT \"KONTEN.ADT\".kontoname, sum(buchungsbetrag) as bsum FROM \"KONTEN.ADT\", \"KASSE.ADT\"\n"
             "WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\"\n"
             "and Datum>='01.03.2007' and Datum<='31.03.2007'\n"
             "and Firma_ID=3\n"
             "GROUP BY \"KONTEN.ADT\".KontoName"_s);
    QCOMPARE(ChartCommands::totalsSql(Totals::Groups, first, last, 3).join(u'\n'),
             u"SELECT gruppe, sum(buchungsbetrag) bsum FROM \"KONTEN.ADT\", \"GRPLINK.ADT\", \"GRUPPEN.ADT\", \"KASSE.ADT\"\n"
             "WHERE GruppenNR=GruppenID and \"GRPLINK.ADT\".\"KontoID\"=KontoNr and \"Kasse.adt\".\"KontoID\"=\"KontoNr\"\n"
             "and Datum>='01.03.2007' and Datum<='31.03.2007'\n"
             "and Firma_ID=3\n"
             "GROUP BY gruppe"_s);
}

QTEST_MAIN(TstChartCommands)
#include "tst_chartcommands.moc"
