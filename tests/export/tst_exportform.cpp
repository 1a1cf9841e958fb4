#include "BookingExport.h"
#include "Clock.h"
#include "ExportCommands.h"
#include "HelpViewer.h"
#include "LedgerFixture.h"
#include "LineView.h"
#include "ScriptedUiServices.h"
#include "ShortDateText.h"
#include "TExportForm.h"
#include "TestFiles.h"
#include "UiCheck.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

namespace {

const QString Header = u"Datum;BelegNr;Konto;Gegenkonto;Buchungsbetrag;UMSTinProzent;UMSTinEURO;"
                       "Nettobuchungsbetrag;Bestand/Saldo;Text"_s;

// Beispielfirma's March in the order of entry: an expense on 4650, an income on 8400, an opening
// balance entered last but dated first, a booking whose account is gone; around it bookings
// outside March and one of another company.
const QStringList Bookings = {
    u"INSERT INTO FIRMA (ID, Firma) VALUES (2, 'Zweite Firma')"_s,
    u"INSERT INTO KASSE (Firma_ID, Nr, Datum, BelegNr, Buchungsbetrag, UMSTinProzent, UMSTinEURO,"
    " Nettobuchungsbetrag, Zeilenbestand, Text, Kontoname, KontoID, Minuskonto) VALUES"
    " (1, 1, '2007-03-05', '17', 11.9, 19, 1.9, 10, 229.45, 'Kaffee \"Spezial\"', 'Bewirtungskosten', 6, 1),"
    " (1, 2, '2007-03-31', 'R-2', 100, 19, 15.9664, 84.0336, 324.45, 'Trinkgeld 5 €', 'Erlöse 19 % USt', 2, 0),"
    " (1, 3, '2007-03-01', '3', 242.35, 0, 0, 242.35, 241.35, 'Anfang', 'Anfangsbestand', 1, 0),"
    " (1, 4, '2007-03-10', '4', 5, 0, 0, 5, 224.45, 'weg', 'Gelöscht', 99, 1),"
    " (1, 5, '2007-04-01', '5', 1, 0, 0, 1, 323.45, 'April', 'Porto', 5, 1),"
    " (1, 6, '2007-02-28', '6', 1, 0, 0, 1, -1, 'Februar', 'Porto', 5, 1),"
    " (2, 7, '2007-03-15', '7', 1, 0, 0, 1, -1, 'fremd', 'Porto', 5, 1)"_s,
};

const QStringList March = {
    u"05.03.2007;17;4650;1000;11,9;19;1,9;10;229,45;\"Kaffee \"Spezial\"\""_s,
    u"31.03.2007;R-2;1000;8400;100;19;15,9664;84,0336;324,45;\"Trinkgeld 5 €\""_s,
    u"01.03.2007;3;1000;9000;242,35;0;0;242,35;241,35;\"Anfang\""_s,
};

void type(QDialog &dialog, const QStringList &texts)
{
    const QStringList names = {u"VonT"_s, u"VonM"_s, u"VonJ"_s, u"BisT"_s, u"BisM"_s, u"BisJ"_s};
    for (int i = 0; i < names.size(); ++i)
        dialog.findChild<QLineEdit *>(names[i])->setText(texts[i]);
}

void click(QDialog &dialog, const QString &name)
{
    QTest::mouseClick(dialog.findChild<QPushButton *>(name), Qt::LeftButton);
}

QString shownPreview(QDialog &dialog)
{
    return dialog.findChild<LineView *>(u"ExpList"_s)->text();
}

} // namespace

class TstExportForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shortDate_data();
    void shortDate();
    void statement();
    void opensWithTheCurrentMonth();
    void periods_data();
    void periods();
    void unreadablePeriodKeepsThePreview();
    void accountNotSeenByTheAccountCursor();
    void savesThePreviewAsLastBuilt();
    void cannotCreateFileKeepsTheDialogOpen();
    void charactersOutsideTheCodePage();
    void cancelledSaveDialogKeepsTheDialogOpen();

private:
    std::unique_ptr<TExportForm> form(const QDate &today);

    std::unique_ptr<LedgerFixture> m_fixture;
    std::unique_ptr<ScriptedUiServices> m_ui;
    std::unique_ptr<TDataForm> m_data;
    std::unique_ptr<HelpViewer> m_help;
    std::unique_ptr<FixedClock> m_clock;
};

void TstExportForm::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    m_fixture->execute(Bookings);
    m_ui = std::make_unique<ScriptedUiServices>();
    m_data = std::make_unique<TDataForm>(m_fixture->path(), *m_ui);
    QVERIFY(m_data->FirmaTable.locate(u"ID"_s, Beispielfirma));
    m_help = std::make_unique<HelpViewer>(m_fixture->path() + u"/kasse.hlp"_s);
}

void TstExportForm::cleanup()
{
    m_data.reset();
    m_ui.reset();
    m_fixture.reset();
    verifyNoUiProblems();
}

std::unique_ptr<TExportForm> TstExportForm::form(const QDate &today)
{
    m_clock = std::make_unique<FixedClock>(today);
    auto dialog = std::make_unique<TExportForm>(*m_data, *m_ui, *m_clock, *m_help);
    dialog->FormShow();
    return dialog;
}

void TstExportForm::shortDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");

    QTest::newRow("07 is 2007") << u"5.3.07"_s << QDate(2007, 3, 5);
    QTest::newRow("56 is 2056, the last year of the window") << u"5.3.56"_s << QDate(2056, 3, 5);
    QTest::newRow("57 is 1957, the first year of the window") << u"5.3.57"_s << QDate(1957, 3, 5);
    QTest::newRow("one digit") << u"5.3.7"_s << QDate(2007, 3, 5);
    QTest::newRow("three digits as written") << u"5.3.207"_s << QDate(207, 3, 5);
    QTest::newRow("four digits with leading zeros") << u"5.3.0007"_s << QDate(7, 3, 5);
    QTest::newRow("blanks around the numbers, a closing dot") << u" 05 . 03 . 2007 ."_s << QDate(2007, 3, 5);
    QTest::newRow("31 February") << u"31.2.2007"_s << QDate();
    QTest::newRow("empty day") << u".3.2007"_s << QDate();
    QTest::newRow("year 0") << u"1.1.0000"_s << QDate();
    QTest::newRow("five-digit year") << u"1.1.20070"_s << QDate();
    QTest::newRow("letters") << u"a.3.2007"_s << QDate();
}

void TstExportForm::shortDate()
{
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QCOMPARE(ShortDateText::read(text, QDate(2007, 3, 5)).value_or(QDate()), date);
}

void TstExportForm::statement()
{
    QCOMPARE(BookingExport::statement({QDate(2007, 3, 1), QDate(2007, 3, 31)}, 12),
             QStringList({u"SELECT * FROM \"KASSE.ADT\", \"KONTEN.ADT\""_s,
                          u"WHERE \"Kasse.adt\".\"KontoID\"=\"KontoNr\""_s,
                          u"      and Datum>='01.03.2007' and Datum<='31.03.2007'"_s,
                          u"      and Firma_ID=12"_s,
                          u"ORDER BY Nr"_s}));
}

// The command shows the dialog, whose show builds the current month; Abbrechen ends it.
void TstExportForm::opensWithTheCurrentMonth()
{
    FixedClock clock(QDate(2007, 3, 5));
    QString preview;
    QStringList columns;
    bool openAfterEscape = false;
    m_ui->expectDialog(u"ExportForm"_s, [&](QDialog &dialog) {
        dialog.show();
        preview = shownPreview(dialog);
        const auto *list = dialog.findChild<QListWidget *>(u"ListBox2"_s);
        for (int i = 0; i < list->count(); ++i)
            columns << list->item(i)->text();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        openAfterEscape = dialog.isVisible();
        click(dialog, u"BtnCancel"_s);
        return dialog.result();
    });
    ExportCommands::Buchungenexportieren1Click(*m_data, *m_ui, clock, *m_help, nullptr);
    QCOMPARE(preview, (QStringList{Header} + March).join(u'\n'));
    QCOMPARE(columns.join(u';'), Header);
    QVERIFY(openAfterEscape);
}

void TstExportForm::periods_data()
{
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("fields"); // typed before the button, when it is "Export-Vorschau"
    QTest::addColumn<bool>("withoutHeader");
    QTest::addColumn<QStringList>("preview");

    QTest::newRow("Voriger Monat: February only")
        << QDate(2007, 3, 20) << u"BtnLastMonth"_s << QStringList() << false
        << QStringList{Header, u"28.02.2007;6;4910;1000;1;0;0;1;-1;\"Februar\""_s};
    QTest::newRow("Voriges Jahr: nothing in 2006")
        << QDate(2007, 3, 20) << u"BtnPrevJahr"_s << QStringList() << false << QStringList{Header};
    QTest::newRow("no bookings and no header: empty")
        << QDate(2007, 3, 20) << u"BtnPrevJahr"_s << QStringList() << true << QStringList{};
    QTest::newRow("typed with two-digit years, header left out")
        << QDate(2007, 3, 20) << u"BtnPreview"_s << QStringList{u"1"_s, u"3"_s, u"07"_s, u"31"_s, u"03"_s, u"07"_s}
        << true << March;
    QTest::newRow("bounds included")
        << QDate(2007, 3, 20) << u"BtnPreview"_s << QStringList{u"5"_s, u"3"_s, u"2007"_s, u"31"_s, u"3"_s, u"2007"_s}
        << true << QStringList{March[0], March[1]};
}

// A quick button fills the fields and rebuilds the preview without closing the dialog.
void TstExportForm::periods()
{
    QFETCH(QDate, today);
    QFETCH(QString, button);
    QFETCH(QStringList, fields);
    QFETCH(bool, withoutHeader);
    QFETCH(QStringList, preview);
    auto dialog = form(today);
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    dialog->findChild<QCheckBox *>(u"CheckBox1"_s)->setChecked(withoutHeader);
    if (!fields.isEmpty())
        type(*dialog, fields);
    click(*dialog, button);
    QCOMPARE(dialog->previewLines(), preview);
    QCOMPARE(shownPreview(*dialog), preview.join(u'\n'));
    QCOMPARE(finished.count(), 0);
    QCOMPARE(m_ui->shown, QList<ScriptedUiServices::Shown>());
}

void TstExportForm::unreadablePeriodKeepsThePreview()
{
    auto dialog = form(QDate(2007, 3, 20));
    const QStringList before = dialog->previewLines();
    type(*dialog, {u"31"_s, u"2"_s, u"2007"_s, u"31"_s, u"3"_s, u"2007"_s});
    click(*dialog, u"BtnPreview"_s);
    QCOMPARE(m_ui->shown, (QList<ScriptedUiServices::Shown>{
                              {ScriptedUiServices::Kind::Message, UiServices::programTitle(),
                               u"Das Datum wurde falsch eingetragen."_s, {}}}));
    QCOMPARE(dialog->previewLines(), before);
    QCOMPARE(shownPreview(*dialog), before.join(u'\n'));
}

// The join saw the account, the account cursor does not: the export goes on with "< Fehler >".
void TstExportForm::accountNotSeenByTheAccountCursor()
{
    m_data->KontenTable.setFilter(u"Konto<>'4650'"_s);
    m_data->KontenTable.setFiltered(true);
    auto dialog = form(QDate(2007, 3, 20));
    QCOMPARE(dialog->previewLines().value(1), u"05.03.2007;17;< Fehler >;1000;11,9;19;1,9;10;229,45;\"Kaffee \"Spezial\"\""_s);
    QCOMPARE(dialog->previewLines().value(2).left(26), u"31.03.2007;R-2;1000;8400;1"_s);
    QCOMPARE(m_data->KontenTable.fieldByName(u"Konto"_s).asString(), u"9000"_s);
}

// Ticking the box after the preview changes nothing: the file is the preview, CR LF, code page
// 1252, the euro sign as byte 0x80.
void TstExportForm::savesThePreviewAsLastBuilt()
{
    auto dialog = form(QDate(2007, 3, 5));
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    dialog->findChild<QCheckBox *>(u"CheckBox1"_s)->setChecked(true);
    QTemporaryDir target;
    const QString path = target.filePath(u"März.csv"_s);
    m_ui->fileNames << path;
    click(*dialog, u"BtnOK"_s);

    QCOMPARE(m_ui->shown, (QList<ScriptedUiServices::Shown>{
                              {ScriptedUiServices::Kind::SaveFile, u"Daten exporieren"_s,
                               u"CSV-Dateien (*.csv *.txt);;alle Dateien (*)"_s, u"Export20070305.csv"_s}}));
    QCOMPARE(testfiles::readBytes(path),
             QByteArray("Datum;BelegNr;Konto;Gegenkonto;Buchungsbetrag;UMSTinProzent;UMSTinEURO;"
                        "Nettobuchungsbetrag;Bestand/Saldo;Text\r\n"
                        "05.03.2007;17;4650;1000;11,9;19;1,9;10;229,45;\"Kaffee \"Spezial\"\"\r\n"
                        "31.03.2007;R-2;1000;8400;100;19;15,9664;84,0336;324,45;\"Trinkgeld 5 \x80\"\r\n"
                        "01.03.2007;3;1000;9000;242,35;0;0;242,35;241,35;\"Anfang\"\r\n"));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
}

void TstExportForm::cannotCreateFileKeepsTheDialogOpen()
{
    auto dialog = form(QDate(2007, 3, 5));
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    QTemporaryDir target;
    const QString path = target.filePath(u"fehlt/Export.csv"_s);
    m_ui->fileNames << path;
    click(*dialog, u"BtnOK"_s);
    QCOMPARE(m_ui->takeErrors(), QStringList{u"Datei %1 kann nicht erstellt werden."_s.arg(path)});
    QCOMPARE(finished.count(), 0);
    QCOMPARE(dialog->previewLines().size(), 4);
}

void TstExportForm::charactersOutsideTheCodePage()
{
    m_data->KasseTable.locate(u"Nr"_s, 3);
    m_data->KasseTable.edit();
    m_data->KasseTable.fieldByName(u"Text"_s).setAsString(u"Anfang → Kasse Ω"_s);
    m_data->KasseTable.post();
    QTemporaryDir target;
    const QString path = target.filePath(u"Export.csv"_s);
    m_ui->fileNames << path;
    auto dialog = form(QDate(2007, 3, 5));
    click(*dialog, u"BtnOK"_s);
    QVERIFY(testfiles::readBytes(path).endsWith(";\"Anfang ? Kasse ?\"\r\n"));
    QCOMPARE(m_ui->texts(ScriptedUiServices::Kind::Information),
             QStringList{u"1 Buchung enthält Zeichen, die der Zeichensatz Windows-1252 nicht kennt; "
                         "sie stehen in der Datei als \"?\"."_s});
}

void TstExportForm::cancelledSaveDialogKeepsTheDialogOpen()
{
    auto dialog = form(QDate(2007, 3, 5));
    QSignalSpy finished(dialog.get(), &QDialog::finished);
    m_ui->fileNames << QString();
    click(*dialog, u"BtnOK"_s);
    QCOMPARE(finished.count(), 0);
}

QTEST_MAIN(TstExportForm)
#include "tst_exportform.moc"
