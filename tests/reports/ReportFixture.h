#pragma once

#include "Errors.h"
#include "FormatSettings.h"
#include "LedgerFixture.h"
#include "ReportComponents.h"
#include "ReportRunner.h"
#include "ScriptedUiServices.h"
#include "TestFiles.h"

#include <QDialog>
#include <QFile>
#include <QMessageBox>
#include <QPrinter>
#include <QTest>

namespace kb::test {

// A program directory with a few bookings of March 2007 (and one of April), two account groups
// and one cash count; the preview is answered by closing it after handing over what it shows.
class ReportFixture
{
public:
    ReportFixture()
    {
        m_ledger.execute({
            QStringLiteral("UPDATE \"FIRMA\" SET \"Strasse\" = 'Marktplatz 3', \"PLZ\" = '12345', \"Ort\" = 'Musterstadt' WHERE \"ID\" = 1"),
            QStringLiteral("INSERT INTO \"GRUPPEN\" (\"Gruppe\", \"Typ\") VALUES ('Erlöse', 'E'), ('Kosten', 'A')"),
            QStringLiteral("INSERT INTO \"GRPLINK\" (\"GruppenID\", \"KontoID\", \"Kontoname\", \"Typ\") VALUES "
                           "(1, 2, 'Erlöse 19 % USt', 'E'), (1, 3, 'Erlöse 7 % USt', 'E'), (2, 4, 'Bürobedarf', 'A'), (2, 5, 'Porto', 'A')"),
            QStringLiteral("INSERT INTO \"BKASSE\" (\"Datum\", \"KassenName\", \"Bemerkung\", \"50_Euro\", \"10_Euro\", \"2_Euro\", \"20_Cent\", \"1_Cent\", \"Summe\") "
                           "VALUES ('2007-03-31', 'Hauptkasse', 'Monatsende', 12, 5, 3, 4, 7, 656.87)"),
        });
        data = std::make_unique<TDataForm>(m_ledger.path(), ui);
        book(*data, QStringLiteral("B-001"), QStringLiteral("01.03.2007"), QStringLiteral("500"), Anfangsbestand, QStringLiteral("Anfangsbestand"));
        book(*data, QStringLiteral("B-002"), QStringLiteral("02.03.2007"), QStringLiteral("119"), Erloese19, QStringLiteral("Tageseinnahmen"));
        book(*data, QStringLiteral("B-003"), QStringLiteral("05.03.2007"), QStringLiteral("23,8"), Buerobedarf,
             QStringLiteral("Büromaterial; Ordner und Papier für die Ablage des ganzen Jahres"));
        book(*data, QStringLiteral("B-004"), QStringLiteral("10.03.2007"), QStringLiteral("0,85"), Porto, QStringLiteral("Briefmarken"));
        book(*data, QStringLiteral("B-005"), QStringLiteral("15.03.2007"), QStringLiteral("53,5"), Erloese7, QStringLiteral("Tageseinnahmen"));
        book(*data, QStringLiteral("B-006"), QStringLiteral("02.04.2007"), QStringLiteral("100"), Erloese19, QStringLiteral("April"));
        reports = &ReportRunner::components(*data, ui, formats, printer);
        reports->frReport1.clock = [] { return QDateTime(QDate(2007, 4, 2), QTime(9, 30)); };
        reports->frReport1.printerAvailable = [] { return false; };
        reports->frReport1.showProgress = false;
    }

    QString path() const { return m_ledger.path(); }
    QString templatePath(const QString &name) const { return reports->templatePath(name); }

    static void book(TDataForm &data, const QString &beleg, const QString &datum, const QString &amount, int account, const QString &text)
    {
        data.KasseTable.append();
        data.KasseTable.fieldByName(QStringLiteral("BelegNr")).setAsString(beleg);
        data.KasseTable.fieldByName(QStringLiteral("Datum")).setAsString(datum);
        data.KasseTable.fieldByName(QStringLiteral("Buchungsbetrag")).setAsString(amount);
        data.KasseTable.fieldByName(QStringLiteral("KontoID")).setAsInteger(account);
        data.KasseTable.fieldByName(QStringLiteral("Text")).setAsString(text);
        data.KasseTable.post();
    }

    // Queues the user's part in the preview: look (onPreview), then close it.
    void expectPreview()
    {
        ui.expectDialog(QStringLiteral("PreviewWindow"), [this](QDialog &dialog) {
            onPreview(dialog);
            return int(QDialog::Rejected);
        });
    }

    // Queues the engine's error box; its text goes to errors.
    void expectErrorBox()
    {
        ui.expectDialog(QStringLiteral("QMessageBox"), [this](QDialog &dialog) {
            errors << static_cast<QMessageBox &>(dialog).text();
            return int(QMessageBox::Ok);
        });
    }

    // What the test does while the preview is open; by default it keeps the pages shown.
    std::function<void(QDialog &)> onPreview = [this](QDialog &) { shown = reports->frReport1.preparedReport(); ++previews; };

    LedgerFixture m_ledger;
    ScriptedUiServices ui;
    FormatSettings formats;
    QPrinter printer;
    std::unique_ptr<TDataForm> data;
    ReportComponents *reports = nullptr;
    report::PreparedReport shown;
    int previews = 0;
    QStringList errors;
};

// Compares text with the golden file of that name beside this test. A missing or different file
// fails the test; KB_UPDATE_GOLDEN=1 writes the actual text as the new reference.
inline bool matchesGolden(const QString &name, const QByteArray &actual)
{
    const QString path = QStringLiteral(KB_GOLDEN_DIR "/") + name;
    if (qEnvironmentVariableIsSet("KB_UPDATE_GOLDEN")) {
        testfiles::writeBytes(path, actual);
        return true;
    }
    const QByteArray expected = testfiles::readBytes(path);
    if (expected == actual)
        return true;
    testfiles::writeBytes(QStringLiteral("%1.actual").arg(name), actual);
    qWarning("%s differs from %s.actual (written in the test's working directory); "
             "regenerate with KB_UPDATE_GOLDEN=1 when the change is intended", qPrintable(path), qPrintable(name));
    return false;
}

} // namespace kb::test
