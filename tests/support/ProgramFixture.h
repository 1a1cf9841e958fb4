#pragma once

#include "DataDirectorySetup.h"
#include "Database.h"
#include "DbGrid.h"
#include "Program.h"
#include "ScriptedUiServices.h"
#include "Statement.h"
#include "TDataForm.h"
#include "TMainForm.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace kb::test {

// The standard accounts of a fresh Data/ by key.
enum Account : int {
    Erloese19 = 2,   // 19 %, adds
    Erloese7 = 3,    // 7 %, adds
    Buerobedarf = 4, // 19 %, minus
};

// A program directory of its own with a Data/ made by the set-up code: the company
// "Beispielfirma", the standard accounts and texts.
class ProgramDirectory
{
public:
    ProgramDirectory() { DataDirectorySetup::create(path()); }

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const
    {
        QFile file(filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Runs statements on the file while no data module holds it.
    void execute(const QStringList &statements) const
    {
        Database db(DataDirectorySetup::databasePath(path()));
        for (const QString &statement : statements)
            db.execute(statement);
    }

    // A booking as a finished walk leaves it, numbered n and with its balance.
    void addBooking(qint64 company, const QString &isoDate, const QString &belegNr, const QString &amount,
                    int account, int lfdNr, const QString &balance) const
    {
        execute({QStringLiteral("INSERT INTO \"KASSE\" (\"Firma_ID\", \"Datum\", \"BelegNr\", \"Buchungsbetrag\", "
                                "\"UMSTinProzent\", \"UMSTinEURO\", \"Nettobuchungsbetrag\", \"Zeilenbestand\", "
                                "\"Text\", \"Kontoname\", \"KontoID\", \"Minuskonto\", \"lfdNr\") "
                                "SELECT %1, '%2', '%3', %4, \"KontoProzentSatz\", 0, 0, %5, 'Text %3', "
                                "\"Kontoname\", \"KontoNr\", \"Minuskonto\", %6 FROM \"KONTEN\" WHERE \"KontoNr\" = %7")
                     .arg(company).arg(isoDate, belegNr, amount, balance).arg(lfdNr).arg(account)});
    }

    // One line per booking of the company in journal order: "BelegNr lfdNr Zeilenbestand".
    QStringList journal(qint64 company) const
    {
        Database db(DataDirectorySetup::databasePath(path()));
        Statement rows = db.prepare(QStringLiteral(
            "SELECT \"BelegNr\", \"lfdNr\", \"Zeilenbestand\" FROM \"KASSE\" WHERE \"Firma_ID\" = ?1 "
            "ORDER BY \"Datum\", \"Nr\""));
        rows.bindInteger(1, company);
        QStringList lines;
        while (rows.step())
            lines << QStringLiteral("%1 %2 %3").arg(rows.text(0), rows.text(1), QString::number(rows.real(2)));
        return lines;
    }

private:
    QTemporaryDir m_dir;
};

// What the user was shown, one line per box: "caption | text | preset", for readable comparisons.
inline QStringList described(const QList<ScriptedUiServices::Shown> &shown)
{
    QStringList lines;
    for (const ScriptedUiServices::Shown &entry : shown)
        lines << QStringLiteral("%1 | %2 | %3").arg(entry.caption, entry.text, entry.preset);
    return lines;
}

// The program as main() starts it, with a scripted user in place of message boxes.
class RunningProgram
{
public:
    explicit RunningProgram(const QString &programDirectory)
        : m_program(std::make_unique<Program>(programDirectory, ui))
    {
        m_program->show();
        m_active = QTest::qWaitForWindowActive(&window());
    }

    ScriptedUiServices ui;

    bool isActive() const { return m_active; }
    TMainForm &window() { return m_program->mainForm(); }
    TDataForm &data() { return m_program->dataForm(); }
    Table &kasse() { return data().KasseTable; }
    Field &field(const QString &name) { return kasse().fieldByName(name); }
    template <typename T>
    T *control(const QString &name) { return window().findChild<T *>(name); }

    // The grid's text of a journal column, as the user sees it.
    QString cell(int row, const QString &title)
    {
        QAbstractItemModel *model = window().grid().model();
        for (int column = 0; column < model->columnCount(); ++column) {
            if (model->headerData(column, Qt::Horizontal).toString() == title)
                return model->index(row, column).data().toString();
        }
        return QStringLiteral("no column %1").arg(title);
    }

    // Closes the window as the user does and releases everything, as the end of main() does.
    void quit()
    {
        window().close();
        m_program.reset();
    }

private:
    std::unique_ptr<Program> m_program;
    bool m_active = false;
};

} // namespace kb::test
