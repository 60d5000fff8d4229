#include "media/CompilationFile.h"
#include "media/TreeFile.h"
#include "platform/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QVariantMap group(const QString &name, const QVariantList &entries)
{
    return { { QStringLiteral("Group"), name }, { QStringLiteral("Entries"), entries } };
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The compilation file: its exact text, reading it back, its name and the
// files that are no compilation.
class TestCompilationFile : public QObject
{
    Q_OBJECT

    QTemporaryDir mDir;

private slots:
    void theExampleTakesSevenLines()
    {
        const auto tree = SimpleTreeNode::treeFromDictionary(
            group(QStringLiteral("R"), { QStringLiteral("/M/a.mov"), group(QStringLiteral("G"), {}) }));
        const QByteArray text = CompilationFile::printTree(tree.get());
        QCOMPARE(
            text, QByteArray("{\nGroup = \"R\";\nEntries = (\"/M/a.mov\", {\nGroup = \"G\";\nEntries = ();\n});\n}"));
        QCOMPARE(text.count('\n') + 1, 7);
    }

    void namesEscapeQuotesAndBackslashes()
    {
        const auto tree = SimpleTreeNode::treeFromDictionary(
            group(QStringLiteral("say \"hi\""), { QStringLiteral("/M/back\\slash.mov") }));
        QCOMPARE(CompilationFile::printTree(tree.get()),
            QByteArray("{\nGroup = \"say \\\"hi\\\"\";\nEntries = (\"/M/back\\\\slash.mov\");\n}"));
    }

    void treesReadBackUnchanged_data()
    {
        QTest::addColumn<QVariantMap>("dictionary");
        QTest::newRow("the example") << group(
            QStringLiteral("R"), { QStringLiteral("/M/a.mov"), group(QStringLiteral("G"), {}) });
        QTest::newRow("a double quote") << group(QStringLiteral("Media"),
            { QStringLiteral("/Users/ann/The \"Best\" Cut.mov"), group(QStringLiteral("\"quoted\""), {}) });
        QTest::newRow("backslashes, a trailing one too")
            << group(QStringLiteral("a\\b\\"), { QStringLiteral("/c\\d.mpg") });
        QTest::newRow("UTF-8 and a line break") << group(QStringLiteral("Ålesund – café"),
            { QStringLiteral("/Filme/Größe 日本.mov"), QStringLiteral("/two\nlines.avi") });
        QTest::newRow("separators in names") << group(QStringLiteral("a = b; (c, d) {e}"),
            { QStringLiteral("/x/y, z;.mov"), QStringLiteral("/* not a comment */") });
        QTest::newRow("an empty root") << group(QString(), {});
        QTest::newRow("nested groups") << group(QStringLiteral("Media"),
            { group(QStringLiteral("/A"), { group(QStringLiteral("/A/B"), { QStringLiteral("/A/B/c.mp4") }) }),
                QStringLiteral("/d.mov"), group(QStringLiteral("E"), { QStringLiteral("/E/f.mov") }) });
    }

    void treesReadBackUnchanged()
    {
        QFETCH(QVariantMap, dictionary);
        const auto tree = SimpleTreeNode::treeFromDictionary(dictionary);
        const QString path = mDir.filePath(QStringLiteral("roundtrip.cd3"));
        QString error;
        QVERIFY2(CompilationFile::write(path, tree.get(), &error), qPrintable(error));
        const CompilationFile::ReadResult read = CompilationFile::read(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(TreeFile::treeToDictionary(read.tree.get()), dictionary);
    }

    void compilationPath_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << "/home/ann/mix"
                                      << "/home/ann/mix.cd3";
        QTest::newRow("upper case kept") << "/home/ann/mix.CD3"
                                         << "/home/ann/mix.CD3";
        QTest::newRow("mixed case kept") << "/home/ann/mix.Cd3"
                                         << "/home/ann/mix.Cd3";
        QTest::newRow("lower case kept") << "/home/ann/mix.cd3"
                                         << "/home/ann/mix.cd3";
        QTest::newRow("another extension") << "/home/ann/mix.txt"
                                           << "/home/ann/mix.txt.cd3";
        QTest::newRow("a dot in a folder's name") << "/home/ann.cd3/mix"
                                                  << "/home/ann.cd3/mix.cd3";
    }

    void compilationPath()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, saved);
        QCOMPARE(CompilationFile::compilationPath(chosen), saved);
    }

    void savingOverAReadOnlyFileMakesItOwnerWritableOnly()
    {
        const QString path = mDir.filePath(QStringLiteral("readonly.cd3"));
        QVERIFY(writeBytes(path, "old"));
        const QFileDevice::Permissions readOnly = QFileDevice::ReadOwner | QFileDevice::ReadGroup;
        QVERIFY(QFile::setPermissions(path, readOnly));
        const auto tree = SimpleTreeNode::treeFromDictionary(group(QStringLiteral("New"), {}));
        QString error;
        QVERIFY2(CompilationFile::write(path, tree.get(), &error), qPrintable(error));
        QCOMPARE(readBytes(path), CompilationFile::printTree(tree.get()));
        QCOMPARE(QFile::permissions(path) & ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
            readOnly | QFileDevice::WriteOwner);
    }

    void aFileThatCannotBeCreatedIsReported()
    {
        const auto tree = SimpleTreeNode::treeFromDictionary(group(QStringLiteral("Media"), {}));
        QString error;
        const QString path = mDir.filePath(QStringLiteral("no such folder/mix.cd3"));
        QVERIFY(!CompilationFile::write(path, tree.get(), &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        QVERIFY(!QFile::exists(path));
    }

    void filesThatAreNoCompilationAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain text") << QByteArray("just some words\n");
        QTest::newRow("cut short") << QByteArray("{\nGroup = \"R\";\nEntries = (\"/M/a.mov\", {\nGroup = \"G\";");
        QTest::newRow("a list") << QByteArray("(\"/M/a.mov\")");
        QTest::newRow("a dictionary without a group") << QByteArray("{ Name = \"x\"; }");
        QTest::newRow("entries that are no list") << QByteArray("{ Group = \"R\"; Entries = \"a\"; }");
        QTest::newRow("an entry of another kind") << PropertyList::toXml(QVariantMap {
            { QStringLiteral("Group"), QStringLiteral("R") }, { QStringLiteral("Entries"), QVariantList { 42 } } });
    }

    void filesThatAreNoCompilationAreRefused()
    {
        QFETCH(QByteArray, bytes);
        const QString path = mDir.filePath(QStringLiteral("bad.cd3"));
        QVERIFY(writeBytes(path, bytes));
        const CompilationFile::ReadResult read = CompilationFile::read(path);
        QVERIFY(!read.ok());
        QVERIFY(!read.error.isEmpty());
    }

    void aFolderOrAMissingFileIsRefused()
    {
        QVERIFY(QDir(mDir.path()).mkpath(QStringLiteral("folder.cd3")));
        for (const QString &name : { QStringLiteral("folder.cd3"), QStringLiteral("missing.cd3") }) {
            const CompilationFile::ReadResult read = CompilationFile::read(mDir.filePath(name));
            QVERIFY2(!read.ok(), qPrintable(name));
            QVERIFY2(!read.error.isEmpty(), qPrintable(name));
        }
    }

    void theTreeFileFormReadsToo()
    {
        // A project's tree file is a compilation in XML.
        const QVariantMap dictionary = group(QStringLiteral("Media"), { QStringLiteral("/a.mov") });
        const QString path = mDir.filePath(QStringLiteral("Kestrin.tree"));
        QVERIFY(writeBytes(path, PropertyList::toXml(dictionary)));
        const CompilationFile::ReadResult read = CompilationFile::read(path);
        QVERIFY2(read.ok(), qPrintable(read.error));
        QCOMPARE(TreeFile::treeToDictionary(read.tree.get()), dictionary);
    }
};

QTEST_GUILESS_MAIN(TestCompilationFile)
#include "tst_compilationfile.moc"
