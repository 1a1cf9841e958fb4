#include "Errors.h"
#include "IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace Qt::StringLiterals;
using kb::IniFile;

using kb::testfiles::readBytes;
using kb::testfiles::writeBytes;

class TstIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileReadsDefaultAndFirstWriteCreatesIt();
    void readString_data();
    void readString();
    void writeString_data();
    void writeString();
    void writeFailure();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_path;
};

void TstIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = m_dir->filePath(u"program.cfg"_s);
}

void TstIniFile::missingFileReadsDefaultAndFirstWriteCreatesIt()
{
    IniFile ini(m_path);
    QCOMPARE(ini.readString(u"Firma"_s, u"Letzte Firma"_s, u"Beispielfirma"_s), u"Beispielfirma"_s);
    QVERIFY(!QFile::exists(m_path));
    ini.writeString(u"Firma"_s, u"Letzte Firma"_s, u"Beispielfirma"_s);
    QCOMPARE(readBytes(m_path), QByteArray("[Firma]\r\nLetzte Firma=Beispielfirma\r\n"));
    ini.writeString(u"Firma"_s, u"Letzte Firma"_s, u"Café €"_s);
    QCOMPARE(readBytes(m_path), QByteArray("[Firma]\r\nLetzte Firma=Caf\xE9 \x80\r\n"));
    QCOMPARE(IniFile(m_path).readString(u"Firma"_s, u"Letzte Firma"_s, QString()), u"Café €"_s);
}

void TstIniFile::readString_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("value");
    QTest::newRow("stored value") << QByteArray("[Firma]\r\nLetzte Firma=M\xFCller GmbH\r\n") << u"Müller GmbH"_s;
    QTest::newRow("code page byte") << QByteArray("[Firma]\r\nLetzte Firma=\x80 und M\xFCller\r\n")
                                    << u"€ und Müller"_s;
    QTest::newRow("section and key in other case") << QByteArray("[FIRMA]\r\nletzte firma=X\r\n") << u"X"_s;
    QTest::newRow("blanks around key and value") << QByteArray(" [ Firma ] \nLetzte Firma  =  X  \n") << u"X"_s;
    QTest::newRow("equals sign inside the value") << QByteArray("[Firma]\r\nLetzte Firma=a=b\r\n") << u"a=b"_s;
    QTest::newRow("empty value is no default") << QByteArray("[Firma]\r\nLetzte Firma=\r\n") << QString();
    QTest::newRow("first section wins") << QByteArray("[Firma]\r\nLetzte Firma=A\r\n[Firma]\r\nLetzte Firma=B\r\n")
                                        << u"A"_s;
    QTest::newRow("key missing") << QByteArray("[Firma]\r\nAndere=X\r\n") << u"Beispielfirma"_s;
    QTest::newRow("key only in another section") << QByteArray("[Sonst]\r\nLetzte Firma=X\r\n[Firma]\r\n")
                                                 << u"Beispielfirma"_s;
    QTest::newRow("key before any section") << QByteArray("Letzte Firma=X\r\n") << u"Beispielfirma"_s;
    QTest::newRow("empty file") << QByteArray() << u"Beispielfirma"_s;
}

void TstIniFile::readString()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, value);
    writeBytes(m_path, content);
    QCOMPARE(IniFile(m_path).readString(u"Firma"_s, u"Letzte Firma"_s, u"Beispielfirma"_s), value);
}

void TstIniFile::writeString_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("replaces the value, keeps other sections and keys")
        << QByteArray("[A]\r\nx=1\r\n[Firma]\r\nLetzte Firma=Alt\r\nandere=2\r\n") << u"Neu"_s
        << QByteArray("[A]\r\nx=1\r\n[Firma]\r\nLetzte Firma=Neu\r\nandere=2\r\n");
    QTest::newRow("matches without case, writes the key as given")
        << QByteArray("[firma]\r\nletzte firma=Alt\r\n") << u"Neu"_s
        << QByteArray("[firma]\r\nLetzte Firma=Neu\r\n");
    QTest::newRow("new key at the end of its section")
        << QByteArray("[Firma]\r\na=1\r\n\r\n[B]\r\nb=2\r\n") << u"Neu"_s
        << QByteArray("[Firma]\r\na=1\r\nLetzte Firma=Neu\r\n\r\n[B]\r\nb=2\r\n");
    QTest::newRow("new section at the end")
        << QByteArray("[B]\r\nLetzte Firma=X\r\n") << u"Neu"_s
        << QByteArray("[B]\r\nLetzte Firma=X\r\n[Firma]\r\nLetzte Firma=Neu\r\n");
    QTest::newRow("comments and lines before the first section kept")
        << QByteArray("; Einstellungen\r\nlose=1\r\n[Firma]\r\n") << u"Neu"_s
        << QByteArray("; Einstellungen\r\nlose=1\r\n[Firma]\r\nLetzte Firma=Neu\r\n");
    QTest::newRow("LF file rewritten with CR LF")
        << QByteArray("[Firma]\nLetzte Firma=Alt\n") << u"Neu"_s
        << QByteArray("[Firma]\r\nLetzte Firma=Neu\r\n");
    QTest::newRow("line break in the value cannot add a section")
        << QByteArray("[Firma]\r\n") << u"A\r\n[Firma]\nLetzte Firma=B"_s
        << QByteArray("[Firma]\r\nLetzte Firma=A  [Firma] Letzte Firma=B\r\n");
}

void TstIniFile::writeString()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    writeBytes(m_path, before);
    IniFile(m_path).writeString(u"Firma"_s, u"Letzte Firma"_s, value);
    QCOMPARE(readBytes(m_path), after);
}

void TstIniFile::writeFailure()
{
    const QString path = m_dir->filePath(u"fehlt/program.cfg"_s);
    try {
        IniFile(path).writeString(u"Firma"_s, u"Letzte Firma"_s, u"X"_s);
        QFAIL("writing into a missing directory succeeded");
    } catch (const kb::FileError &error) {
        QCOMPARE(error.text(), u"Datei %1 kann nicht erstellt werden"_s.arg(path));
    }
}

QTEST_MAIN(TstIniFile)
#include "tst_inifile.moc"
