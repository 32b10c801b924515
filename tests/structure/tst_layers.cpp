// The program's layers as its sources include them. A failure names the file and the include
// that break the rule.
#include "testkit/TestFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <functional>

namespace
{
const QString kSourceRoot = QStringLiteral(ORVANTIS_SOURCE_DIR "/src/");

// What each library may include, itself included; the order of the layers in src/.
const QList<QPair<QString, QStringList>> kLibraries = {
    {"support", {"support"}},
    {"link", {"support", "link"}},
    {"session", {"support", "link", "session"}},
    {"features", {"support", "link", "session", "features"}},
    {"ui", {"support", "link", "session", "features", "ui"}},
    {"app/console", {"support", "link", "session", "features", "ui", "app/console"}},
    // The command line runs without a display: nothing from the windows.
    {"app/cli", {"support", "link", "session", "features", "app/cli"}},
};

// What reaches the port: link/ but for what only describes a port, and the transaction.
const QStringList kPortDescriptions = {"link/PortTable.h", "link/PortAddress.h",
                                       "link/PortOpenError.h"};
const QString kTransaction = QStringLiteral("session/CommandTransaction.h");
// Besides link/ and session/, only these build a session over the port.
const QStringList kCompositionRoots = {"app/console/main.cpp", "app/console/ConsoleBinding.h",
                                       "app/console/ConsoleBinding.cpp", "app/cli/main.cpp",
                                       "app/cli/CliProgram.cpp"};

bool reachesThePort(const QString &header)
{
    return header == kTransaction ||
           (header.startsWith(QStringLiteral("link/")) && !kPortDescriptions.contains(header));
}

// "ui/status/StatusBinding.cpp" -> its library's entry ("ui" and what it may include), or null.
const QPair<QString, QStringList> *libraryOf(const QString &path)
{
    for (const auto &library : kLibraries) {
        if (path.startsWith(library.first + QLatin1Char('/')))
            return &library;
    }
    return nullptr;
}

// Every source under src/ (relative path) with the project headers it includes.
QHash<QString, QStringList> includesOfEverySource()
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    QHash<QString, QStringList> includes;
    QDirIterator it(kSourceRoot, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QStringList &found = includes[path.mid(kSourceRoot.size())];
        for (const QRegularExpressionMatch &match :
             include.globalMatch(QString::fromUtf8(fileBytes(path))))
            found << match.captured(1);
    }
    return includes;
}

// A circle in `graph` as "a -> b -> a", or empty when there is none.
QString findCircle(const QHash<QString, QSet<QString>> &graph)
{
    enum Mark { Unseen, OnPath, Done };
    QHash<QString, Mark> marks;
    QStringList path;
    QString circle;
    std::function<bool(const QString &)> visit = [&](const QString &node) {
        marks[node] = OnPath;
        path << node;
        QStringList next(graph.value(node).cbegin(), graph.value(node).cend());
        next.sort();
        for (const QString &to : next) {
            if (marks.value(to, Unseen) == OnPath) {
                circle = (path.mid(path.indexOf(to)) << to).join(QStringLiteral(" -> "));
                return true;
            }
            if (marks.value(to, Unseen) == Unseen && visit(to))
                return true;
        }
        marks[node] = Done;
        path.removeLast();
        return false;
    };
    QStringList nodes = graph.keys();
    nodes.sort();
    for (const QString &node : nodes) {
        if (marks.value(node, Unseen) == Unseen && visit(node))
            return circle;
    }
    return QString();
}
} // namespace

class Layers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everyIncludeKeepsToItsLayer();
    void noFolderOrFileIncludesItselfInACircle();

private:
    QHash<QString, QStringList> m_includes;
};

void Layers::initTestCase()
{
    m_includes = includesOfEverySource();
    QVERIFY2(m_includes.size() > 100, qPrintable(kSourceRoot));
}

// Each library includes only from below it, and only the session and the composition roots
// reach the port.
void Layers::everyIncludeKeepsToItsLayer()
{
    QStringList faults;
    for (auto it = m_includes.cbegin(); it != m_includes.cend(); ++it) {
        const auto *library = libraryOf(it.key());
        if (!library) {
            faults << QStringLiteral("src/%1 is in no library's folder").arg(it.key());
            continue;
        }
        const bool mayReachThePort = library->first == QLatin1String("link") ||
                                     library->first == QLatin1String("session") ||
                                     kCompositionRoots.contains(it.key());
        for (const QString &header : it.value()) {
            const auto *from = libraryOf(header);
            if (from && !library->second.contains(from->first))
                faults << QStringLiteral("src/%1 includes %2: %3 may include only from %4")
                              .arg(it.key(), header, library->first, library->second.join(", "));
            if (!mayReachThePort && reachesThePort(header))
                faults << QStringLiteral("src/%1 includes %2: only the session and the "
                                         "composition roots (%3) reach the port")
                              .arg(it.key(), header, kCompositionRoots.join(", "));
        }
    }
    faults.sort();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void Layers::noFolderOrFileIncludesItselfInACircle()
{
    const auto folderOf = [](const QString &path) { return path.left(path.lastIndexOf('/')); };
    const auto unitOf = [](const QString &path) { return path.left(path.lastIndexOf('.')); };
    QHash<QString, QSet<QString>> folders;
    QHash<QString, QSet<QString>> units;
    for (auto it = m_includes.cbegin(); it != m_includes.cend(); ++it) {
        for (const QString &header : it.value()) {
            if (!libraryOf(header))
                continue;
            if (folderOf(header) != folderOf(it.key()))
                folders[folderOf(it.key())].insert(folderOf(header));
            if (unitOf(header) != unitOf(it.key()))
                units[unitOf(it.key())].insert(unitOf(header));
        }
    }
    QCOMPARE(findCircle(folders), QString());
    QCOMPARE(findCircle(units), QString());
}

QTEST_GUILESS_MAIN(Layers)
#include "tst_layers.moc"
