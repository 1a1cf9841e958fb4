#include "DbEdit.h"
#include "DbGrid.h"
#include "MasterDataFixture.h"
#include "TFirmaForm.h"
#include "TGruppeEditForm.h"
#include "TGruppeForm.h"
#include "TKontenForm.h"
#include "TTextForm.h"
#include "UiCheck.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QTest>

#include <memory>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

using Shown = ScriptedUiServices::Shown;
using Kind = ScriptedUiServices::Kind;

class TstMasterDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newRecordProposesTheDefaultName_data();
    void newRecordProposesTheDefaultName();
    void cancellingANewRecordLeavesTheTable_data();
    void cancellingANewRecordLeavesTheTable();
    void doubleClickEditsExactlyThatCompany();
    void aHalfTypedBookingLandsInItsOwnCompany();
    void deletingACompanyWithBookingsAsksTwice_data();
    void deletingACompanyWithBookingsAsksTwice();
    void editingAnEmptyTableStartsANewCompany();
    void aRefusedStoreKeepsTheDialogOpenWithTheChange();
    void entryFieldsTakeNoMoreThanTheirField_data();
    void entryFieldsTakeNoMoreThanTheirField();

    void deletingAUsedAccountIsRefused();
    void deletingAnUnusedAccountKeepsItsGroupLinks();

    void assigningAnAccountTwiceToOneGroup();
    void assignAndRemoveRefuseInTheirOrder_data();
    void assignAndRemoveRefuseInTheirOrder();
    void deletingAGroupRemovesExactlyItsLinks();
    void aLongAccountNameIsCutInTheLink();
    void closingTheGroupDialogByItsCloseBoxStoresTheName();

    void anUntouchedNewTextIsNotStored();
    void aTypedTextIsStoredWhenTheDialogCloses();
    void anUntouchedNewRowGoesWhenTheGridLosesTheFocus();
    void ctrlDeleteAsksBeforeDeletingAText_data();
    void ctrlDeleteAsksBeforeDeletingAText();
    void deletingFromAnEmptyTextTableIsRefused();

private:
    TDataForm &data() { return m_fixture->data(); }
    ScriptedUiServices &ui() { return m_fixture->ui; }
    std::unique_ptr<MasterListDialog> listDialog(const QString &kind);
    // Puts the group cursor on a stored group of that name with links to the accounts.
    void makeGroup(const QString &name, const QList<int> &accounts);

    std::unique_ptr<MasterDataFixture> m_fixture;
};

void TstMasterDialogs::init()
{
    m_fixture = std::make_unique<MasterDataFixture>();
}

void TstMasterDialogs::cleanup()
{
    m_fixture.reset();
    verifyNoUiProblems();
}

std::unique_ptr<MasterListDialog> TstMasterDialogs::listDialog(const QString &kind)
{
    MasterDialogServices &services = m_fixture->services;
    if (kind == u"companies"_s)
        return std::make_unique<TFirmaForm>(services, m_fixture->formats, data(), &m_fixture->window);
    if (kind == u"accounts"_s)
        return std::make_unique<TKontenForm>(services, m_fixture->formats, data(), &m_fixture->window);
    if (kind == u"groups"_s)
        return std::make_unique<TGruppeForm>(services, m_fixture->formats, data(), &m_fixture->window);
    return std::make_unique<TTextForm>(services, m_fixture->formats, data(), &m_fixture->window);
}

void TstMasterDialogs::makeGroup(const QString &name, const QList<int> &accounts)
{
    Table &groups = data().GruppenTable;
    groups.append();
    groups.fieldByName(u"Gruppe"_s).setAsString(name);
    groups.post();
    for (int account : accounts) {
        data().GrpLinkTable.append();
        data().GrpLinkTable.fieldByName(u"KontoID"_s).setAsInteger(account);
        data().GrpLinkTable.post();
    }
}

void TstMasterDialogs::newRecordProposesTheDefaultName_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<QString>("editDialog");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QString>("proposed");
    QTest::newRow("first company") << u"companies"_s << u"FIRMA"_s << u"Firma"_s << u"FirmaEditForm"_s << 0
                                   << u"Neue Firma 1"_s;
    QTest::newRow("three companies, the name taken already")
        << u"companies"_s << u"FIRMA"_s << u"Firma"_s << u"FirmaEditForm"_s << 3 << u"Neue Firma 4"_s;
    QTest::newRow("first account") << u"accounts"_s << u"KONTEN"_s << u"Kontoname"_s << u"KontenEditForm"_s << 0
                                   << u"Neues Konto 1"_s;
    QTest::newRow("five accounts") << u"accounts"_s << u"KONTEN"_s << u"Kontoname"_s << u"KontenEditForm"_s << 5
                                   << u"Neues Konto 6"_s;
    QTest::newRow("first group") << u"groups"_s << u"GRUPPEN"_s << u"Gruppe"_s << u"GruppeEditForm"_s << 0
                                 << u"Neue Gruppe 1"_s;
}

// Stored rows are named like the proposal of the last of them, so only the count can give the number.
void TstMasterDialogs::newRecordProposesTheDefaultName()
{
    QFETCH(QString, kind);
    QFETCH(QString, table);
    QFETCH(QString, nameField);
    QFETCH(QString, editDialog);
    QFETCH(int, stored);
    QFETCH(QString, proposed);
    QStringList statements{u"DELETE FROM \"%1\""_s.arg(table)};
    for (int i = 0; i < stored; ++i)
        statements << u"INSERT INTO \"%1\" (\"%2\") VALUES ('%3')"_s.arg(table, nameField, proposed);
    m_fixture->execute(statements);
    m_fixture->open();
    auto list = listDialog(kind);
    QString shownName;
    ui().expectDialog(editDialog, [&](QDialog &dialog) {
        shownName = dialog.findChild<DbEdit *>(u"DBEdit1"_s)->text();
        return click(dialog, u"Button3"_s);
    });
    click(*list, u"Button1"_s);
    QCOMPARE(shownName, proposed);
    QStringList expected(stored + 1, proposed);
    QCOMPARE(m_fixture->column(table, nameField), expected);
}

void TstMasterDialogs::cancellingANewRecordLeavesTheTable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("editDialog");
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("nameField");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("company, Abbrechen") << u"companies"_s << u"FirmaEditForm"_s << u"FIRMA"_s << u"Firma"_s << false;
    QTest::newRow("company, close box") << u"companies"_s << u"FirmaEditForm"_s << u"FIRMA"_s << u"Firma"_s << true;
    QTest::newRow("account, Abbrechen") << u"accounts"_s << u"KontenEditForm"_s << u"KONTEN"_s << u"Kontoname"_s << false;
    QTest::newRow("account, close box") << u"accounts"_s << u"KontenEditForm"_s << u"KONTEN"_s << u"Kontoname"_s << true;
}

void TstMasterDialogs::cancellingANewRecordLeavesTheTable()
{
    QFETCH(QString, kind);
    QFETCH(QString, editDialog);
    QFETCH(QString, table);
    QFETCH(QString, nameField);
    QFETCH(bool, closeBox);
    m_fixture->open();
    const QStringList before = m_fixture->column(table, nameField);
    auto list = listDialog(kind);
    const QString current = list->table().fieldByName(nameField).asString();
    ui().expectDialog(editDialog, [&](QDialog &dialog) {
        QTest::keyClicks(dialog.findChild<DbEdit *>(u"DBEdit1"_s), u" neu"_s);
        if (!closeBox)
            return click(dialog, u"Button1"_s);
        dialog.show();
        dialog.close();
        return dialog.result();
    });
    click(*list, u"Button1"_s);
    QCOMPARE(m_fixture->column(table, nameField), before);
    QCOMPARE(list->table().state(), CursorState::Browse);
    QCOMPARE(list->table().fieldByName(nameField).asString(), current);
}

void TstMasterDialogs::doubleClickEditsExactlyThatCompany()
{
    m_fixture->execute({u"INSERT INTO \"FIRMA\" (\"Firma\", \"Ort\") VALUES ('Anton', 'Aachen'), ('Zeppelin', 'Zwickau')"_s});
    m_fixture->open();
    auto list = listDialog(u"companies"_s);
    list->show();
    QVERIFY(QTest::qWaitForWindowExposed(list.get()));
    DbGrid &grid = list->grid();
    const QModelIndex zeppelin = grid.model()->index(2, 1);
    QCOMPARE(zeppelin.data().toString(), u"Zwickau"_s);
    QString edited;
    ui().expectDialog(u"FirmaEditForm"_s, [&](QDialog &dialog) {
        edited = dialog.findChild<DbEdit *>(u"DBEdit1"_s)->text() + u" / "_s
            + dialog.findChild<DbEdit *>(u"DBEdit4"_s)->text();
        return click(dialog, u"Button1"_s);
    });
    const QPoint cell = grid.visualRect(zeppelin).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(edited, u"Zeppelin / Zwickau"_s);
}

// Selecting another company moves the booking cursor's master; the booking being typed must be
// stored with the rules of its own company, not of the one selected.
void TstMasterDialogs::aHalfTypedBookingLandsInItsOwnCompany()
{
    m_fixture->execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweite')"_s,
                        u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", \"KontoID\", "
                        "\"lfdNr\", \"Zeilenbestand\") VALUES (1, '2007-03-01', 'A1', 10, 2, 1, 10), "
                        "(1, '2007-03-02', 'A2', 20, 2, 2, 30), (2, '2007-03-01', 'Z1', 5, 2, 1, 5)"_s});
    m_fixture->open();
    Table &bookings = data().KasseTable;
    bookings.append();
    bookings.fieldByName(u"Datum"_s).setAsString(u"05.03.2007"_s);
    bookings.fieldByName(u"BelegNr"_s).setAsString(u"A3"_s);
    bookings.fieldByName(u"Buchungsbetrag"_s).setAsString(u"7"_s);
    bookings.fieldByName(u"KontoID"_s).setAsInteger(2);
    auto list = listDialog(u"companies"_s);
    list->grid().setCurrentIndex(list->grid().model()->index(1, 0));
    QCOMPARE(data().FirmaTable.fieldByName(u"Firma"_s).asString(), u"Zweite"_s);
    const auto journal = [this](int company) {
        Statement rows = data().database()->prepare(
            u"SELECT \"BelegNr\" || ' ' || \"lfdNr\" || ' ' || \"Zeilenbestand\" FROM \"KASSE\" "
            "WHERE \"Firma_ID\" = %1 ORDER BY \"Datum\", \"Nr\""_s.arg(company));
        QStringList lines;
        while (rows.step())
            lines << rows.text(0);
        return lines;
    };
    QCOMPARE(journal(2), QStringList{u"Z1 1 5.0"_s});
    QEXPECT_FAIL("", "the record-set layer stores a pending booking only after its master has moved; the fix "
                     "that stores it before the move is not on this branch yet", Continue);
    QCOMPARE(journal(1), (QStringList{u"A1 1 10.0"_s, u"A2 2 30.0"_s, u"A3 3 37.0"_s}));
    QCOMPARE(ui().shown, QList<Shown>());
}

void TstMasterDialogs::deletingACompanyWithBookingsAsksTwice_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QStringList>("companiesAfter");
    QTest::addColumn<int>("bookingsAfter");
    QTest::newRow("no to the first keeps everything") << QList<bool>{false} << 1 << QStringList{u"Beispielfirma"_s, u"Zweite"_s} << 3;
    QTest::newRow("no to the bookings question keeps everything")
        << QList<bool>{true, false} << 2 << QStringList{u"Beispielfirma"_s, u"Zweite"_s} << 3;
    QTest::newRow("yes to both deletes company and its bookings")
        << QList<bool>{true, true} << 2 << QStringList{u"Zweite"_s} << 1;
}

void TstMasterDialogs::deletingACompanyWithBookingsAsksTwice()
{
    QFETCH(QList<bool>, answers);
    QFETCH(int, questions);
    QFETCH(QStringList, companiesAfter);
    QFETCH(int, bookingsAfter);
    m_fixture->execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweite')"_s,
                        u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"Buchungsbetrag\", \"KontoID\") VALUES "
                        "(1, '2007-03-01', 10, 2), (1, '2007-03-02', 20, 2), (2, '2007-03-01', 5, 2)"_s});
    m_fixture->open();
    auto list = listDialog(u"companies"_s);
    ui().confirmations = answers;
    click(*list, u"Button2"_s);
    const QStringList asked{u"Wollen Sie tatsächlich die Firma Beispielfirma löschen?"_s,
                            u"Es liegen 2 Buchung(en) für die zu löschende Firma vor.\n\nWollen Sie dennoch löschen?"_s};
    QCOMPARE(ui().texts(), asked.mid(0, questions));
    QCOMPARE(m_fixture->column(u"FIRMA"_s, u"Firma"_s), companiesAfter);
    QCOMPARE(m_fixture->count(u"KASSE"_s), bookingsAfter);
}

void TstMasterDialogs::editingAnEmptyTableStartsANewCompany()
{
    m_fixture->execute({u"DELETE FROM \"FIRMA\""_s});
    m_fixture->open();
    auto list = listDialog(u"companies"_s);
    ui().expectDialog(u"FirmaEditForm"_s, [&](QDialog &dialog) {
        auto *name = dialog.findChild<DbEdit *>(u"DBEdit1"_s);
        if (!name->text().isEmpty())
            return -1;
        QTest::keyClicks(name, u"Neu GmbH"_s);
        return click(dialog, u"Button3"_s);
    });
    click(*list, u"Button3"_s);
    QCOMPARE(m_fixture->column(u"FIRMA"_s, u"Firma"_s), QStringList{u"Neu GmbH"_s});
}

// The engine's refusal must leave neither a half-stored row nor a closed dialog behind.
void TstMasterDialogs::aRefusedStoreKeepsTheDialogOpenWithTheChange()
{
    m_fixture->execute({u"CREATE TRIGGER refuse BEFORE UPDATE ON \"FIRMA\" WHEN NEW.\"Ort\" = 'Nirgendwo' "
                        "BEGIN SELECT RAISE(ABORT, 'Ort abgelehnt'); END"_s});
    m_fixture->open();
    auto list = listDialog(u"companies"_s);
    QStringList states;
    ui().expectDialog(u"FirmaEditForm"_s, [&](QDialog &dialog) {
        QTest::keyClicks(dialog.findChild<DbEdit *>(u"DBEdit1"_s), u" AG"_s);
        QTest::keyClicks(dialog.findChild<DbEdit *>(u"DBEdit4"_s), u"Nirgendwo"_s);
        dialog.setResult(-1);
        click(dialog, u"Button3"_s);
        states << QString::number(dialog.result()) << QString::number(int(data().FirmaTable.state()))
               << data().FirmaTable.fieldByName(u"Firma"_s).asString();
        return click(dialog, u"Button1"_s);
    });
    click(*list, u"Button3"_s);
    QCOMPARE(states, (QStringList{u"-1"_s, QString::number(int(CursorState::Edit)), u"Beispielfirma AG"_s}));
    const QStringList errors = ui().takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.first().contains(u"Ort abgelehnt"_s));
    QCOMPARE(m_fixture->column(u"FIRMA"_s, u"Firma"_s), QStringList{u"Beispielfirma"_s});
    QCOMPARE(m_fixture->column(u"FIRMA"_s, u"Ort"_s), QStringList{u"-"_s});
    QCOMPARE(data().FirmaTable.state(), CursorState::Browse);
}

void TstMasterDialogs::entryFieldsTakeNoMoreThanTheirField_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("editDialog");
    QTest::addColumn<QString>("edit");
    QTest::addColumn<int>("width");
    QTest::newRow("company name") << u"companies"_s << u"FirmaEditForm"_s << u"DBEdit1"_s << 50;
    QTest::newRow("postcode") << u"companies"_s << u"FirmaEditForm"_s << u"DBEdit3"_s << 8;
    QTest::newRow("account number") << u"accounts"_s << u"KontenEditForm"_s << u"DBEdit2"_s << 10;
    QTest::newRow("account name") << u"accounts"_s << u"KontenEditForm"_s << u"DBEdit1"_s << 70;
    QTest::newRow("group type") << u"groups"_s << u"GruppeEditForm"_s << u"DBEdit2"_s << 15;
}

void TstMasterDialogs::entryFieldsTakeNoMoreThanTheirField()
{
    QFETCH(QString, kind);
    QFETCH(QString, editDialog);
    QFETCH(QString, edit);
    QFETCH(int, width);
    m_fixture->open();
    if (kind == u"groups"_s)
        makeGroup(u"Kosten"_s, {});
    auto list = listDialog(kind);
    QString typed;
    ui().expectDialog(editDialog, [&](QDialog &dialog) {
        auto *field = dialog.findChild<DbEdit *>(edit);
        field->clear();
        QTest::keyClicks(field, QString(width + 5, u'x'));
        typed = field->text();
        return click(dialog, u"Button3"_s);
    });
    click(*list, u"Button3"_s);
    QCOMPARE(typed, QString(width, u'x'));
}

void TstMasterDialogs::deletingAUsedAccountIsRefused()
{
    m_fixture->execute({u"INSERT INTO \"FIRMA\" (\"Firma\") VALUES ('Zweite')"_s,
                        u"INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"Buchungsbetrag\", \"KontoID\", \"Kontoname\") "
                        "VALUES (1, '2007-03-01', 10, 5, 'Porto'), (2, '2007-03-02', 20, 5, 'Porto')"_s});
    m_fixture->open();
    auto list = listDialog(u"accounts"_s);
    QVERIFY(data().KontenTable.locate(u"KontoNr"_s, 5));
    ui().confirmations = {true};
    click(*list, u"Button2"_s);
    QCOMPARE(ui().texts(), (QStringList{u"Wollen Sie tatsächlich das Konto Porto löschen?"_s,
                                        u"Das Konto Porto kann nicht gelöscht werden, weil es noch in 2 Buchung(en) "
                                        "verwendet wird."_s}));
    QCOMPARE(ui().shown.last().kind, Kind::Error);
    ui().takeErrors();
    QVERIFY(m_fixture->column(u"KONTEN"_s, u"Kontoname"_s).contains(u"Porto"_s));
    QCOMPARE(m_fixture->count(u"KASSE"_s), 2);
}

void TstMasterDialogs::deletingAnUnusedAccountKeepsItsGroupLinks()
{
    m_fixture->open();
    makeGroup(u"Kosten"_s, {5});
    const int accounts = m_fixture->count(u"KONTEN"_s);
    auto list = listDialog(u"accounts"_s);
    QVERIFY(data().KontenTable.locate(u"KontoNr"_s, 5));
    ui().confirmations = {true};
    click(*list, u"Button2"_s);
    QCOMPARE(m_fixture->count(u"KONTEN"_s), accounts - 1);
    QCOMPARE(m_fixture->column(u"GRPLINK"_s, u"Kontoname"_s), QStringList{u"Porto"_s});
}

void TstMasterDialogs::assigningAnAccountTwiceToOneGroup()
{
    m_fixture->open();
    makeGroup(u"Erste"_s, {});
    makeGroup(u"Zweite"_s, {});
    TGruppeEditForm dialog(m_fixture->services, m_fixture->formats, data(), &m_fixture->window);
    QVERIFY(data().KontenTable.locate(u"KontoNr"_s, 5));
    dialog.SpeedButton1Click();
    dialog.SpeedButton1Click();
    QCOMPARE(ui().texts(), QStringList{u"Dieses Konto ist bereits in der aktuellen Gruppe enthalten."_s});
    data().GruppenTable.first();
    QVERIFY(data().KontenTable.locate(u"KontoNr"_s, 5));
    dialog.SpeedButton1Click();
    QCOMPARE(ui().texts().size(), 1);
    QCOMPARE(m_fixture->column(u"GRPLINK"_s, u"GruppenID"_s), (QStringList{u"2"_s, u"1"_s}));
    QCOMPARE(m_fixture->column(u"GRPLINK"_s, u"KontoID"_s), (QStringList{u"5"_s, u"5"_s}));
}

void TstMasterDialogs::assignAndRemoveRefuseInTheirOrder_data()
{
    QTest::addColumn<bool>("group");
    QTest::addColumn<bool>("accounts");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("message");
    QTest::newRow("assign without group or accounts") << false << false << u"SpeedButton1"_s
                                                      << u"Sie müssen erst eine Gruppe anlegen."_s;
    QTest::newRow("assign without accounts") << true << false << u"SpeedButton1"_s
                                             << u"Sie müssen erst Konten anlegen, um diese zuordnen zu können."_s;
    QTest::newRow("remove without group") << false << true << u"SpeedButton2"_s << u"Sie müssen erst eine Gruppe anlegen."_s;
    QTest::newRow("remove from an empty group") << true << true << u"SpeedButton2"_s << u"Die Tabelle ist bereits leer."_s;
}

void TstMasterDialogs::assignAndRemoveRefuseInTheirOrder()
{
    QFETCH(bool, group);
    QFETCH(bool, accounts);
    QFETCH(QString, button);
    QFETCH(QString, message);
    if (!accounts)
        m_fixture->execute({u"DELETE FROM \"KONTEN\""_s});
    m_fixture->open();
    if (group)
        makeGroup(u"Leer"_s, {});
    TGruppeEditForm dialog(m_fixture->services, m_fixture->formats, data(), &m_fixture->window);
    click(dialog, button);
    QCOMPARE(ui().shown, (QList<Shown>{{Kind::Message, UiServices::programTitle(), message, {}}}));
    QCOMPARE(m_fixture->count(u"GRPLINK"_s), 0);
}

void TstMasterDialogs::deletingAGroupRemovesExactlyItsLinks()
{
    m_fixture->open();
    makeGroup(u"Bleibt"_s, {2, 4});
    makeGroup(u"Geht"_s, {2, 4, 5});
    makeGroup(u"Auch"_s, {5});
    QVERIFY(data().GruppenTable.locate(u"Gruppe"_s, u"Geht"_s));
    auto list = listDialog(u"groups"_s);
    ui().confirmations = {true};
    click(*list, u"Button2"_s);
    QCOMPARE(ui().texts(), QStringList{u"Wollen Sie tatsächlich die Gruppe Geht löschen?"_s});
    QCOMPARE(m_fixture->column(u"GRUPPEN"_s, u"Gruppe"_s), (QStringList{u"Bleibt"_s, u"Auch"_s}));
    QCOMPARE(m_fixture->column(u"GRPLINK"_s, u"GruppenID"_s), (QStringList{u"1"_s, u"1"_s, u"3"_s}));
    QCOMPARE(m_fixture->column(u"GRPLINK"_s, u"KontoID"_s), (QStringList{u"2"_s, u"4"_s, u"5"_s}));
}

void TstMasterDialogs::aLongAccountNameIsCutInTheLink()
{
    const QString name = u"Reisekosten Unternehmer Verpflegungsmehraufwand Inland"_s;
    QVERIFY(name.size() > 41);
    m_fixture->execute({u"UPDATE \"KONTEN\" SET \"Kontoname\" = '%1' WHERE \"KontoNr\" = 5"_s.arg(name)});
    m_fixture->open();
    makeGroup(u"Reisen"_s, {});
    TGruppeEditForm dialog(m_fixture->services, m_fixture->formats, data(), &m_fixture->window);
    QVERIFY(data().KontenTable.locate(u"KontoNr"_s, 5));
    click(dialog, u"SpeedButton1"_s);
    QCOMPARE(m_fixture->column(u"GRPLINK"_s, u"Kontoname"_s), QStringList{name.left(40)});
    QCOMPARE(dialog.linkGrid().model()->index(0, 0).data().toString(), name.left(40));
}

void TstMasterDialogs::closingTheGroupDialogByItsCloseBoxStoresTheName()
{
    m_fixture->open();
    auto list = listDialog(u"groups"_s);
    ui().expectDialog(u"GruppeEditForm"_s, [&](QDialog &dialog) {
        auto *name = dialog.findChild<DbEdit *>(u"DBEdit1"_s);
        name->clear();
        QTest::keyClicks(name, u"Buerokosten"_s);
        dialog.show();
        dialog.close();
        return dialog.isVisible() ? -1 : dialog.result();
    });
    click(*list, u"Button1"_s);
    QCOMPARE(m_fixture->column(u"GRUPPEN"_s, u"Gruppe"_s), QStringList{u"Buerokosten"_s});
}

void TstMasterDialogs::anUntouchedNewTextIsNotStored()
{
    m_fixture->open();
    const QStringList before = m_fixture->column(u"TEXTE"_s, u"Text"_s);
    auto list = listDialog(u"texts"_s);
    click(*list, u"Button1"_s);
    QCOMPARE(data().TexteTable.state(), CursorState::Insert);
    click(*list, u"Button1"_s);
    click(*list, u"Button4"_s);
    QCOMPARE(m_fixture->column(u"TEXTE"_s, u"Text"_s), before);
    QCOMPARE(data().TexteTable.state(), CursorState::Browse);
}

void TstMasterDialogs::aTypedTextIsStoredWhenTheDialogCloses()
{
    m_fixture->open();
    auto list = listDialog(u"texts"_s);
    list->show();
    QVERIFY(QTest::qWaitForWindowActive(list.get()));
    click(*list, u"Button1"_s);
    QTest::keyClicks(QApplication::focusWidget(), u"Aaa erster Text"_s);
    QCOMPARE(data().TexteTable.state(), CursorState::Insert);
    QTest::mouseClick(list->findChild<QAbstractButton *>(u"Button4"_s), Qt::LeftButton);
    QVERIFY(m_fixture->column(u"TEXTE"_s, u"Text"_s).contains(u"Aaa erster Text"_s));
    data().TexteTable.first();
    QCOMPARE(data().TexteTable.fieldByName(u"Text"_s).asString(), u"Aaa erster Text"_s);
}

void TstMasterDialogs::anUntouchedNewRowGoesWhenTheGridLosesTheFocus()
{
    m_fixture->open();
    const int texts = m_fixture->count(u"TEXTE"_s);
    auto list = listDialog(u"texts"_s);
    list->show();
    QVERIFY(QTest::qWaitForWindowActive(list.get()));
    click(*list, u"Button1"_s);
    QVERIFY(list->grid().isAncestorOf(QApplication::focusWidget()));
    QCOMPARE(data().TexteTable.state(), CursorState::Insert);
    list->findChild<QAbstractButton *>(u"Button4"_s)->setFocus(Qt::MouseFocusReason);
    QCOMPARE(data().TexteTable.state(), CursorState::Browse);
    QCOMPARE(data().TexteTable.recordCount(), texts);
}

void TstMasterDialogs::ctrlDeleteAsksBeforeDeletingAText_data()
{
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK deletes") << true;
    QTest::newRow("Abbrechen keeps") << false;
}

void TstMasterDialogs::ctrlDeleteAsksBeforeDeletingAText()
{
    QFETCH(bool, ok);
    m_fixture->open();
    const QStringList before = m_fixture->column(u"TEXTE"_s, u"Text"_s);
    data().TexteTable.first();
    const QString first = data().TexteTable.fieldByName(u"Text"_s).asString();
    auto list = listDialog(u"texts"_s);
    ui().confirmations = {ok};
    QTest::keyClick(&list->grid(), Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(ui().texts(), QStringList{u"Datensatz löschen?"_s});
    QStringList after = before;
    if (ok)
        after.removeOne(first);
    QCOMPARE(m_fixture->column(u"TEXTE"_s, u"Text"_s), after);
}

void TstMasterDialogs::deletingFromAnEmptyTextTableIsRefused()
{
    m_fixture->execute({u"DELETE FROM \"TEXTE\""_s});
    m_fixture->open();
    auto list = listDialog(u"texts"_s);
    click(*list, u"Button2"_s);
    QCOMPARE(ui().shown.size(), 1);
    QCOMPARE(ui().shown.first().kind, Kind::Error);
    QVERIFY2(ui().shown.first().text.endsWith(u"Operation bei leerer Datenmenge nicht ausführbar."_s),
             qPrintable(ui().shown.first().text));
    ui().takeErrors();
}

QTEST_MAIN(TstMasterDialogs)
#include "tst_masterdialogs.moc"
