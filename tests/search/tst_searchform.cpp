#include "LedgerFixture.h"
#include "ScriptedUiServices.h"
#include "SearchCommands.h"
#include "SearchStatement.h"
#include "TSearchForm.h"
#include "UiCheck.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace kb;
using namespace kb::test;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kb::SearchCriteria)

namespace {

// Beispielfirma's bookings in the order of entry (Nr 1 to 4) are not in date order; the other
// company holds a receipt 12 and an account name of its own.
const QStringList Bookings = {
    u"INSERT INTO FIRMA (ID, Firma) VALUES (2, 'Zweite Firma')"_s,
    u"INSERT INTO KASSE (Firma_ID, Nr, Datum, BelegNr, Buchungsbetrag, Kontoname, KontoID, Minuskonto, Text) VALUES"
    " (1, 1, '2007-03-15', '12', 100, 'Erlöse 19 % USt', 2, 0, 'Tageseinnahmen'),"
    " (1, 2, '2007-03-01', '112', 11.9, 'Bürobedarf', 4, 1, 'Ordner'),"
    " (1, 3, '2007-03-10', 'A12B', 5.5, 'Porto', 5, 1, 'Briefmarken'),"
    " (1, 4, '2007-03-20', '7', 40, 'Bewirtungskosten', 6, 1, 'Essen mit O''Brien'),"
    " (2, 5, '2007-03-15', '12', 20, 'Bürobedarf', 4, 1, 'fremd'),"
    " (2, 6, '2007-03-15', '99', 30, 'Geheimkonto', 5, 1, 'fremd')"_s,
};

QLineEdit *edit(QDialog &dialog, const QString &name)
{
    return dialog.findChild<QLineEdit *>(name);
}

QPushButton *button(QDialog &dialog, const QString &name)
{
    return dialog.findChild<QPushButton *>(name);
}

// The list as shown: "first column | second column", the selected row marked with "*".
QStringList hits(QDialog &dialog)
{
    const auto *list = dialog.findChild<QTreeWidget *>(u"LVContacts"_s);
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        rows << (item->isSelected() ? u"*"_s : QString()) + item->text(0) + u" | "_s + item->text(1);
    }
    return rows;
}

} // namespace

class TstSearchForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void statement_data();
    void statement();
    void search_data();
    void search();
    void unreadableDateShowsTheEngineMessage();
    void startFollowsTheFields();
    void clearDisablesBothButtons();
    void takingOverMovesTheJournal_data();
    void takingOverMovesTheJournal();

private:
    std::unique_ptr<LedgerFixture> m_fixture;
    std::unique_ptr<ScriptedUiServices> m_ui;
    std::unique_ptr<TDataForm> m_data;
};

void TstSearchForm::init()
{
    m_fixture = std::make_unique<LedgerFixture>();
    m_fixture->execute(Bookings);
    m_ui = std::make_unique<ScriptedUiServices>();
    m_data = std::make_unique<TDataForm>(m_fixture->path(), *m_ui);
    QVERIFY(m_data->FirmaTable.locate(u"ID"_s, Beispielfirma));
}

void TstSearchForm::cleanup()
{
    m_data.reset();
    m_ui.reset();
    m_fixture.reset();
    verifyNoUiProblems();
}

void TstSearchForm::statement_data()
{
    QTest::addColumn<SearchCriteria>("criteria");
    QTest::addColumn<QString>("condition");

    QTest::newRow("receipt only")
        << SearchCriteria{u"12"_s, {}, {}, {}} << u"Firma_ID=7 and BelegNr like '%12%'"_s;
    QTest::newRow("all four in the order receipt, account name, date, text")
        << SearchCriteria{u"1"_s, u"Porto"_s, u"01.03.2007"_s, u"Marke"_s}
        << u"Firma_ID=7 and BelegNr like '%1%' and Kontoname like '%Porto%' and DATUM='01.03.2007'"
           " and TEXT like '%Marke%'"_s;
    QTest::newRow("blanks are a criterion, pattern characters keep their meaning")
        << SearchCriteria{{}, u" "_s, {}, u"5_%"_s} << u"Firma_ID=7 and Kontoname like '% %' and TEXT like '%5_%%'"_s;
    QTest::newRow("apostrophes doubled in every criterion")
        << SearchCriteria{u"a'b"_s, u"'"_s, u"x'"_s, u"O'Brien"_s}
        << u"Firma_ID=7 and BelegNr like '%a''b%' and Kontoname like '%''%' and DATUM='x'''"
           " and TEXT like '%O''Brien%'"_s;
}

void TstSearchForm::statement()
{
    QFETCH(SearchCriteria, criteria);
    QFETCH(QString, condition);
    QCOMPARE(SearchStatement::lines(7, criteria),
             QStringList({u"SELECT Nr, BelegNr, Datum, Buchungsbetrag, Text, Kontoname FROM \"Kasse.adt\""_s,
                          u"WHERE"_s, condition, u"ORDER By Nr"_s}));
}

void TstSearchForm::search_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("hits");

    QTest::newRow("12 finds 12, 112 and A12B by booking number, not by date, own company only")
        << u"EditBeleg"_s << u"12"_s
        << QStringList{u"*12, 15.03.2007 | 1"_s, u"112, 01.03.2007 | 2"_s, u"A12B, 10.03.2007 | 3"_s};
    QTest::newRow("account name in capitals with an umlaut") << u"EditKontoname"_s << u"BÜRO"_s
                                                             << QStringList{u"*112, 01.03.2007 | 2"_s};
    QTest::newRow("date") << u"EditDatum"_s << u"10.3.2007"_s << QStringList{u"*A12B, 10.03.2007 | 3"_s};
    QTest::newRow("text with an apostrophe") << u"EditText"_s << u"o'brien"_s << QStringList{u"*7, 20.03.2007 | 4"_s};
    QTest::newRow("a crafted text lists nothing of another company")
        << u"EditBeleg"_s << u"x' or Firma_ID<>0 or '"_s << QStringList{};
    QTest::newRow("another company's account name") << u"EditKontoname"_s << u"Geheim"_s << QStringList{};
}

void TstSearchForm::search()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QStringList, hits);
    TSearchForm form(*m_data, *m_ui);
    QTest::keyClicks(edit(form, field), text);
    QTest::mouseClick(button(form, u"BtnStart"_s), Qt::LeftButton);
    QCOMPARE(::hits(form), hits);
    QCOMPARE(button(form, u"BtnOk"_s)->isEnabled(), !hits.isEmpty());
    QCOMPARE(m_ui->shown, QList<ScriptedUiServices::Shown>());
}

void TstSearchForm::unreadableDateShowsTheEngineMessage()
{
    TSearchForm form(*m_data, *m_ui);
    QTest::keyClicks(edit(form, u"EditBeleg"_s), u"12"_s);
    QTest::mouseClick(button(form, u"BtnStart"_s), Qt::LeftButton);
    QCOMPARE(::hits(form).size(), 3);

    QTest::keyClicks(edit(form, u"EditDatum"_s), u"31.02.2007"_s);
    QTest::mouseClick(button(form, u"BtnStart"_s), Qt::LeftButton);
    const QStringList errors = m_ui->takeErrors();
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors[0].startsWith(u"'31.02.2007' ist kein gültiges Datum"_s), qPrintable(errors[0]));
    QCOMPARE(::hits(form), QStringList());
    QVERIFY(!button(form, u"BtnOk"_s)->isEnabled());
}

void TstSearchForm::startFollowsTheFields()
{
    TSearchForm form(*m_data, *m_ui);
    QPushButton *start = button(form, u"BtnStart"_s);
    QVERIFY(start->isDefault());
    QVERIFY(!start->isEnabled());
    QVERIFY(!button(form, u"BtnOk"_s)->isEnabled());
    QVERIFY(button(form, u"BtnOk"_s)->font().bold());
    for (const QString &name : {u"EditBeleg"_s, u"EditKontoname"_s, u"EditDatum"_s, u"EditText"_s}) {
        QTest::keyClick(edit(form, name), Qt::Key_Space);
        QVERIFY2(start->isEnabled(), qPrintable(name));
        QTest::keyClick(edit(form, name), Qt::Key_Backspace);
        QVERIFY2(!start->isEnabled(), qPrintable(name));
    }
}

void TstSearchForm::clearDisablesBothButtons()
{
    TSearchForm form(*m_data, *m_ui);
    QTest::keyClicks(edit(form, u"EditText"_s), u"e"_s);
    QTest::keyClicks(edit(form, u"EditKontoname"_s), u"o"_s);
    QTest::mouseClick(button(form, u"BtnStart"_s), Qt::LeftButton);
    QVERIFY(button(form, u"BtnOk"_s)->isEnabled());

    QTest::mouseClick(button(form, u"BtnClear"_s), Qt::LeftButton);
    QVERIFY(!button(form, u"BtnOk"_s)->isEnabled());
    QVERIFY(!button(form, u"BtnStart"_s)->isEnabled());
    QCOMPARE(::hits(form), QStringList());
    QCOMPARE(edit(form, u"EditText"_s)->text(), QString());
    QCOMPARE(edit(form, u"EditKontoname"_s)->text(), QString());
}

void TstSearchForm::takingOverMovesTheJournal_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<qint64>("nr");

    QTest::newRow("Übernehmen takes the first hit") << u"BtnOk"_s << qint64(1);
    QTest::newRow("double-click on the third hit") << u"double-click"_s << qint64(3);
    QTest::newRow("Abbrechen leaves the journal") << u"BtnCancel"_s << qint64(4);
    QTest::newRow("Escape leaves the journal") << u"Escape"_s << qint64(4);
}

void TstSearchForm::takingOverMovesTheJournal()
{
    QFETCH(QString, how);
    QFETCH(qint64, nr);
    Table &journal = m_data->KasseTable;
    QVERIFY(journal.locate(u"Nr"_s, 4));
    m_ui->expectDialog(u"SearchForm"_s, [&](QDialog &dialog) {
        dialog.show();
        QTest::keyClicks(edit(dialog, u"EditBeleg"_s), u"12"_s);
        QTest::keyClick(edit(dialog, u"EditBeleg"_s), Qt::Key_Return);
        if (how == u"double-click"_s) {
            auto *list = dialog.findChild<QTreeWidget *>(u"LVContacts"_s);
            const QRect row = list->visualItemRect(list->topLevelItem(2));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        } else if (how == u"Escape"_s) {
            QTest::keyClick(&dialog, Qt::Key_Escape);
        } else {
            QTest::mouseClick(button(dialog, how), Qt::LeftButton);
        }
        return dialog.result();
    });
    SearchCommands::BtnSearchClick(*m_data, *m_ui, nullptr);
    QCOMPARE(journal.fieldByName(u"Nr"_s).asInteger(), nr);
}

QTEST_MAIN(TstSearchForm)
#include "tst_searchform.moc"
