#include "support/PathUtilities.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestPathUtilities : public QObject
{
    Q_OBJECT

private slots:
    void splitsPaths_data();
    void splitsPaths();
    void addBackslashEndsInOneSeparator_data();
    void addBackslashEndsInOneSeparator();
    void pathForDisplaySpacesLaterSeparators_data();
    void pathForDisplaySpacesLaterSeparators();
    void countsAndStrips();
    void existenceChecks_data();
    void existenceChecks();
    void fileExistsFollowsFileSystemLetterCase();

private:
    QTemporaryDir m_folder;
};

namespace
{
// Test paths are written with "\" and turned into this platform's form.
QString native(const char *path)
{
    QString text = QString::fromLatin1(path);
    text.replace(QLatin1Char('\\'), QDir::separator());
    return text;
}
} // namespace

void TestPathUtilities::splitsPaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("extension");
    QTest::newRow("file in folder")
        << native("C:\\Data\\x.raw") << "x.raw" << native("C:\\Data\\") << "raw";
    QTest::newRow("bare name") << "x.raw"
                               << "x.raw"
                               << ""
                               << "raw";
    QTest::newRow("folder only") << native("C:\\Data\\") << "" << native("C:\\Data\\") << "";
    QTest::newRow("dotted folder")
        << native("a.b\\file") << "file" << native("a.b\\") << native("b\\file");
    QTest::newRow("two dots") << "x.tar.gz"
                              << "x.tar.gz"
                              << ""
                              << "gz";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
}

void TestPathUtilities::splitsPaths()
{
    QFETCH(QString, path);
    QFETCH(QString, name);
    QFETCH(QString, folder);
    QFETCH(QString, extension);
    QCOMPARE(FileNameOf(path), name);
    QCOMPARE(FolderOf(path), folder);
    QCOMPARE(FileExtension(path), extension);
}

void TestPathUtilities::addBackslashEndsInOneSeparator_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("no separator") << native("C:\\Data") << native("C:\\Data\\");
    QTest::newRow("has separator") << native("C:\\Data\\") << native("C:\\Data\\");
    QTest::newRow("empty") << "" << native("\\");
}

void TestPathUtilities::addBackslashEndsInOneSeparator()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(AddBackslash(path), expected);
}

void TestPathUtilities::pathForDisplaySpacesLaterSeparators_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("long folder") << native("C:\\Documents and Settings\\user")
                                 << native("C:\\Documents and Settings\\ user");
    QTest::newRow("separator at six") << native("C:\\ab\\c") << native("C:\\ab\\ c");
    QTest::newRow("separator at five") << native("C:\\a\\b") << native("C:\\a\\b");
    QTest::newRow("trailing") << native("C:\\Data\\") << native("C:\\Data\\ ");
}

void TestPathUtilities::pathForDisplaySpacesLaterSeparators()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(PathForDisplay(path), expected);
}

void TestPathUtilities::countsAndStrips()
{
    QCOMPARE(StripSpaces(" my data file.txt "), QStringLiteral("mydatafile.txt"));
    QCOMPARE(CountChar(QByteArray(","), QByteArray("1,2,,3")), 3);
    QCOMPARE(CountChar(QByteArray(","), QByteArray()), 0);
    QCOMPARE(CountChar(QByteArray(",,"), QByteArray("1,2")), 0);
    QCOMPARE(CountChar(QStringLiteral("a"), QStringLiteral("aAa")), 2);
    // A full receive buffer holds more than a 16-bit count could.
    QCOMPARE(CountChar(QByteArray("."), QByteArray(65536, '.')), 65536);
}

void TestPathUtilities::existenceChecks_data()
{
    QVERIFY(m_folder.isValid());
    const QString root = QDir::toNativeSeparators(m_folder.path());
    QDir(m_folder.path()).mkdir("sub");
    QFile file(m_folder.filePath("x.raw"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("folder");
    QTest::addColumn<bool>("file");
    QTest::newRow("empty") << QString() << false << false;
    QTest::newRow("existing folder") << root << true << false;
    QTest::newRow("folder with separator") << AddBackslash(root) << true << false;
    QTest::newRow("sub folder") << AddBackslash(root) + "sub" << true << false;
    QTest::newRow("existing file") << AddBackslash(root) + "x.raw" << false << true;
    QTest::newRow("file with separator")
        << AddBackslash(root) + native("x.raw\\") << false << false;
    QTest::newRow("star") << AddBackslash(root) + "*.raw" << false << false;
    QTest::newRow("question mark") << AddBackslash(root) + "x.ra?" << false << false;
    QTest::newRow("folder star") << AddBackslash(root) + "*" << false << false;
    QTest::newRow("missing") << AddBackslash(root) + "y.raw" << false << false;
}

void TestPathUtilities::existenceChecks()
{
    QFETCH(QString, path);
    QFETCH(bool, folder);
    QFETCH(bool, file);
    QCOMPARE(FolderExists(path), folder);
    QCOMPARE(FileExists(path), file);
}

void TestPathUtilities::fileExistsFollowsFileSystemLetterCase()
{
    QFile file(m_folder.filePath("Mixed.RAW"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString other = QDir::toNativeSeparators(m_folder.filePath("mixed.raw"));
    QVERIFY(FileExists(QDir::toNativeSeparators(file.fileName())));
    // Other letter case finds the file exactly where the file system itself does.
    QCOMPARE(FileExists(other), QFileInfo::exists(other));
}

QTEST_GUILESS_MAIN(TestPathUtilities)
#include "tst_pathutilities.moc"
