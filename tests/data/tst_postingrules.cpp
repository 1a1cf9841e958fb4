#include "UiCheck.h"
#include "Errors.h"
#include "LedgerFixture.h"
#include "ScriptedUiServices.h"

#include <QFile>
#include <QTest>

#include <sqlite3.h>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

class TstPostingRules : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void vatIsContainedInTheGross_data();
    void vatIsContainedInTheGross();
    void minusHundredPercentStoresNothing();
    void accountTakesOverPercentageAndFlag_data();
    void accountTakesOverPercentageAndFlag();
    void accountResolvesKeyAndName_data();
    void accountResolvesKeyAndName();
    void applyingTheAccountEditsOnlyWhatDiffers_data();
    void applyingTheAccountEditsOnlyWhatDiffers();
    void applyingTheVatEditsOnlyWhatDiffers_data();
    void applyingTheVatEditsOnlyWhatDiffers();
    void emptyAmountDiscardsANewBookingAndStillWalks();
    void emptyAmountRestoresAChangedBooking();
    void storingWithoutCompanyIsRefused();
    void failingBalanceQueryWritesTheStatementAndStoresNothing();
    void deletingACompanyAsksForItsBookings();
    void accountWithoutNameWarnsAndIsStored();
    void groupLinkCopiesTheAccountName_data();
    void groupLinkCopiesTheAccountName();

private:
    // The first stored booking's columns as the file holds them.
    QStringList stored(const QStringList &columns) const;
    Field &field(const QString &name) { return m_data->KasseTable.fieldByName(name); }

    std::unique_ptr<LedgerFixture> m_fixture;
    ScriptedUiServices m_ui;
    std::unique_ptr<TDataForm> m_data;
};

void TstPostingRules::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    // A name that begins like Kassendifferenz but sorts after it, on an earlier key.
    m_fixture->execute({u"UPDATE \"KONTEN\" SET \"Kontoname\" = 'Kassenzählung' WHERE \"KontoNr\" = 1"_s});
    m_ui = ScriptedUiServices();
    m_data = std::make_unique<TDataForm>(m_fixture->path(), m_ui);
}

void TstPostingRules::cleanup()
{
    m_data.reset();
    m_fixture.reset();
    kb::test::verifyNoUiProblems();
}

QStringList TstPostingRules::stored(const QStringList &columns) const
{
    QStringList quoted;
    for (const QString &column : columns)
        quoted.append(SchemaCatalogue::quoted(column));
    Statement row = m_data->database()->prepare(
        u"SELECT %1 FROM \"KASSE\" ORDER BY \"Nr\" LIMIT 1"_s.arg(quoted.join(u", "_s)));
    if (!row.step())
        return {};
    QStringList values;
    for (int i = 0; i < columns.size(); ++i)
        values.append(storedValue(row, i));
    return values;
}

void TstPostingRules::vatIsContainedInTheGross_data()
{
    QTest::addColumn<QString>("gross");
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("net");

    QTest::newRow("119 at 19 % is 19 of VAT") << u"119"_s << u"19"_s << u"19"_s << u"100"_s;
    QTest::newRow("10 at 19 % keeps four decimals") << u"10"_s << u"19"_s << u"1,5966"_s << u"8,4034"_s;
    QTest::newRow("no VAT at 0 %") << u"10"_s << u"0"_s << u"0"_s << u"10"_s;
    QTest::newRow("a negative gross keeps its sign") << u"-10"_s << u"19"_s << u"-1,5966"_s << u"-8,4034"_s;
    // Exactly 12,48865017…: rounding the product first gives 12,4886, the factor first 12,4933.
    QTest::newRow("rounded once, at the end") << u"105,8757"_s << u"13,373"_s << u"12,4887"_s << u"93,387"_s;
}

void TstPostingRules::vatIsContainedInTheGross()
{
    QFETCH(QString, gross);
    QFETCH(QString, percent);
    QFETCH(QString, vat);
    QFETCH(QString, net);

    m_data->KasseTable.append();
    field(u"Buchungsbetrag"_s).setAsString(gross);
    field(u"UMSTinProzent"_s).setAsString(percent);
    m_data->KasseTable.post();

    QCOMPARE(stored({u"UMSTinEURO"_s, u"Nettobuchungsbetrag"_s}), QStringList({vat, net}));
}

void TstPostingRules::minusHundredPercentStoresNothing()
{
    m_data->KasseTable.append();
    field(u"Buchungsbetrag"_s).setAsString(u"10"_s);
    field(u"UMSTinProzent"_s).setAsString(u"-100"_s);
    QVERIFY_THROWS_EXCEPTION(ConversionError, m_data->KasseTable.post());

    QCOMPARE(bookingCount(*m_data->database()), 0);
    QCOMPARE(m_data->KasseTable.state(), CursorState::Insert);
}

void TstPostingRules::accountTakesOverPercentageAndFlag_data()
{
    QTest::addColumn<int>("account");
    QTest::addColumn<QString>("typedPercent");
    QTest::addColumn<bool>("typedMinus");
    QTest::addColumn<QStringList>("storedValues");

    QTest::newRow("7 % account overrides a typed 19 %")
        << int(Erloese7) << u"19"_s << false << QStringList({u"7"_s, u"0"_s, u"7,1963"_s});
    QTest::newRow("minus flag follows the account")
        << int(Buerobedarf) << u"19"_s << false << QStringList({u"19"_s, u"1"_s, u"17,563"_s});
    QTest::newRow("adding account clears a typed minus flag")
        << int(Erloese19) << u"0"_s << true << QStringList({u"19"_s, u"0"_s, u"17,563"_s});
    QTest::newRow("unknown key keeps what was typed")
        << 999 << u"19"_s << true << QStringList({u"19"_s, u"1"_s, u"17,563"_s});
}

void TstPostingRules::accountTakesOverPercentageAndFlag()
{
    QFETCH(int, account);
    QFETCH(QString, typedPercent);
    QFETCH(bool, typedMinus);
    QFETCH(QStringList, storedValues);

    m_data->KasseTable.append();
    field(u"Buchungsbetrag"_s).setAsString(u"110"_s);
    field(u"KontoID"_s).setAsInteger(account);
    field(u"UMSTinProzent"_s).setAsString(typedPercent);
    field(u"Minuskonto"_s).setAsBoolean(typedMinus);
    m_data->KasseTable.post();

    QCOMPARE(stored({u"UMSTinProzent"_s, u"Minuskonto"_s, u"UMSTinEURO"_s}), storedValues);
}

void TstPostingRules::accountResolvesKeyAndName_data()
{
    QTest::addColumn<QVariant>("typedKey");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QStringList>("storedValues");
    QTest::addColumn<QStringList>("messages");

    QTest::newRow("a typed beginning finds the first account in name order")
        << QVariant() << u"kasse"_s << QStringList({u"10"_s, u"Kassendifferenz"_s}) << QStringList();
    QTest::newRow("an umlaut matches without regard to case")
        << QVariant() << u"BÜRO"_s << QStringList({u"4"_s, u"Bürobedarf"_s}) << QStringList();
    QTest::newRow("an unknown name is stored without key")
        << QVariant() << u"Kasino"_s << QStringList({u"-"_s, u"Kasino"_s})
        << QStringList({u"Das Konto Kasino konnte nicht gefunden werden.\n\n"
                        "Bitte legen Sie es neu an oder beachten Sie dessen Schreibweise."_s});
    QTest::newRow("a key restores its account's name")
        << QVariant(int(Porto)) << u"Briefe"_s << QStringList({u"5"_s, u"Porto"_s}) << QStringList();
    QTest::newRow("an unknown key keeps the name silently")
        << QVariant(999) << u"Briefe"_s << QStringList({u"999"_s, u"Briefe"_s}) << QStringList();
    QTest::newRow("no account at all") << QVariant() << QString() << QStringList({u"-"_s, u"-"_s}) << QStringList();
}

void TstPostingRules::accountResolvesKeyAndName()
{
    QFETCH(QVariant, typedKey);
    QFETCH(QString, typedName);
    QFETCH(QStringList, storedValues);
    QFETCH(QStringList, messages);

    m_data->KasseTable.append();
    field(u"Buchungsbetrag"_s).setAsString(u"10"_s);
    field(u"KontoID"_s).setAsVariant(typedKey);
    field(u"Kontoname"_s).setAsString(typedName);
    m_data->KasseTable.post();

    QCOMPARE(stored({u"KontoID"_s, u"Kontoname"_s}), storedValues);
    QCOMPARE(m_ui.texts(ScriptedUiServices::Kind::Message), messages);
}

void TstPostingRules::applyingTheAccountEditsOnlyWhatDiffers_data()
{
    QTest::addColumn<bool>("browsed");         // a stored booking of Erlöse 19 % instead of a new one
    QTest::addColumn<int>("account");
    QTest::addColumn<QString>("accountPercent"); // set on the account afterwards; empty: left as it is
    QTest::addColumn<QString>("percent");
    QTest::addColumn<bool>("minus");
    QTest::addColumn<CursorState>("state");

    QTest::newRow("new booking takes 7 %") << false << int(Erloese7) << QString() << u"7"_s << false << CursorState::Insert;
    QTest::newRow("new booking takes percentage and minus flag")
        << false << int(Buerobedarf) << QString() << u"19"_s << true << CursorState::Insert;
    QTest::newRow("unknown key keeps what was typed") << false << 999 << QString() << u"0"_s << false << CursorState::Insert;
    QTest::newRow("matching browsed booking stays browsed")
        << true << int(Erloese19) << QString() << u"19"_s << false << CursorState::Browse;
    QTest::newRow("browsed booking of a changed account goes into editing")
        << true << int(Erloese19) << u"16"_s << u"16"_s << false << CursorState::Edit;
}

void TstPostingRules::applyingTheAccountEditsOnlyWhatDiffers()
{
    QFETCH(bool, browsed);
    QFETCH(int, account);
    QFETCH(QString, accountPercent);
    QFETCH(QString, percent);
    QFETCH(bool, minus);
    QFETCH(CursorState, state);

    if (browsed) {
        book(*m_data, u"A"_s, u"01.03.2007"_s, u"110"_s, account);
    } else {
        m_data->KasseTable.append();
        field(u"KontoID"_s).setAsInteger(account);
        field(u"UMSTinProzent"_s).setAsString(u"0"_s);
    }
    if (!accountPercent.isEmpty()) {
        Table &konten = m_data->KontenTable;
        QVERIFY(konten.locate(u"KontoNr"_s, account));
        konten.edit();
        konten.fieldByName(u"KontoProzentSatz"_s).setAsString(accountPercent);
        konten.post();
    }

    m_data->ApplyAccountToBooking();

    QCOMPARE(m_data->KasseTable.state(), state);
    QCOMPARE(field(u"UMSTinProzent"_s).asString(), percent);
    QCOMPARE(field(u"Minuskonto"_s).asBoolean(), minus);
}

void TstPostingRules::applyingTheVatEditsOnlyWhatDiffers_data()
{
    QTest::addColumn<bool>("browsed"); // the stored booking instead of a new one
    QTest::addColumn<bool>("stale");   // its VAT overwritten in the file
    QTest::addColumn<CursorState>("state");

    QTest::newRow("new booking") << false << false << CursorState::Insert;
    QTest::newRow("matching browsed booking stays browsed") << true << false << CursorState::Browse;
    QTest::newRow("browsed booking with a wrong VAT goes into editing") << true << true << CursorState::Edit;
}

void TstPostingRules::applyingTheVatEditsOnlyWhatDiffers()
{
    QFETCH(bool, browsed);
    QFETCH(bool, stale);
    QFETCH(CursorState, state);

    if (browsed) {
        book(*m_data, u"A"_s, u"01.03.2007"_s, u"110"_s, Erloese19);
    } else {
        m_data->KasseTable.append();
        field(u"Buchungsbetrag"_s).setAsString(u"110"_s);
        field(u"UMSTinProzent"_s).setAsString(u"19"_s);
    }
    if (stale) {
        m_data->database()->execute(u"UPDATE \"KASSE\" SET \"UMSTinEURO\" = 0"_s);
        m_data->KasseTable.refresh();
        QCOMPARE(field(u"UMSTinEURO"_s).asString(), u"0"_s);
    }

    m_data->ApplyVatToBooking();

    QCOMPARE(m_data->KasseTable.state(), state);
    QCOMPARE(field(u"UMSTinEURO"_s).asString(), u"17,563"_s);
    QCOMPARE(field(u"Nettobuchungsbetrag"_s).asString(), u"92,437"_s);
}

void TstPostingRules::emptyAmountDiscardsANewBookingAndStillWalks()
{
    book(*m_data, u"A"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    const LastEntryValues before = m_data->LastEntry();
    m_data->database()->execute(u"UPDATE \"KASSE\" SET \"lfdNr\" = 9"_s);

    m_data->KasseTable.append();
    field(u"BelegNr"_s).setAsString(u"B"_s);
    field(u"Datum"_s).setAsString(u"02.03.2007"_s);
    m_data->KasseTable.post();

    QCOMPARE(m_data->KasseTable.state(), CursorState::Browse);
    QCOMPARE(journal(*m_data->database(), Beispielfirma), QStringList({u"A 1 100"_s}));
    QCOMPARE(m_data->LastEntry().BelegNr, before.BelegNr);
    QCOMPARE(m_data->LastEntry().Datum, before.Datum);
}

void TstPostingRules::emptyAmountRestoresAChangedBooking()
{
    book(*m_data, u"A"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    book(*m_data, u"B"_s, u"02.03.2007"_s, u"30"_s, Porto);
    QVERIFY(m_data->KasseTable.locate(u"BelegNr"_s, u"A"_s));

    m_data->KasseTable.edit();
    field(u"Text"_s).setAsString(u"geändert"_s);
    field(u"Buchungsbetrag"_s).clear();
    m_data->KasseTable.post();

    QCOMPARE(field(u"Buchungsbetrag"_s).asString(), u"100"_s);
    QCOMPARE(field(u"Text"_s).asString(), QString());
    QCOMPARE(stored({u"Buchungsbetrag"_s, u"Text"_s}), QStringList({u"100"_s, u"-"_s}));
    QCOMPARE(m_data->LastEntry().BelegNr, u"B"_s);
}

void TstPostingRules::storingWithoutCompanyIsRefused()
{
    m_data.reset();
    m_fixture->execute({u"DELETE FROM \"FIRMA\""_s});
    m_data = std::make_unique<TDataForm>(m_fixture->path(), m_ui);

    m_data->KasseTable.append();
    field(u"Buchungsbetrag"_s).setAsString(u"10"_s);
    try {
        m_data->KasseTable.post();
        QFAIL("a booking without company was stored");
    } catch (const Error &e) {
        QCOMPARE(e.text(), u"Die Buchung kann nicht gespeichert werden, weil keine Firma angelegt ist. "
                           "Bitte legen Sie zuerst eine Firma an."_s);
    }
    QCOMPARE(bookingCount(*m_data->database()), 0);
}

namespace {

// Refuses the second statement that calls sum(): the second balance query of a store.
int refuseSecondSum(void *seen, int action, const char *, const char *function, const char *, const char *)
{
    if (action == SQLITE_FUNCTION && qstrcmp(function, "sum") == 0 && ++*static_cast<int *>(seen) == 2)
        return SQLITE_DENY;
    return SQLITE_OK;
}

} // namespace

void TstPostingRules::failingBalanceQueryWritesTheStatementAndStoresNothing()
{
    book(*m_data, u"A"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    int sums = 0;
    sqlite3_set_authorizer(m_data->database()->handle(), &refuseSecondSum, &sums);

    m_data->KasseTable.append();
    field(u"Buchungsbetrag"_s).setAsString(u"10"_s);
    QVERIFY_THROWS_EXCEPTION(EngineError, m_data->KasseTable.post());
    sqlite3_set_authorizer(m_data->database()->handle(), nullptr, nullptr);

    QCOMPARE(m_ui.texts(ScriptedUiServices::Kind::Message), QStringList({u"Fehler beim Ermitteln der Buchungssumme."_s}));
    QFile sql(m_fixture->path() + u"/_sql.txt"_s);
    QVERIFY(sql.open(QIODevice::ReadOnly));
    QCOMPARE(sql.readAll(), QByteArray("Select sum(Buchungsbetrag) as buchgsum from \"Kasse.adt\" "
                                       "where Minuskonto<>True and Firma_ID=1\r\n"));
    QCOMPARE(bookingCount(*m_data->database()), 1);
    QCOMPARE(m_data->KasseTable.state(), CursorState::Insert);
}

void TstPostingRules::deletingACompanyAsksForItsBookings()
{
    book(*m_data, u"A"_s, u"01.03.2007"_s, u"100"_s, Anfangsbestand);
    book(*m_data, u"B"_s, u"02.03.2007"_s, u"30"_s, Porto);
    m_data->database()->execute(u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweitfirma')"_s);
    m_data->FirmaTable.refresh();
    QVERIFY(m_data->FirmaTable.locate(u"Firma"_s, u"Zweitfirma"_s));
    for (const QString &belegNr : {u"X"_s, u"Y"_s, u"Z"_s})
        book(*m_data, belegNr, u"05.03.2007"_s, u"1"_s, Anfangsbestand);
    const QStringList firstCompany = journal(*m_data->database(), Beispielfirma);
    const QString question = u"Es liegen 3 Buchung(en) für die zu löschende Firma vor.\n\nWollen Sie dennoch löschen?"_s;

    m_ui.confirmations = {false};
    QVERIFY_THROWS_EXCEPTION(Abort, m_data->FirmaTable.deleteRecord());
    QCOMPARE(m_ui.texts(ScriptedUiServices::Kind::Confirmation), QStringList({question}));
    QCOMPARE(m_data->FirmaTable.recordCount(), 2);
    QCOMPARE(bookingCount(*m_data->database()), 5);

    m_ui.confirmations = {true};
    m_data->FirmaTable.deleteRecord();
    QCOMPARE(m_data->FirmaTable.recordCount(), 1);
    QCOMPARE(m_data->FirmaTable.fieldByName(u"Firma"_s).asString(), u"Beispielfirma"_s);
    QCOMPARE(journal(*m_data->database(), 2), QStringList());
    QCOMPARE(journal(*m_data->database(), Beispielfirma), firstCompany);
    QCOMPARE(bookingCount(*m_data->database()), 2);
}

void TstPostingRules::accountWithoutNameWarnsAndIsStored()
{
    const int before = m_data->KontenTable.recordCount();
    m_data->KontenTable.append();
    QCOMPARE(m_data->KontenTable.fieldByName(u"Minuskonto"_s).asBoolean(), false);
    m_data->KontenTable.fieldByName(u"Konto"_s).setAsString(u"4980"_s);
    m_data->KontenTable.post();

    QCOMPARE(m_ui.texts(ScriptedUiServices::Kind::Message),
             QStringList({u"Geben Sie bitte unbedingt einen Kontonamen ein, bevor Sie den Datensatz speichern oder "
                          "löschen Sie diesen leeren Datensatz wieder."_s}));
    QCOMPARE(m_data->KontenTable.recordCount(), before + 1);
    Statement stored = m_data->database()->prepare(
        u"SELECT \"Kontoname\", \"Minuskonto\" FROM \"KONTEN\" WHERE \"Konto\" = '4980'"_s);
    QVERIFY(stored.step());
    QVERIFY(stored.isNull(0) || stored.text(0).isEmpty());
    QCOMPARE(stored.integer(1), 0);
}

void TstPostingRules::groupLinkCopiesTheAccountName_data()
{
    QTest::addColumn<int>("account");
    QTest::addColumn<QString>("typedName");
    QTest::addColumn<QString>("storedName");
    const QString seventy = QString(70, QLatin1Char('k'));
    QTest::newRow("existing account overwrites the typed name") << int(Porto) << u"falsch"_s << u"Porto"_s;
    QTest::newRow("a 70-character name is cut to 40") << 99 << u"x"_s << seventy.left(40);
    QTest::newRow("unknown account keeps the typed name") << 4711 << u"bleibt"_s << u"bleibt"_s;
}

void TstPostingRules::groupLinkCopiesTheAccountName()
{
    QFETCH(int, account);
    QFETCH(QString, typedName);
    QFETCH(QString, storedName);
    const QString seventy = QString(70, QLatin1Char('k'));
    m_data->database()->execute(u"INSERT INTO \"KONTEN\" (\"KontoNr\", \"Kontoname\") VALUES (99, '%1')"_s.arg(seventy));
    m_data->database()->execute(u"INSERT INTO \"GRUPPEN\" (\"Gruppe\") VALUES ('Ausgaben')"_s);
    m_data->KontenTable.refresh();
    m_data->GruppenTable.refresh();
    m_data->GruppenTable.first();

    m_data->GrpLinkTable.append();
    m_data->GrpLinkTable.fieldByName(u"KontoID"_s).setAsInteger(account);
    m_data->GrpLinkTable.fieldByName(u"Kontoname"_s).setAsString(typedName);
    m_data->GrpLinkTable.post();

    Statement link = m_data->database()->prepare(u"SELECT \"GruppenID\", \"Kontoname\" FROM \"GRPLINK\""_s);
    QVERIFY(link.step());
    QCOMPARE(link.integer(0), m_data->GruppenTable.fieldByName(u"GruppenNr"_s).asInteger());
    QCOMPARE(link.text(1), storedName);
}

QTEST_MAIN(TstPostingRules)
#include "tst_postingrules.moc"
