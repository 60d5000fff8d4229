#include "platform/PropertyList.h"

#include <QTemporaryDir>
#include <QTest>

class TestPropertyList : public QObject
{
    Q_OBJECT

private slots:
    void typesSurviveAWriteAndARead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.plist"));
        QVariantMap nested { { QStringLiteral("Group"), QStringLiteral("G & <H>") },
            { QStringLiteral("Entries"), QVariantList { QStringLiteral("/m/a.mov"), QVariantMap() } } };
        QVariantMap root { { QStringLiteral("Int"), qlonglong(2500) }, { QStringLiteral("Real"), 100.0 },
            { QStringLiteral("Fraction"), 0.25 }, { QStringLiteral("Negative"), qlonglong(-1) },
            { QStringLiteral("Empty"), QString() }, { QStringLiteral("Unicode"), QStringLiteral("Ünïcødé ✓") },
            { QStringLiteral("Nested"), nested } };
        QVERIFY(PropertyList::writeXmlFile(path, root));

        const PropertyList::ReadResult read = PropertyList::readFile(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        const QVariantMap back = read.value.toMap();
        QCOMPARE(back, root);
        QCOMPARE(back.value(QStringLiteral("Int")).typeId(), QMetaType::LongLong);
        QCOMPARE(back.value(QStringLiteral("Real")).typeId(), QMetaType::Double);
        QCOMPARE(back.value(QStringLiteral("Negative")).toLongLong(), -1);

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray xml = file.readAll();
        QVERIFY(xml.contains("<plist version=\"1.0\">"));
        QVERIFY(xml.contains("<real>100</real>") || xml.contains("<real>100.0"));
        QVERIFY(xml.contains("<integer>2500</integer>"));
    }

    void readsTheTextForm_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("compilation") << QByteArray("{\nGroup = \"R\";\nEntries = (\"/M/a.mov\", {\nGroup = \"G\";\n"
                                                   "Entries = ();\n});\n}")
                                     << QVariant(QVariantMap { { "Group", "R" },
                                            { "Entries",
                                                QVariantList { "/M/a.mov",
                                                    QVariantMap { { "Group", "G" }, { "Entries", QVariantList() } } } } });
        QTest::newRow("escapes") << QByteArray("{ a = \"say \\\"hi\\\" \\\\ \\n\\101\\U00e9\"; }")
                                 << QVariant(QVariantMap { { "a", QStringLiteral("say \"hi\" \\ \nA\u00e9") } });
        QTest::newRow("bare words and comments")
            << QByteArray("// a comment\n{ key = value.1; /* more */ list = (a, b,); }")
            << QVariant(QVariantMap { { "key", "value.1" }, { "list", QVariantList { "a", "b" } } });
        QTest::newRow("utf-8") << QByteArray("( \"caf\xc3\xa9\" )") << QVariant(QVariantList { QStringLiteral("café") });
        QTest::newRow("data") << QByteArray("<0fA0 01>") << QVariant(QByteArray("\x0f\xa0\x01", 3));
    }

    void readsTheTextForm()
    {
        QFETCH(QByteArray, text);
        QFETCH(QVariant, expected);
        const PropertyList::ReadResult read = PropertyList::parse(text);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value, expected);
    }

    void refusesBrokenInput_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("blank") << QByteArray(" \n\t");
        QTest::newRow("truncated xml") << QByteArray("<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>a</key>");
        QTest::newRow("truncated text") << QByteArray("{ Group = \"R\"; Entries = (\"a\", ");
        QTest::newRow("unterminated string") << QByteArray("( \"abc )");
        QTest::newRow("binary garbage") << QByteArray("bplist00\x01\x02\x03", 11);
        QTest::newRow("random bytes") << QByteArray("\x9f\x01\xff{=;(", 8);
        QTest::newRow("deep nesting") << QByteArray(100000, '(');
        QTest::newRow("trailing text") << QByteArray("{ a = b; } extra");
    }

    void refusesBrokenInput()
    {
        QFETCH(QByteArray, bytes);
        const PropertyList::ReadResult read = PropertyList::parse(bytes);
        QVERIFY(!read.ok());
        QVERIFY(!read.error.isEmpty());
    }

    void readsTheBinaryForm()
    {
        // "bplist00" with a dict {a: 5}, as written by plutil.
        const QByteArray binary = QByteArray::fromHex(
            "62706c6973743030d1010251611005080b0d000000000000010100000000000000030000000000000000000000000000000f");
        const PropertyList::ReadResult read = PropertyList::parse(binary);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(read.value.toMap().value(QStringLiteral("a")).toLongLong(), 5);
    }

    void failedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.plist"));
        QVERIFY(PropertyList::writeXmlFile(path, QVariantMap { { QStringLiteral("a"), 1 } }));
        QString error;
        QVERIFY(!PropertyList::writeXmlFile(path, QVariantMap { { QStringLiteral("bad"), QVariant() } }, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(PropertyList::readFile(path).value.toMap().value(QStringLiteral("a")).toInt(), 1);
    }
};

QTEST_GUILESS_MAIN(TestPropertyList)
#include "tst_propertylist.moc"
