// Backup and restore of a data directory holding a company of n bookings and the four report
// templates, each through its command from the chosen directory to the tables open again (the
// restore up to where the program would end), median of three runs.
// bench_backup [--max N]: n is 100,000, or N when smaller.

#include "BackupCommands.h"
#include "DataDirectorySetup.h"
#include "Database.h"
#include "MainWindowServices.h"
#include "ScriptedUiServices.h"
#include "SyntheticLedger.h"
#include "TDataForm.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace kb;
using namespace Qt::StringLiterals;

namespace {

constexpr int Runs = 3;

// The main window's part after a command: the company made current again, its journal on its
// first booking.
class Window : public MainWindowServices
{
public:
    explicit Window(TDataForm &data) : m_data(data) {}
    QWidget &window() override { return m_window; }
    void showCompanyInCaption() override {}
    void LoadTexts() override {}
    void redrawJournal() override {}
    void FormShow() override
    {
        m_data.FirmaTable.locate(u"Firma"_s, u"Beispielfirma"_s);
        m_data.EnsureLfdNr();
    }
    Progress &progress() override { return m_progress; }
    void closeWithoutBackupQuestion() override {}

private:
    TDataForm &m_data;
    QWidget m_window;
    NoProgress m_progress;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype maxAt = args.indexOf(u"--max"_s);
    const int n = std::min(100000, maxAt > 0 && maxAt + 1 < args.size() ? args.at(maxAt + 1).toInt() : 100000);

    QTemporaryDir root;
    const QString program = QDir(root.path()).filePath(u"Kassenbuch"_s);
    const QString target = QDir(root.path()).filePath(u"Sicherung"_s);
    DataDirectorySetup::create(program);
    QDir().mkpath(target);
    {
        Database db(DataDirectorySetup::databasePath(program));
        SyntheticLedger::fill(db, n, true);
    }
    for (const QString &name : {u"Kassenbuch.frf"_s, u"Konten.frf"_s, u"Gruppen.frf"_s, u"BarKasse.frf"_s}) {
        QFile file(QDir(DataDirectorySetup::dataDirectory(program)).filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(30000, 'x'));
    }

    ScriptedUiServices ui;
    TDataForm data(program, ui);
    Window window(data);
    BackupCommands commands(program, data, ui, window);
    std::vector<double> backup;
    std::vector<double> restore;
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        ui.directories << target;
        timer.start();
        commands.Datenkopieanlegen1Click();
        backup.push_back(double(timer.nsecsElapsed()) / 1e6);
        ui.directories << target;
        timer.restart();
        commands.Datenkopiezurckschreiben1Click();
        restore.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    if (!ui.texts(ScriptedUiServices::Kind::Message).isEmpty() || !ui.texts(ScriptedUiServices::Kind::Error).isEmpty()) {
        std::fprintf(stderr, "bench_backup: %s\n", qPrintable(ui.texts().join(u" | "_s)));
        return 1;
    }
    const double databaseMb = double(QFileInfo(DataDirectorySetup::databasePath(program)).size()) / 1e6;
    const double archiveMb = double(QFileInfo(QDir(target).filePath(u"daten.zlb"_s)).size()) / 1e6;
    std::printf("backup and restore, %d bookings: database %.1f MB, archive %.1f MB\n", n, databaseMb, archiveMb);
    std::printf("BENCH backup n=%d ms=%.0f floor_ms=0\n", n, median(backup));
    std::printf("BENCH restore n=%d ms=%.0f floor_ms=0\n", n, median(restore));
    return 0;
}
