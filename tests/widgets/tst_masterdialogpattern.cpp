#include "DbEdit.h"
#include "FormatSettings.h"
#include "HelpViewer.h"
#include "LedgerFixture.h"
#include "MasterEditDialog.h"
#include "MasterListDialog.h"
#include "Statement.h"
#include "UiCheck.h"

#include <QAbstractButton>
#include <QTest>

using namespace kb;
using kb::test::LedgerFixture;
using namespace Qt::StringLiterals;

namespace {

using Kind = ScriptedUiServices::Kind;

// An edit dialog as small as the pattern allows: the account's name.
class AccountEdit : public MasterEditDialog
{
public:
    AccountEdit(const MasterDialogServices &services, DataSource &source, Closing closing, QWidget *parent)
        : MasterEditDialog(services, source, closing, {u"AccountEdit"_s, u"Konto"_s, {400, 150}, {}, u"Konto"_s, {}, 16},
                           parent)
    {
        addRow({{u"Name"_s, u"Kontoname"_s, u"DBEdit1"_s, 0, {}}});
    }
};

// A list dialog stating only what differs, as every master-data list does.
class AccountList : public MasterListDialog
{
public:
    AccountList(const MasterDialogServices &services, const FormatSettings &formats, DataSource &source,
                const List &list, MasterEditDialog::Closing closing, QWidget *parent)
        : MasterListDialog(services, formats, source, {u"AccountList"_s, u"Konten"_s, {450, 330}, {}, u"Konten"_s, {}, 16},
                           list, parent),
          m_services(services), m_source(source), m_closing(closing)
    {
    }

protected:
    std::unique_ptr<QDialog> createEditDialog() override
    {
        return std::make_unique<AccountEdit>(m_services, m_source, m_closing, this);
    }

private:
    MasterDialogServices m_services;
    DataSource &m_source;
    MasterEditDialog::Closing m_closing;
};

MasterListDialog::List accountList(bool storeNewAtOnce)
{
    MasterListDialog::List list;
    list.columns = {{u"Kontoname"_s, {}, 150}};
    list.newCaption = u"Neu ..."_s;
    list.editCaption = u"Bearbeiten ..."_s;
    list.deleteCaption = u"Löschen ..."_s;
    list.nameField = u"Kontoname"_s;
    list.defaultNamePrefix = u"Konto Nr. "_s;
    list.deleteObject = u"das Konto "_s;
    list.pluralName = u"Konten"_s;
    list.storeNewAtOnce = storeNewAtOnce;
    return list;
}

void click(QWidget &dialog, const QString &button)
{
    dialog.findChild<QAbstractButton *>(button)->click();
}

} // namespace

class TstMasterDialogPattern : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void deleteRefusesOnAnEmptyTableAndAsksOtherwise_data();
    void deleteRefusesOnAnEmptyTableAndAsksOtherwise();
    void aNewRowStoredAtOnceExistsWhileItsDialogShows_data();
    void aNewRowStoredAtOnceExistsWhileItsDialogShows();
    void everyWayOfClosingStoresWhenTheDialogKeepsChanges_data();
    void everyWayOfClosingStoresWhenTheDialogKeepsChanges();

private:
    QStringList storedNames();
    std::unique_ptr<AccountList> list(bool storeNewAtOnce = false,
                                      MasterEditDialog::Closing closing = MasterEditDialog::Closing::SaveOrCancel);

    std::unique_ptr<LedgerFixture> m_fixture;
    std::unique_ptr<Table> m_accounts;
    std::unique_ptr<DataSource> m_source;
    FormatSettings m_formats;
    HelpViewer m_help{u"/nonexistent/kasse.hlp"_s};
};

void TstMasterDialogPattern::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    m_fixture->openSampleJournal();
    m_accounts = std::make_unique<Table>(&m_fixture->db());
    m_accounts->setTableName(u"Konten.adt"_s);
    m_accounts->setIndexName(u"KONTONAME"_s);
    m_accounts->open();
    m_source = std::make_unique<DataSource>(m_accounts.get());
}

void TstMasterDialogPattern::cleanup()
{
    m_source.reset();
    m_accounts.reset();
    m_fixture.reset();
    kb::test::verifyNoUiProblems();
}

QStringList TstMasterDialogPattern::storedNames()
{
    Statement rows = m_fixture->db().prepare(u"SELECT \"Kontoname\" FROM \"KONTEN\" ORDER BY rowid"_s);
    QStringList names;
    while (rows.step())
        names << rows.text(0);
    return names;
}

std::unique_ptr<AccountList> TstMasterDialogPattern::list(bool storeNewAtOnce, MasterEditDialog::Closing closing)
{
    return std::make_unique<AccountList>(MasterDialogServices{m_fixture->ui, m_help}, m_formats, *m_source,
                                         accountList(storeNewAtOnce), closing, &m_fixture->window());
}

void TstMasterDialogPattern::deleteRefusesOnAnEmptyTableAndAsksOtherwise_data()
{
    QTest::addColumn<bool>("empty");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("left");
    const QString question = u"Wollen Sie tatsächlich das Konto Anfangsbestand löschen?"_s;
    QTest::newRow("empty table") << true << QList<bool>{} << QStringList{u"Es sind noch keine Konten vorhanden."_s}
                                 << QStringList{};
    QTest::newRow("no keeps the row") << false << QList<bool>{false} << QStringList{question}
                                      << QStringList{u"Bürobedarf"_s, u"Anfangsbestand"_s, u"Porto"_s};
    QTest::newRow("yes deletes the current row") << false << QList<bool>{true} << QStringList{question}
                                                 << QStringList{u"Bürobedarf"_s, u"Porto"_s};
}

void TstMasterDialogPattern::deleteRefusesOnAnEmptyTableAndAsksOtherwise()
{
    QFETCH(bool, empty);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, left);
    if (empty) {
        m_fixture->db().execute(u"DELETE FROM \"KONTEN\""_s);
        m_accounts->refresh();
    }
    m_fixture->ui.confirmations = answers;
    auto dialog = list();
    click(*dialog, u"Button2"_s);
    QCOMPARE(m_fixture->ui.texts(), shown);
    QCOMPARE(storedNames(), left);
}

void TstMasterDialogPattern::aNewRowStoredAtOnceExistsWhileItsDialogShows_data()
{
    QTest::addColumn<bool>("storeNewAtOnce");
    QTest::addColumn<QStringList>("whileShown");
    const QStringList before{u"Bürobedarf"_s, u"Anfangsbestand"_s, u"Porto"_s};
    QTest::newRow("stored at once") << true << before + QStringList{u"Konto Nr. 4"_s};
    QTest::newRow("stored by the edit dialog") << false << before;
}

void TstMasterDialogPattern::aNewRowStoredAtOnceExistsWhileItsDialogShows()
{
    QFETCH(bool, storeNewAtOnce);
    QFETCH(QStringList, whileShown);
    QStringList stored;
    m_fixture->ui.expectDialog(u"AccountEdit"_s, [&](QDialog &dialog) {
        stored = storedNames();
        click(dialog, u"Button3"_s);
        return dialog.result();
    });
    auto dialog = list(storeNewAtOnce);
    click(*dialog, u"Button1"_s);
    QCOMPARE(stored, whileShown);
    QCOMPARE(storedNames().last(), u"Konto Nr. 4"_s);
}

void TstMasterDialogPattern::everyWayOfClosingStoresWhenTheDialogKeepsChanges_data()
{
    QTest::addColumn<int>("way");
    QTest::addColumn<bool>("keepsChanges");
    QTest::addColumn<QString>("stored");
    enum Way { CloseButton, Escape, CloseBox };
    QTest::newRow("keeping: Schließen") << int(CloseButton) << true << u"Anfangsbestand neu"_s;
    QTest::newRow("keeping: Esc") << int(Escape) << true << u"Anfangsbestand neu"_s;
    QTest::newRow("keeping: close box") << int(CloseBox) << true << u"Anfangsbestand neu"_s;
    QTest::newRow("save or cancel: Speichern und Schließen") << int(CloseButton) << false << u"Anfangsbestand neu"_s;
    QTest::newRow("save or cancel: Esc") << int(Escape) << false << u"Anfangsbestand"_s;
    QTest::newRow("save or cancel: close box") << int(CloseBox) << false << u"Anfangsbestand"_s;
}

void TstMasterDialogPattern::everyWayOfClosingStoresWhenTheDialogKeepsChanges()
{
    QFETCH(int, way);
    QFETCH(bool, keepsChanges);
    QFETCH(QString, stored);
    const auto closing = keepsChanges ? MasterEditDialog::Closing::StoreOnClose : MasterEditDialog::Closing::SaveOrCancel;
    m_fixture->ui.expectDialog(u"AccountEdit"_s, [&](QDialog &dialog) {
        dialog.show();
        auto *name = dialog.findChild<DbEdit *>(u"DBEdit1"_s);
        QTest::keyClick(name, Qt::Key_End);
        QTest::keyClicks(name, u" neu"_s);
        if (way == 0)
            click(dialog, u"Button3"_s);
        else if (way == 1)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            dialog.close();
        return dialog.isVisible() ? -1 : dialog.result();
    });
    auto dialog = list(false, closing);
    click(*dialog, u"Button3"_s);
    QCOMPARE(storedNames().at(1), stored);
    QCOMPARE(m_accounts->state(), CursorState::Browse);
}

QTEST_MAIN(TstMasterDialogPattern)
#include "tst_masterdialogpattern.moc"
