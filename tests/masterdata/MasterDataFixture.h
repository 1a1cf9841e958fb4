#pragma once

#include "DataDirectorySetup.h"
#include "Database.h"
#include "FormatSettings.h"
#include "HelpViewer.h"
#include "MasterDialogFrame.h"
#include "ScriptedUiServices.h"
#include "Statement.h"
#include "TDataForm.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <memory>

namespace kb::test {

// Clicks the dialog's button of that object name as the user does; the dialog's result after it.
inline int click(QDialog &dialog, const QString &button)
{
    auto *target = dialog.findChild<QAbstractButton *>(button);
    if (!target) {
        qWarning("no button %s in %s", qPrintable(button), qPrintable(dialog.objectName()));
        return -1;
    }
    target->click();
    return dialog.result();
}

// A program directory of its own with a Data/ made by the set-up code (the company
// "Beispielfirma", the standard accounts and texts), the data module on it and the services a
// master-data dialog needs.
class MasterDataFixture
{
public:
    MasterDataFixture() { DataDirectorySetup::create(m_dir.path()); }

    QString path() const { return m_dir.path(); }

    // Runs statements on the file before the data module opens it.
    void execute(const QStringList &statements) const
    {
        Database db(DataDirectorySetup::databasePath(path()));
        for (const QString &statement : statements)
            db.execute(statement);
    }

    TDataForm &open()
    {
        m_data = std::make_unique<TDataForm>(path(), ui);
        return *m_data;
    }
    TDataForm &data() { return *m_data; }

    // One column of a table as the file holds it, in row order, NULL as "-".
    QStringList column(const QString &table, const QString &column) const
    {
        Statement rows = m_data->database()->prepare(
            QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY rowid").arg(column, table));
        QStringList values;
        while (rows.step())
            values << (rows.isNull(0) ? QStringLiteral("-") : rows.text(0));
        return values;
    }
    int count(const QString &table) const { return column(table, QStringLiteral("rowid")).size(); }

    ScriptedUiServices ui;
    FormatSettings formats;
    HelpViewer help{QStringLiteral("/nonexistent/kasse.hlp")};
    MasterDialogServices services{ui, help};
    QWidget window;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDataForm> m_data;
};

} // namespace kb::test
