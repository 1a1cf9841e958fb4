#include "QtUiServices.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;
using kb::QtUiServices;

namespace {

// Plays the user's part in the next modal dialog as soon as its event loop runs.
template <typename Dialog>
void onNextModal(std::function<void(Dialog *)> act)
{
    QTimer::singleShot(0, qApp, [act] { act(qobject_cast<Dialog *>(QApplication::activeModalWidget())); });
}

QStringList buttonTexts(QMessageBox *box)
{
    QStringList texts;
    for (QAbstractButton *button : box->buttons())
        texts << button->text();
    std::sort(texts.begin(), texts.end());
    return texts;
}

void click(QMessageBox *box, const QString &text)
{
    for (QAbstractButton *button : box->buttons()) {
        if (button->text() == text)
            return button->click();
    }
    box->reject();
}

// Types the name into the file dialog and presses its accept button; the dialog is cancelled when
// it stays open.
void chooseInDialog(QFileDialog *dialog, const QString &name)
{
    dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)->setText(name);
    static_cast<QDialog *>(dialog)->accept();
    if (dialog->isVisible())
        dialog->reject();
}

struct SeenBox
{
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

} // namespace

class TstQtUiServices : public QObject
{
    Q_OBJECT

private slots:
    void messageBoxes_data();
    void messageBoxes();
    void confirmGoesOnOnlyWithJa_data();
    void confirmGoesOnOnlyWithJa();
    void inputBox_data();
    void inputBox();
    void chooseDirectoryCreatesATypedDirectory_data();
    void chooseDirectoryCreatesATypedDirectory();
    void saveFileName_data();
    void saveFileName();
    void chooseColor();

private:
    QtUiServices m_ui;
};

void TstQtUiServices::messageBoxes_data()
{
    QTest::addColumn<std::function<void(QtUiServices &)>>("show");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QStringList>("buttons");
    const QStringList ok{u"OK"_s};
    QTest::newRow("confirmation") << std::function([](QtUiServices &ui) { ui.confirm(u"Löschen?"_s); })
                                  << u"Bestätigung"_s << u"Löschen?"_s << QMessageBox::Question
                                  << QStringList{u"&Ja"_s, u"&Nein"_s};
    QTest::newRow("warning") << std::function([](QtUiServices &ui) { ui.warning(u"Achtung"_s); })
                             << u"Warnung"_s << u"Achtung"_s << QMessageBox::Warning << ok;
    QTest::newRow("information") << std::function([](QtUiServices &ui) { ui.information(u"Gesichert"_s); })
                                 << u"Information"_s << u"Gesichert"_s << QMessageBox::Information << ok;
    QTest::newRow("plain message") << std::function([](QtUiServices &ui) { ui.message(u"Hallo"_s); })
                                   << u"Vuno Kassenbuch"_s << u"Hallo"_s << QMessageBox::NoIcon << ok;
    QTest::newRow("general error display") << std::function([](QtUiServices &ui) { ui.showError(u"Fehler"_s); })
                                           << u"Vuno Kassenbuch"_s << u"Fehler."_s << QMessageBox::Critical << ok;
}

void TstQtUiServices::messageBoxes()
{
    QFETCH(std::function<void(QtUiServices &)>, show);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QStringList, buttons);
    SeenBox seen;
    onNextModal<QMessageBox>([&seen](QMessageBox *box) {
        seen = {box->windowTitle(), box->text(), box->icon(), buttonTexts(box)};
        box->buttons().constFirst()->click();
    });
    show(m_ui);
    QCOMPARE(seen.caption, caption);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.icon, icon);
    QCOMPARE(seen.buttons, buttons);
}

void TstQtUiServices::confirmGoesOnOnlyWithJa_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("answer");
    QTest::newRow("Ja") << u"&Ja"_s << true;
    QTest::newRow("Nein") << u"&Nein"_s << false;
    QTest::newRow("closed") << QString() << false;
}

void TstQtUiServices::confirmGoesOnOnlyWithJa()
{
    QFETCH(QString, button);
    QFETCH(bool, answer);
    onNextModal<QMessageBox>([button](QMessageBox *box) { click(box, button); });
    QCOMPARE(m_ui.confirm(u"Weiter?"_s), answer);
}

void TstQtUiServices::inputBox_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("result");
    QTest::newRow("OK returns the text typed") << true << u"CHF"_s;
    QTest::newRow("Abbrechen returns the default") << false << u"€"_s;
}

void TstQtUiServices::inputBox()
{
    QFETCH(bool, accept);
    QFETCH(QString, result);
    QStringList seen;
    onNextModal<QInputDialog>([&seen, accept](QInputDialog *dialog) {
        seen << dialog->windowTitle() << dialog->labelText() << dialog->textValue();
        for (QPushButton *button : dialog->findChildren<QPushButton *>())
            seen << button->text();
        dialog->setTextValue(u"CHF"_s);
        accept ? dialog->accept() : dialog->reject();
    });
    bool ok = !accept;
    QCOMPARE(m_ui.inputBox(u"Eingabe"_s, u"Währungs-Kürzel:"_s, u"€"_s, &ok), result);
    QCOMPARE(ok, accept);
    QCOMPARE(seen, (QStringList{u"Eingabe"_s, u"Währungs-Kürzel:"_s, u"€"_s, u"OK"_s, u"Abbrechen"_s}));
}

void TstQtUiServices::chooseDirectoryCreatesATypedDirectory_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("chosen");
    QTest::newRow("Ja creates it with its parents") << u"&Ja"_s << true;
    QTest::newRow("Nein keeps the chooser open") << u"&Nein"_s << false;
}

void TstQtUiServices::chooseDirectoryCreatesATypedDirectory()
{
    QFETCH(QString, answer);
    QFETCH(bool, chosen);
    QTemporaryDir root;
    const QString target = root.filePath(u"Sicherung/2026"_s);
    QString question;
    QString title;
    onNextModal<QFileDialog>([&](QFileDialog *dialog) {
        title = dialog->windowTitle();
        onNextModal<QMessageBox>([&question, answer](QMessageBox *box) {
            question = box->text();
            click(box, answer);
        });
        chooseInDialog(dialog, target);
    });
    const QString result = m_ui.chooseDirectory(u"Verzeichnis auswählen"_s, root.path());
    QCOMPARE(title, u"Verzeichnis auswählen"_s);
    QCOMPARE(question, u"Das angegebene Verzeichnis existiert nicht. Soll es angelegt werden?"_s);
    QCOMPARE(result, chosen ? target : QString());
    QCOMPARE(QDir(target).exists(), chosen);
}

void TstQtUiServices::saveFileName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirmOverwrite");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("result");
    QTest::newRow("default suffix added") << u"bericht"_s << true << QString() << u"bericht.csv"_s;
    QTest::newRow("existing file replaced after Ja") << u"alt.csv"_s << true << u"&Ja"_s << u"alt.csv"_s;
    QTest::newRow("existing file kept after Nein") << u"alt.csv"_s << true << u"&Nein"_s << QString();
    QTest::newRow("no question when not asked for") << u"alt.csv"_s << false << QString() << u"alt.csv"_s;
}

void TstQtUiServices::saveFileName()
{
    QFETCH(QString, typed);
    QFETCH(bool, confirmOverwrite);
    QFETCH(QString, answer);
    QFETCH(QString, result);
    QTemporaryDir dir;
    QFile existing(dir.filePath(u"alt.csv"_s));
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString question;
    onNextModal<QFileDialog>([&](QFileDialog *dialog) {
        if (!answer.isEmpty()) {
            onNextModal<QMessageBox>([&question, answer](QMessageBox *box) {
                question = box->text();
                click(box, answer);
            });
        }
        chooseInDialog(dialog, typed);
    });
    QString filter;
    const QString path = m_ui.saveFileName(u"Daten exporieren"_s, dir.path(),
                                           u"CSV-Dateien (*.csv *.txt);;alle Dateien (*)"_s, u"Export.csv"_s,
                                           {u"csv"_s, confirmOverwrite}, &filter);
    QCOMPARE(path, result.isEmpty() ? QString() : dir.filePath(result));
    QCOMPARE(filter, result.isEmpty() ? QString() : u"CSV-Dateien (*.csv *.txt)"_s);
    QCOMPARE(question, answer.isEmpty() ? QString() : u"Die Datei alt.csv existiert bereits. Soll sie ersetzt werden?"_s);
}

void TstQtUiServices::chooseColor()
{
    QStringList seen;
    onNextModal<QColorDialog>([&seen](QColorDialog *dialog) {
        seen << dialog->windowTitle();
        const QDialogButtonBox *buttons = dialog->findChild<QDialogButtonBox *>();
        seen << buttons->button(QDialogButtonBox::Ok)->text() << buttons->button(QDialogButtonBox::Cancel)->text();
        dialog->accept();
    });
    QCOMPARE(m_ui.chooseColor(QColor(0x12, 0x34, 0x56)), QColor(0x12, 0x34, 0x56));
    QCOMPARE(seen, (QStringList{u"Farbe"_s, u"OK"_s, u"Abbrechen"_s}));
    onNextModal<QColorDialog>([](QColorDialog *dialog) { dialog->reject(); });
    QVERIFY(!m_ui.chooseColor(Qt::red).isValid());
}

QTEST_MAIN(TstQtUiServices)
#include "tst_qtuiservices.moc"
