#include "CodePage1252.h"
#include "Errors.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"

using namespace Qt::StringLiterals;
using kb::CodePage1252;

using kb::testfiles::readBytes;
using kb::testfiles::writeBytes;

class TstCodePage1252 : public QObject
{
    Q_OBJECT

private slots:
    void highRange_data();
    void highRange();
    void everyByteSurvivesARoundTrip();
    void unmappableCharacters_data();
    void unmappableCharacters();
    void readLines_data();
    void readLines();
    void writeLines_data();
    void writeLines();
    void fileErrors();

private:
    QTemporaryDir m_dir;
};

void TstCodePage1252::highRange_data()
{
    // The code page's characters of 0x80 to 0x9F; the five undefined bytes keep their value.
    const QString table = u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"_s;
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("byte");
    for (int i = 0; i < table.size(); ++i)
        QTest::addRow("0x%X", 0x80 + i) << QString(table.at(i)) << 0x80 + i;
    QTest::newRow("ASCII") << u"A"_s << 0x41;
    QTest::newRow("no-break space") << u"\u00A0"_s << 0xA0;
    QTest::newRow("umlaut") << u"ä"_s << 0xE4;
    QTest::newRow("sharp s") << u"ß"_s << 0xDF;
    QTest::newRow("last byte") << u"ÿ"_s << 0xFF;
}

void TstCodePage1252::highRange()
{
    QFETCH(QString, character);
    QFETCH(int, byte);
    QCOMPARE(CodePage1252::encode(character), QByteArray(1, char(byte)));
    QCOMPARE(CodePage1252::decode(QByteArray(1, char(byte))), character);
}

void TstCodePage1252::everyByteSurvivesARoundTrip()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b)
        bytes.append(char(b));
    const QString text = CodePage1252::decode(bytes);
    QCOMPARE(text.size(), 256);
    QCOMPARE(CodePage1252::encode(text), bytes);
}

void TstCodePage1252::unmappableCharacters_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Greek letter") << u"Ω"_s << QByteArray("?");
    QTest::newRow("Latin letter outside the page") << u"Ā"_s << QByteArray("?");
    QTest::newRow("one ? per character beyond 16 bits") << u"a😀b"_s << QByteArray("a?b");
    QTest::newRow("mapped and unmapped mixed") << u"5 € – Ω"_s << QByteArray("5 \x80 \x96 ?");
}

void TstCodePage1252::unmappableCharacters()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(CodePage1252::encode(text), bytes);
}

void TstCodePage1252::readLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty file has no line") << QByteArray() << QStringList();
    QTest::newRow("symbol and a second line") << QByteArray("CHF\r\nx\r\n") << QStringList{u"CHF"_s, u"x"_s};
    QTest::newRow("euro byte") << QByteArray("\x80\r\n") << QStringList{u"€"_s};
    QTest::newRow("one empty line") << QByteArray("\r\n") << QStringList{QString()};
    QTest::newRow("last line without line end") << QByteArray("a\r\nb") << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("LF and CR alone") << QByteArray("a\nb\rc") << QStringList{u"a"_s, u"b"_s, u"c"_s};
    QTest::newRow("empty lines kept") << QByteArray("a\r\n\r\n\r\nb\r\n")
                                      << QStringList{u"a"_s, QString(), QString(), u"b"_s};
    QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << QStringList{u"a"_s, QString(), u"b"_s};
}

void TstCodePage1252::readLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QString path = m_dir.filePath(u"read.txt"_s);
    writeBytes(path, bytes);
    QCOMPARE(CodePage1252::readLines(path), lines);
}

void TstCodePage1252::writeLines_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("euro as one byte, CR LF") << QStringList{u"€"_s} << QByteArray("\x80\r\n");
    QTest::newRow("every line ended") << QStringList{u"a"_s, u"Größe"_s} << QByteArray("a\r\nGr\xF6\xDF" "e\r\n");
    QTest::newRow("empty line") << QStringList{QString()} << QByteArray("\r\n");
    QTest::newRow("no lines, empty file") << QStringList() << QByteArray();
}

void TstCodePage1252::writeLines()
{
    QFETCH(QStringList, lines);
    QFETCH(QByteArray, bytes);
    const QString path = m_dir.filePath(u"write.txt"_s);
    writeBytes(path, "an older and longer content\r\n");
    CodePage1252::writeLines(path, lines);
    QCOMPARE(readBytes(path), bytes);
    QCOMPARE(CodePage1252::readLines(path), lines);
}

void TstCodePage1252::fileErrors()
{
    const QString missing = m_dir.filePath(u"fehlt/currency.cfg"_s);
    try {
        CodePage1252::readLines(missing);
        QFAIL("reading a missing file succeeded");
    } catch (const kb::FileError &error) {
        QCOMPARE(error.text(), u"Datei %1 kann nicht geöffnet werden"_s.arg(missing));
    }
    try {
        CodePage1252::writeLines(missing, {u"€"_s});
        QFAIL("writing into a missing directory succeeded");
    } catch (const kb::FileError &error) {
        QCOMPARE(error.text(), u"Datei %1 kann nicht erstellt werden"_s.arg(missing));
    }
}

QTEST_MAIN(TstCodePage1252)
#include "tst_codepage1252.moc"
