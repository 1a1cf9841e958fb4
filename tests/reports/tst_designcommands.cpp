#include "DesignCommands.h"
#include "Errors.h"
#include "FormatSettings.h"
#include "LedgerFixture.h"
#include "ReportComponents.h"
#include "ReportRunner.h"
#include "ScriptedUiServices.h"

#include <QFile>
#include <QPrinter>
#include <QTest>

using namespace kb;
using namespace kb::test;

// What the design commands hand to the designer: the main dataset, the loaded template, the data
// behind it and Print1. The designer is replaced by one that notes what it was opened on.
class TstDesignCommands : public QObject
{
    Q_OBJECT

private:
    struct Opened
    {
        QString mainDataset;
        QString fileName;
        QSet<qint64> companies;
        QSet<QString> dates;
        int rows = 0;
        QString print1;
        bool companyInEdit = false;
        bool kasseFiltered = false;
    };

    // Three bookings of the company and one of a second company; two account groups.
    struct Fixture
    {
        Fixture()
        {
            ledger.execute({
                QStringLiteral("INSERT INTO \"GRUPPEN\" (\"Gruppe\", \"Typ\") VALUES ('Erlöse', 'E'), ('Kosten', 'A')"),
                QStringLiteral("INSERT INTO \"GRPLINK\" (\"GruppenID\", \"KontoID\", \"Kontoname\", \"Typ\") VALUES "
                               "(1, 2, 'Erlöse 19 % USt', 'E'), (2, 5, 'Porto', 'A')"),
                QStringLiteral("INSERT INTO \"KASSE\" (\"Firma_ID\", \"lfdNr\", \"BelegNr\", \"Datum\", \"Buchungsbetrag\", \"KontoID\", \"Text\") "
                               "VALUES (2, 1, 'Z-001', '2006-11-20', 42, 2, 'Andere Firma')"),
            });
            data = std::make_unique<TDataForm>(ledger.path(), ui);
            book(*data, QStringLiteral("B-001"), QStringLiteral("01.03.2007"), QStringLiteral("500"), Anfangsbestand);
            book(*data, QStringLiteral("B-002"), QStringLiteral("02.03.2007"), QStringLiteral("119"), Erloese19);
            book(*data, QStringLiteral("B-003"), QStringLiteral("02.04.2007"), QStringLiteral("0,85"), Porto);
            reports = &ReportRunner::components(*data, ui, formats, printer);
        }
        QString templatePath(const QString &name) const { return reports->templatePath(name); }

        LedgerFixture ledger;
        ScriptedUiServices ui;
        FormatSettings formats;
        QPrinter printer;
        std::unique_ptr<TDataForm> data;
        ReportComponents *reports = nullptr;
    };

    std::unique_ptr<Fixture> m_f;
    std::unique_ptr<DesignCommands> m_commands;
    std::optional<Opened> m_opened;

    Opened snapshot(report::Report &report, Cursor &rows)
    {
        Opened o;
        o.mainDataset = report.mainDataset();
        o.fileName = report.fileName();
        for (rows.first(); !rows.eof(); rows.next()) {
            o.companies << rows.fieldByName(QStringLiteral("Firma_ID")).asInteger();
            o.dates << rows.fieldByName(QStringLiteral("Datum")).asString();
            ++o.rows;
        }
        o.print1 = m_f->data->FirmaTable.fieldByName(QStringLiteral("Print1")).asString();
        o.companyInEdit = m_f->data->FirmaTable.state() == CursorState::Edit;
        o.kasseFiltered = m_f->data->KasseTable.isFiltered();
        return o;
    }

private slots:
    void init()
    {
        m_f = std::make_unique<Fixture>();
        m_commands = std::make_unique<DesignCommands>(*m_f->data, m_f->ui, m_f->formats, m_f->printer);
        m_opened.reset();
        m_f->reports->frReport1.designer = [this](report::Report &report) {
            Cursor &rows = report.mainDataset() == QLatin1String("frDBDataSet1") ? static_cast<Cursor &>(m_f->data->KasseTable)
                                                                                  : static_cast<Cursor &>(m_f->data->Query);
            m_opened = snapshot(report, rows);
        };
    }

    void cleanup()
    {
        m_commands.reset();
        m_f.reset();
    }

    void overviewDesignsSeeAllCompaniesAndDates_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("templateFile");
        QTest::addColumn<int>("rows");
        // Four bookings; the group overview leaves out the opening balance, whose account is in no group.
        QTest::newRow("accounts") << QStringLiteral("Kontenbersicht2Click") << QStringLiteral("Konten.frf") << 4;
        QTest::newRow("groups") << QStringLiteral("Gruppenbersicht2Click") << QStringLiteral("Gruppen.frf") << 3;
    }

    void overviewDesignsSeeAllCompaniesAndDates()
    {
        QFETCH(QString, handler);
        QFETCH(QString, templateFile);
        QFETCH(int, rows);
        if (handler == QLatin1String("Kontenbersicht2Click"))
            m_commands->Kontenbersicht2Click();
        else
            m_commands->Gruppenbersicht2Click();
        QVERIFY(m_opened);
        QCOMPARE(m_opened->mainDataset, QStringLiteral("frDBDataSet3"));
        QCOMPARE(m_opened->fileName, m_f->templatePath(templateFile));
        QCOMPARE(m_opened->companies, (QSet<qint64>{1, 2}));
        QVERIFY(m_opened->dates.contains(QStringLiteral("02.04.2007")));
        QVERIFY(m_opened->dates.contains(QStringLiteral("20.11.2006")));
        QCOMPARE(m_opened->rows, rows);
        QCOMPARE(m_opened->print1, QStringLiteral("... bis ..."));
        QVERIFY(m_opened->companyInEdit);
    }

    void cashBookDesignSeesTheUnfilteredBookingsAndLeavesPrint1()
    {
        m_f->data->FirmaTable.edit();
        m_f->data->FirmaTable.fieldByName(QStringLiteral("Print1")).setAsString(QStringLiteral("01.03.2007 bis 31.03.2007"));
        m_f->data->FirmaTable.post();
        m_commands->Kassenbuch4Click();
        QVERIFY(m_opened);
        QCOMPARE(m_opened->mainDataset, QStringLiteral("frDBDataSet1"));
        QCOMPARE(m_opened->fileName, m_f->templatePath(QStringLiteral("Kassenbuch.frf")));
        QVERIFY(!m_opened->kasseFiltered);
        QCOMPARE(m_opened->companies, QSet<qint64>{1});
        QCOMPARE(m_opened->rows, 3);
        QCOMPARE(m_opened->print1, QStringLiteral("01.03.2007 bis 31.03.2007"));
        QVERIFY(!m_opened->companyInEdit);
    }

    void missingTemplateEndsTheCommand()
    {
        QFile::remove(m_f->templatePath(QStringLiteral("Gruppen.frf")));
        QVERIFY_THROWS_EXCEPTION(FileError, m_commands->Gruppenbersicht2Click());
        QVERIFY(!m_opened);
    }
};

QTEST_MAIN(TstDesignCommands)
#include "tst_designcommands.moc"
