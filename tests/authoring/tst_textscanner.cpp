#include "authoring/TextScanner.h"

#include <QTest>

class TestTextScanner : public QObject
{
    Q_OBJECT

private slots:
    void skipPastString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("string");
        QTest::addColumn<bool>("found");
        QTest::addColumn<qsizetype>("location");
        QTest::newRow("at the scan position") << "size=\"5\""
                                              << "size=\"" << true << qsizetype(6);
        QTest::newRow("further on") << "a position=\"7\""
                                    << "position=\"" << true << qsizetype(12);
        QTest::newRow("first of two") << "x=1 x=2"
                                      << "x=" << true << qsizetype(2);
        QTest::newRow("missing: at the end") << "position=\"7\""
                                             << "size=\"" << false << qsizetype(12);
        QTest::newRow("empty text") << ""
                                    << "size" << false << qsizetype(0);
    }

    void skipPastString()
    {
        QFETCH(QString, text);
        QFETCH(QString, string);
        QFETCH(bool, found);
        QFETCH(qsizetype, location);
        TextScanner scanner(text);
        QCOMPARE(scanner.skipPastString(string), found);
        QCOMPARE(scanner.scanLocation(), location);
        QCOMPARE(scanner.isAtEnd(), location == text.size());
    }

    // Fields are found in order: a marker is looked for after the last one.
    void skipsOnlyForward()
    {
        TextScanner scanner(QStringLiteral("size=\"9\" position=\"3\""));
        QVERIFY(scanner.skipPastString(QStringLiteral("position=\"")));
        QVERIFY(!scanner.skipPastString(QStringLiteral("size=\"")));
    }

    void scanInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("read");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<qsizetype>("location");
        QTest::newRow("digits") << "53452\" size" << true << qint64(53452) << qsizetype(5);
        QTest::newRow("blanks first") << "  \t42 MB" << true << qint64(42) << qsizetype(5);
        QTest::newRow("negative") << "-1" << true << qint64(-1) << qsizetype(2);
        QTest::newRow("beyond 32 bits") << "5000000000" << true << qint64(5000000000) << qsizetype(10);
        QTest::newRow("no digit") << "\"abc" << false << qint64(0) << qsizetype(0);
        QTest::newRow("sign alone") << "- 3" << false << qint64(0) << qsizetype(0);
        QTest::newRow("too large") << "99999999999999999999" << false << qint64(0) << qsizetype(0);
    }

    void scanInteger()
    {
        QFETCH(QString, text);
        QFETCH(bool, read);
        QFETCH(qint64, value);
        QFETCH(qsizetype, location);
        TextScanner scanner(text);
        qint64 number = 0;
        QCOMPARE(scanner.scanInteger(&number), read);
        QCOMPARE(number, value);
        QCOMPARE(scanner.scanLocation(), location);
    }
};

QTEST_GUILESS_MAIN(TestTextScanner)
#include "tst_textscanner.moc"
