#include "HelpFile.h"
#include "HelpViewer.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QWindow>

using namespace kb;

namespace {

const QString builtHelpFile = QStringLiteral(KB_HELP_FILE);

// A small help file whose keywords exercise every rule of the keyword search.
const QByteArray fixture = R"(<?xml version="1.0" encoding="UTF-8"?>
<help contents="1">
  <topic id="1" title="Inhalt">
    <keyword>Übersicht</keyword>
    <body><![CDATA[<p><a href="topic:2">Konten</a></p>]]></body>
  </topic>
  <book title="Stammdaten">
    <topic id="2" title="Konten">
      <keyword>Konto</keyword>
      <keyword>Konto anlegen</keyword>
      <keyword>Minuskonto</keyword>
      <keyword>Zahl</keyword>
      <body><![CDATA[<p>Konten</p>]]></body>
    </topic>
    <topic id="3" title="Kontakt">
      <keyword>Kontakt</keyword>
      <keyword>apfel</keyword>
      <body><![CDATA[<p>Kontakt</p>]]></body>
    </topic>
  </book>
  <topic id="4" title="Eingabe">
    <keyword>Kontoname</keyword>
    <keyword>minuskonto</keyword>
    <keyword>Ärger</keyword>
    <body><![CDATA[<p>Eingabe</p>]]></body>
  </topic>
</help>
)";

QString writeHelpFile(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("kasse.hlp"));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QTextBrowser *browserOf(const HelpViewer &viewer)
{
    return viewer.window()->findChild<QTextBrowser *>(QStringLiteral("helpBrowser"));
}

// Clicks the first link of the page on display that leads to href. The click goes through the
// window system, so a window blocked by a modal dialog does not receive it.
void clickLink(QTextBrowser *browser, const QString &href)
{
    for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
            if (fragment.fragment().charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(browser->document());
            cursor.setPosition(fragment.fragment().position() + 1);
            QWidget *window = browser->window();
            const QPoint point = browser->viewport()->mapTo(window, browser->cursorRect(cursor).center());
            QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, point);
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no link to %1 on the page").arg(href)));
}

} // namespace

class TstHelpViewer : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void contextNumbersOpenTheirTopics_data();
    void contextNumbersOpenTheirTopics();
    void unknownContextNumberShowsTheContents();
    void keywordSearchInTheBuiltFile_data();
    void keywordSearchInTheBuiltFile();
    void keywordSearchUsesTheFirst255Characters();
    void bestTopic_data();
    void bestTopic();
    void indexIsInGermanOrderAndMergesCase();
    void linksLeadToTheirTopicsAndBack();
    void helpAskedForInAModalDialogCanBeUsed();
    void unusableHelpFileDoesNothing_data();
    void unusableHelpFileDoesNothing();
    void closeHidesTheWindow();
};

void TstHelpViewer::cleanup()
{
    QCOMPARE(QApplication::topLevelWidgets().size(), 0);
}

void TstHelpViewer::contextNumbersOpenTheirTopics_data()
{
    QTest::addColumn<int>("contextNumber");
    QTest::addColumn<QString>("title");
    QTest::newRow("export") << 11 << QStringLiteral("Buchungen exportieren");
    QTest::newRow("accounts") << 16 << QStringLiteral("Konten");
    QTest::newRow("account groups") << 17 << QStringLiteral("Konten-Gruppen");
    QTest::newRow("standard texts") << 18 << QStringLiteral("Textvorgaben");
    QTest::newRow("companies") << 19 << QStringLiteral("Firmen");
    QTest::newRow("cash count") << 20 << QStringLiteral("Kasse auszählen");
    QTest::newRow("contact") << 21 << QStringLiteral("Kontakt");
}

void TstHelpViewer::contextNumbersOpenTheirTopics()
{
    QFETCH(int, contextNumber);
    QFETCH(QString, title);
    const std::optional<HelpFile> file = HelpFile::read(builtHelpFile);
    QVERIFY2(file.has_value(), qPrintable(builtHelpFile));
    const HelpTopic *topic = file->topic(contextNumber);
    QVERIFY(topic);
    QCOMPARE(topic->title, title);
    QVERIFY(!topic->html.trimmed().isEmpty());

    HelpViewer viewer(builtHelpFile);
    viewer.showTopic(contextNumber);
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.currentTopic(), contextNumber);
    QVERIFY(browserOf(viewer)->toPlainText().startsWith(title));
}

void TstHelpViewer::unknownContextNumberShowsTheContents()
{
    HelpViewer viewer(builtHelpFile);
    viewer.showTopic(9999);
    QCOMPARE(viewer.currentTopic(), HelpFile::read(builtHelpFile)->contentsTopic());
}

void TstHelpViewer::keywordSearchInTheBuiltFile_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("topic");   // 0: the user must choose in the index
    QTest::addColumn<bool>("listed");
    QTest::newRow("keyword of one topic") << QStringLiteral("Kassenzählung") << 20 << true;
    QTest::newRow("other case, blanks around") << QStringLiteral("  kontakt ") << 21 << true;
    QTest::newRow("beginning of a keyword") << QStringLiteral("Export-Vor") << 11 << true;
    QTest::newRow("keyword of several topics") << QStringLiteral("Minuskonto") << 0 << true;
    QTest::newRow("no keyword") << QStringLiteral("Xylophon") << 0 << false;
}

void TstHelpViewer::keywordSearchInTheBuiltFile()
{
    QFETCH(QString, word);
    QFETCH(int, topic);
    QFETCH(bool, listed);
    HelpViewer viewer(builtHelpFile);
    viewer.searchKeyword(word);
    QVERIFY(viewer.isVisible());
    const int shown = topic ? topic : HelpFile::read(builtHelpFile)->contentsTopic();
    QCOMPARE(viewer.currentTopic(), shown);

    QWidget *window = viewer.window();
    QCOMPARE(window->findChild<QTabWidget *>(QStringLiteral("helpTabs"))->currentIndex(), 1);
    QCOMPARE(window->findChild<QLineEdit *>(QStringLiteral("helpIndexFilter"))->text(), word.trimmed());
    const QTreeWidget *index = window->findChild<QTreeWidget *>(QStringLiteral("helpIndex"));
    QStringList shownKeywords;
    for (int row = 0; row < index->topLevelItemCount(); ++row) {
        if (!index->topLevelItem(row)->isHidden())
            shownKeywords << index->topLevelItem(row)->text(0);
    }
    for (const QString &keyword : shownKeywords)
        QVERIFY2(keyword.contains(word.trimmed(), Qt::CaseInsensitive), qPrintable(keyword));
    QCOMPARE(!shownKeywords.isEmpty(), listed);
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("helpNoMatch"))->isHidden(), listed);
}

void TstHelpViewer::keywordSearchUsesTheFirst255Characters()
{
    const QString word = QStringLiteral("Kontakt").leftJustified(255) + QStringLiteral("Rest");
    HelpViewer viewer(builtHelpFile);
    viewer.searchKeyword(word);
    QCOMPARE(viewer.currentTopic(), 21);
}

void TstHelpViewer::bestTopic_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("topic");
    QTest::newRow("equal keyword beats longer ones") << QStringLiteral("Konto") << 2;
    QTest::newRow("case and umlaut case ignored") << QStringLiteral("ÜBERSICHT") << 1;
    QTest::newRow("beginnings all of one topic") << QStringLiteral("Konto a") << 2;
    QTest::newRow("beginnings of two topics") << QStringLiteral("Kont") << 0;
    QTest::newRow("keyword of two topics") << QStringLiteral("minusKONTO") << 0;
    QTest::newRow("blank word") << QStringLiteral("   ") << 0;
    QTest::newRow("unknown word") << QStringLiteral("Xylophon") << 0;
}

void TstHelpViewer::bestTopic()
{
    QFETCH(QString, word);
    QFETCH(int, topic);
    QCOMPARE(HelpFile::parse(fixture)->bestTopicFor(word), topic);
}

void TstHelpViewer::indexIsInGermanOrderAndMergesCase()
{
    const std::optional<HelpFile> file = HelpFile::parse(fixture);
    QStringList keywords;
    for (const HelpIndexEntry &entry : file->index())
        keywords << entry.keyword;
    const QStringList germanOrder = QStringLiteral(
        "apfel|Ärger|Kontakt|Konto|Konto anlegen|Kontoname|Minuskonto|Übersicht|Zahl").split(u'|');
    QCOMPARE(keywords, germanOrder);
    const HelpIndexEntry &minus = file->index().at(6);
    QCOMPARE(minus.topics, QList<int>({2, 4}));
}

void TstHelpViewer::linksLeadToTheirTopicsAndBack()
{
    QTemporaryDir dir;
    HelpViewer viewer(writeHelpFile(dir, fixture));
    viewer.showContents();
    QVERIFY(QTest::qWaitForWindowExposed(viewer.window()));
    QTextBrowser *browser = browserOf(viewer);
    clickLink(browser, QStringLiteral("topic:2"));
    QCOMPARE(viewer.currentTopic(), 2);
    const QTreeWidget *contents = viewer.window()->findChild<QTreeWidget *>(QStringLiteral("helpContents"));
    QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Konten"));

    browser->backward();
    QCOMPARE(viewer.currentTopic(), 1);
}

void TstHelpViewer::helpAskedForInAModalDialogCanBeUsed()
{
    QTemporaryDir dir;
    HelpViewer viewer(writeHelpFile(dir, fixture));
    QDialog dialog;
    int shownAfterClick = 0;
    QTimer::singleShot(0, &dialog, [&] {
        const auto closeDialog = qScopeGuard([&] { dialog.reject(); });
        viewer.showContents();
        QVERIFY(QTest::qWaitForWindowExposed(viewer.window()));
        clickLink(browserOf(viewer), QStringLiteral("topic:2"));
        shownAfterClick = viewer.currentTopic();
    });
    dialog.exec();
    QCOMPARE(shownAfterClick, 2);
}

void TstHelpViewer::unusableHelpFileDoesNothing_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("not XML") << true << QByteArray("HLP\x01\x02");
    QTest::newRow("other root element") << true << QByteArray("<html contents=\"1\"/>");
    QTest::newRow("contents page is no topic")
        << true << QByteArray("<help contents=\"2\"><topic id=\"1\" title=\"A\"/></help>");
    QTest::newRow("context number given twice")
        << true << QByteArray("<help contents=\"1\"><topic id=\"1\" title=\"A\"/><topic id=\"1\" title=\"B\"/></help>");
    QTest::newRow("truncated") << true << fixture.left(fixture.size() / 2);
}

void TstHelpViewer::unusableHelpFileDoesNothing()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = exists ? writeHelpFile(dir, content) : dir.filePath(QStringLiteral("kasse.hlp"));

    HelpViewer viewer(path);
    QVERIFY(!viewer.isAvailable());
    viewer.showContents();
    viewer.searchKeyword(QStringLiteral("Konto"));
    viewer.showTopic(21);
    viewer.close();
    QVERIFY(!viewer.window());
    QCOMPARE(viewer.currentTopic(), 0);
}

void TstHelpViewer::closeHidesTheWindow()
{
    HelpViewer viewer(builtHelpFile);
    QVERIFY(viewer.isAvailable());
    viewer.close();
    QVERIFY(!viewer.window());

    viewer.showContents();
    QWidget *window = viewer.window();
    QCOMPARE(window->windowTitle(), QStringLiteral("Vuno Kassenbuch - Hilfe"));
    QVERIFY(viewer.isVisible());
    viewer.close();
    QVERIFY(!viewer.isVisible());

    viewer.showTopic(16);
    QCOMPARE(viewer.window(), window);
    QVERIFY(viewer.isVisible());
    QCOMPARE(viewer.currentTopic(), 16);
}

QTEST_MAIN(TstHelpViewer)
#include "tst_helpviewer.moc"
