#include "ArchiveTool.h"

#include "ArchiveError.h"
#include "TZLBArchive.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace kb {

namespace {

const QString UsageText = uR"(Aufruf:
  kassenbuch-archive list ARCHIV
  kassenbuch-archive test ARCHIV
  kassenbuch-archive extract ARCHIV VERZEICHNIS
  kassenbuch-archive create [--level 0|1|2|3] ARCHIV DATEI...

  list     zeigt je Datei im Archiv eine Zeile, durch Tabulatoren getrennt: Nummer, Dateiname,
           gespeichertes Verzeichnis, Größe, gespeicherte Größe, Position der Daten, CRC-32,
           1 wenn unverändert gespeichert sonst 0, Kompressionsstufe
  test     prüft die Prüfsumme des Archivs und entpackt jede Datei zur Probe, ohne sie zu schreiben
  extract  entpackt alle Dateien in das Verzeichnis und prüft dabei ihre Prüfsummen
  create   legt ein neues Archiv mit den Dateien an, gespeichert unter ihrem Namen ohne Verzeichnis;
           Kompressionsstufe 0 keine, 1 schnellste, 2 Standard (ohne Angabe), 3 höchste

Bei einem Fehler endet das Programm mit dem Status 1, bei falschem Aufruf mit 2.
)"_s;

} // namespace

ArchiveTool::ArchiveTool(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

int ArchiveTool::run(const QStringList &arguments)
{
    const QString command = arguments.value(0);
    try {
        if (command == u"list"_s && arguments.size() == 2)
            return list(arguments.at(1));
        if (command == u"test"_s && arguments.size() == 2)
            return test(arguments.at(1));
        if (command == u"extract"_s && arguments.size() == 3)
            return extract(arguments.at(1), arguments.at(2));
        if (command == u"create"_s)
            return create(arguments.mid(1));
        return usage();
    } catch (const Error &error) {
        m_err << error.text() << Qt::endl;
        return Failure;
    }
}

int ArchiveTool::list(const QString &archiveName)
{
    TZLBArchive archive;
    archive.OpenArchive(archiveName);
    for (int i = 0; i < archive.FileCount(); ++i) {
        const TZLBEntry entry = archive.GetFileEntry(i);
        m_out << i << '\t' << entry.fileName << '\t' << entry.directory << '\t' << entry.uncompressedSize
              << '\t' << entry.storedSize << '\t' << entry.dataOffset << '\t'
              << u"%1"_s.arg(entry.crc, 8, 16, QChar(u'0')) << '\t' << (entry.storedUnchanged ? 1 : 0)
              << '\t' << entry.level << '\n';
    }
    m_out.flush();
    return Success;
}

int ArchiveTool::test(const QString &archiveName)
{
    TZLBArchive archive;
    archive.OpenArchive(archiveName);
    archive.VerifyFiles();
    m_out << u"Archiv in Ordnung: %1 Dateien"_s.arg(archive.FileCount()) << Qt::endl;
    return Success;
}

int ArchiveTool::extract(const QString &archiveName, const QString &directory)
{
    TZLBArchive archive;
    archive.setCheckCRC(true);
    archive.OpenArchive(archiveName);
    archive.ExtractFiles(directory);
    return Success;
}

int ArchiveTool::create(QStringList arguments)
{
    TFileCompressionLevel level = TFileCompressionLevel::fcDefault;
    if (arguments.value(0) == u"--level"_s) {
        const QString value = arguments.value(1);
        if (value.size() != 1 || value.at(0) < u'0' || value.at(0) > u'3')
            return usage();
        level = TFileCompressionLevel(value.at(0).unicode() - u'0');
        arguments.remove(0, 2);
    }
    if (arguments.size() < 2)
        return usage();

    TZLBArchive archive;
    archive.setCompressionLevel(level);
    bool complete = true;
    archive.OnErrorLogged = [this](const QString &message) { m_err << message << Qt::endl; };
    archive.CreateArchive(arguments.takeFirst());
    QStringList files;
    for (const QString &file : std::as_const(arguments)) {
        // The archive holds files only; a directory would be dropped without a word.
        if (QFileInfo(file).isDir()) {
            m_err << ArchiveError::unableToOpen(file).text() << Qt::endl;
            complete = false;
        } else {
            files << file;
        }
    }
    const qsizetype wanted = files.size();
    if (!archive.AddFiles(files)) {
        m_err << archive.lastWriteError() << Qt::endl;
        return Failure;
    }
    complete = complete && archive.FileCount() == wanted;
    return complete ? Success : Failure;
}

int ArchiveTool::usage()
{
    m_err << UsageText;
    m_err.flush();
    return UsageError;
}

} // namespace kb
