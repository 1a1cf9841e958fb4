#include "ReportFixture.h"

#include "CsvExport.h"
#include "CodePage1252.h"
#include "PdfExport.h"
#include "ReportPrintCommands.h"
#include "ReportSql.h"
#include "TextExport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

const Period March2007{QDate(2007, 3, 1), QDate(2007, 3, 31)};

QString print1(TDataForm &data)
{
    return data.FirmaTable.fieldByName(QStringLiteral("Print1")).asString();
}

} // namespace

class TstReportCommands : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ReportFixture> m_f;
    std::optional<Period> m_period;
    std::unique_ptr<ReportPrintCommands> m_commands;

    void runCommand(const QString &handler)
    {
        if (handler == QLatin1String("Kassenbuch1Click"))
            m_commands->Kassenbuch1Click();
        else if (handler == QLatin1String("Kontenbersicht1Click"))
            m_commands->Kontenbersicht1Click();
        else
            m_commands->Gruppenbersicht1Click();
    }

private slots:
    void init()
    {
        m_f = std::make_unique<ReportFixture>();
        m_period = March2007;
        m_commands = std::make_unique<ReportPrintCommands>(*m_f->data, m_f->ui, m_f->formats, m_f->printer,
                                                           [this] { return m_period; });
    }

    void cleanup()
    {
        QVERIFY(m_f->ui.allAnswersTaken());
        m_commands.reset();
        m_f.reset();
        QCOMPARE(ScriptedUiServices::takeLeftOverProblems(), QStringList());
    }

    void reportsExportAsTheirGoldenFiles_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::addColumn<QString>("golden");
        QTest::newRow("cash book") << u"Kassenbuch1Click"_s << u"Kassenbuch"_s;
        QTest::newRow("account overview") << u"Kontenbersicht1Click"_s << u"Konten"_s;
        QTest::newRow("group overview") << u"Gruppenbersicht1Click"_s << u"Gruppen"_s;
        QTest::newRow("cash count") << u""_s << u"BarKasse"_s;
    }

    void reportsExportAsTheirGoldenFiles()
    {
        QFETCH(QString, handler);
        QFETCH(QString, golden);
        m_f->expectPreview();
        if (handler.isEmpty()) {
            m_f->data->Query.close();
            m_f->data->Query.setSql({QStringLiteral("SELECT * FROM \"BKASSE.ADT\" WHERE ID=1")});
            m_f->data->Query.open();
            ReportRunner::show(*m_f->reports, QStringLiteral("frDBDataSet3"), QStringLiteral("BarKasse.frf"));
        } else {
            runCommand(handler);
        }
        QCOMPARE(m_f->errors, QStringList());
        QCOMPARE(m_f->previews, 1);
        QVERIFY(matchesGolden(golden + QStringLiteral(".txt"), CodePage1252::encode(report::TextExport::text(m_f->shown))));
        QVERIFY(matchesGolden(golden + QStringLiteral(".csv"),
                              CodePage1252::encode(report::CsvExport::lines(m_f->shown).join(QStringLiteral("\r\n")))));
    }

    void cashBookShowsOnlyThePeriodWhileOpenAndAllBookingsAfter()
    {
        int rowsDuringPreview = -1;
        m_f->onPreview = [&](QDialog &) { rowsDuringPreview = m_f->data->KasseTable.recordCount(); };
        m_f->expectPreview();
        m_commands->Kassenbuch1Click();
        QCOMPARE(rowsDuringPreview, 5);
        QCOMPARE(m_f->data->KasseTable.recordCount(), 6);
        QVERIFY(!m_f->data->KasseTable.isFiltered());
        QCOMPARE(m_f->data->KasseTable.filter(), QString());
        QCOMPARE(print1(*m_f->data), u"01.03.2007 bis 31.03.2007"_s);
        QVERIFY(m_f->data->FirmaTable.isEditing());
    }

    void cancelInThePeriodDialogChangesNothing_data()
    {
        QTest::addColumn<QString>("handler");
        QTest::newRow("cash book") << u"Kassenbuch1Click"_s;
        QTest::newRow("account overview") << u"Kontenbersicht1Click"_s;
        QTest::newRow("group overview") << u"Gruppenbersicht1Click"_s;
    }

    void cancelInThePeriodDialogChangesNothing()
    {
        QFETCH(QString, handler);
        m_period.reset();
        runCommand(handler);
        QCOMPARE(m_f->previews, 0);
        QVERIFY(!m_f->data->FirmaTable.isEditing());
        QCOMPARE(print1(*m_f->data), QString());
        QVERIFY(!m_f->data->KasseTable.isFiltered());
        QCOMPARE(m_f->data->KasseTable.recordCount(), 6);
    }

    void missingTemplateNamesThePathAndTheNextCommandWorks()
    {
        const QString path = m_f->templatePath(QStringLiteral("Kassenbuch.frf"));
        QVERIFY(QFile::remove(path));
        try {
            m_commands->Kassenbuch1Click();
            QFAIL("no error");
        } catch (const Error &e) {
            QCOMPARE(e.text(), u"Datei %1 kann nicht geöffnet werden"_s.arg(path));
        }
        QCOMPARE(m_f->previews, 0);
        QVERIFY(!m_f->data->KasseTable.isFiltered());
        QCOMPARE(m_f->data->KasseTable.recordCount(), 6);
        QCOMPARE(print1(*m_f->data), u"01.03.2007 bis 31.03.2007"_s);
        m_f->expectPreview();
        m_commands->Kontenbersicht1Click();
        QCOMPARE(m_f->previews, 1);
    }

    void unreadableTemplateShowsUnsupportedFormatAndNoPreview_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("zero bytes") << QByteArray();
        QTest::newRow("foreign content") << QByteArray("TfrReport\x01\x02 binary junk");
        QTest::newRow("another XML document") << QByteArray("<?xml version=\"1.0\"?><html><body/></html>");
        QTest::newRow("newer format version") << QByteArray("<reportTemplate formatVersion=\"2\"/>");
    }

    void unreadableTemplateShowsUnsupportedFormatAndNoPreview()
    {
        QFETCH(QByteArray, content);
        const QString path = testfiles::writeBytes(m_f->templatePath(QStringLiteral("Konten.frf")), content);
        m_f->expectErrorBox();
        m_commands->Kontenbersicht1Click();
        QCOMPARE(m_f->errors, QStringList{u"Unsupported FRF format"_s});
        QCOMPARE(m_f->ui.shown.first().caption, u"Error"_s);
        QCOMPARE(m_f->previews, 0);
        QCOMPARE(m_f->reports->frReport1.fileName(), path);
        QVERIFY(!m_f->reports->frReport1.hasPages());
    }

    void expressionThatCannotBeEvaluatedShowsTheEngineErrorAndNoPreview()
    {
        QFile file(m_f->templatePath(QStringLiteral("Kassenbuch.frf")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray broken = file.readAll().replace("[BelegNr]", "[Belegnummer]");
        file.close();
        testfiles::writeBytes(file.fileName(), broken);
        m_f->expectErrorBox();
        m_commands->Kassenbuch1Click();
        QCOMPARE(m_f->previews, 0);
        QCOMPARE(m_f->ui.shown.last().caption, u"Error"_s);
        QCOMPARE(m_f->errors, QStringList{u"The object \"Beleg\" in the detail band cannot be evaluated: "
                                          "\"[Belegnummer]\": unknown field \"Belegnummer\" in frDBDataSet1"_s});
        QVERIFY(!m_f->data->KasseTable.isFiltered());
    }

    void periodWithoutBookingsStillShowsTheReport()
    {
        m_period = Period{QDate(2006, 1, 1), QDate(2006, 1, 31)};
        m_f->expectPreview();
        m_commands->Kassenbuch1Click();
        QCOMPARE(m_f->previews, 1);
        const QString text = report::TextExport::text(m_f->shown);
        QVERIFY2(text.contains(u"Buchungen im Zeitraum: 0"_s), qPrintable(text));
        QVERIFY(text.contains(u"01.01.2006 bis 31.01.2006"_s));
    }

    void accountSqlHasTheFiveLinesWithPeriodAndCompany()
    {
        QCOMPARE(ReportSql::accounts(&March2007, 1),
                 (QStringList{u"SELECT * FROM \"KONTEN.ADT\", \"KASSE.ADT\""_s,
                              u"WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\""_s,
                              u"and Datum>='01.03.2007' and Datum<='31.03.2007'"_s,
                              u"and Firma_ID=1"_s,
                              u"ORDER BY \"KONTEN.ADT\".KontoName"_s}));
        QCOMPARE(ReportSql::groups(nullptr, 1).size(), 3);
    }

    void cashBookPdfHasItsPagesAndSearchableText()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        for (int i = 0; i < 120; ++i)
            ReportFixture::book(*m_f->data, QStringLiteral("M-%1").arg(i), QStringLiteral("20.03.2007"), QStringLiteral("1,1"),
                                Erloese19, QStringLiteral("Zeile %1").arg(i));
        m_f->expectPreview();
        m_commands->Kassenbuch1Click();
        QVERIFY(m_f->shown.pageCount() >= 3);
        QTemporaryDir dir;
        const QString pdf = qEnvironmentVariableIsSet("KB_KEEP_PDF") ? QStringLiteral("kassenbuch.pdf") : dir.filePath(QStringLiteral("kassenbuch.pdf"));
        report::PdfExport::write(m_f->shown, pdf);
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY(info.waitForFinished());
        const QString pages = QString::fromUtf8(info.readAllStandardOutput()).section(u"Pages:"_s, 1).section(u'\n', 0, 0).trimmed();
        QCOMPARE(pages, QString::number(m_f->shown.pageCount()));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString extracted = QString::fromUtf8(text.readAllStandardOutput());
        QVERIFY2(extracted.contains(u"Kassenbuch"_s), qPrintable(extracted.left(400)));
        QVERIFY(extracted.contains(u"Beispielfirma"_s));
        QVERIFY(extracted.contains(u"Seite 1 von %1"_s.arg(m_f->shown.pageCount())));
        QVERIFY(extracted.contains(u"Übertrag auf Seite 2"_s));
        QVERIFY(extracted.contains(u"Büromaterial; Ordner"_s));
    }
};

QTEST_MAIN(TstReportCommands)
#include "tst_reportcommands.moc"
