// The program's layers as its sources include them: each library includes only from the
// libraries below it, only the session and the composition roots reach the port, and neither
// folders nor files include each other in a circle. A failure names the file and the include
// that break the rule.
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

// What reaches the port: the port itself with its readers, and the command transaction. Port
// numbers, addresses and open errors only describe a port.
const QStringList kPortDescriptions = {"link/PortTable.h", "link/PortAddress.h",
                                       "link/PortOpenError.h"};
const QString kTransaction = QStringLiteral("session/CommandTransaction.h");
// Besides the session (over the transport) only these include it: they build a session over
// the port, each front end in one place.
const QStringList kCompositionRoots = {"app/console/main.cpp", "app/console/ConsoleBinding.h",
                                       "app/console/ConsoleBinding.cpp", "app/cli/main.cpp",
                                       "app/cli/CliProgram.cpp"};

bool reachesThePort(const QString &header)
{
    return header == kTransaction ||
           (header.startsWith(QStringLiteral("link/")) && !kPortDescriptions.contains(header));
}

// "ui/status/StatusBinding.cpp" -> the library it belongs to ("ui"), or empty.
QString libraryOf(const QString &path)
{
    for (const auto &[library, allowed] : kLibraries) {
        if (path.startsWith(library + QLatin1Char('/')))
            return library;
    }
    return QString();
}

QStringList allowedFor(const QString &library)
{
    for (const auto &[name, allowed] : kLibraries) {
        if (name == library)
            return allowed;
    }
    return {};
}

// Every source under src/ (relative path) with the project headers it includes.
QHash<QString, QStringList> includesOfEverySource()
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""));
    QHash<QString, QStringList> includes;
    QDirIterator it(kSourceRoot, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        QStringList found;
        while (!file.atEnd()) {
            const QRegularExpressionMatch match = include.match(QString::fromUtf8(file.readLine()));
            if (match.hasMatch())
                found << match.captured(1);
        }
        includes.insert(path.mid(kSourceRoot.size()), found);
    }
    return includes;
}

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')));
}

QString unitOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('.')));
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
    void everyLibraryIncludesOnlyFromBelow();
    void onlyTheSessionAndTheCompositionRootsReachThePort();
    void noFolderOrFileIncludesItselfInACircle();

private:
    QHash<QString, QStringList> m_includes;
};

void Layers::initTestCase()
{
    m_includes = includesOfEverySource();
    QVERIFY2(m_includes.size() > 100, qPrintable(kSourceRoot));
}

void Layers::everyLibraryIncludesOnlyFromBelow()
{
    QStringList faults;
    for (auto it = m_includes.cbegin(); it != m_includes.cend(); ++it) {
        const QString library = libraryOf(it.key());
        if (library.isEmpty()) {
            faults << QStringLiteral("src/%1 is in no library's folder").arg(it.key());
            continue;
        }
        const QStringList allowed = allowedFor(library);
        for (const QString &header : it.value()) {
            const QString from = libraryOf(header);
            if (!from.isEmpty() && !allowed.contains(from))
                faults << QStringLiteral("src/%1 includes %2: %3 may include only from %4")
                              .arg(it.key(), header, library, allowed.join(QStringLiteral(", ")));
        }
    }
    faults.sort();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void Layers::onlyTheSessionAndTheCompositionRootsReachThePort()
{
    QStringList faults;
    for (auto it = m_includes.cbegin(); it != m_includes.cend(); ++it) {
        const QString library = libraryOf(it.key());
        if (library == QLatin1String("link") || library == QLatin1String("session") ||
            kCompositionRoots.contains(it.key()))
            continue;
        for (const QString &header : it.value()) {
            if (reachesThePort(header))
                faults << QStringLiteral("src/%1 includes %2: only the session and the "
                                         "composition roots (%3) reach the port")
                              .arg(it.key(), header, kCompositionRoots.join(QStringLiteral(", ")));
        }
    }
    faults.sort();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

void Layers::noFolderOrFileIncludesItselfInACircle()
{
    QHash<QString, QSet<QString>> folders;
    QHash<QString, QSet<QString>> units;
    for (auto it = m_includes.cbegin(); it != m_includes.cend(); ++it) {
        for (const QString &header : it.value()) {
            if (libraryOf(header).isEmpty())
                continue;
            if (folderOf(header) != folderOf(it.key()))
                folders[folderOf(it.key())].insert(folderOf(header));
            if (unitOf(header) != unitOf(it.key()))
                units[unitOf(it.key())].insert(unitOf(header));
        }
    }
    const QString folderCircle = findCircle(folders);
    QVERIFY2(folderCircle.isEmpty(), qPrintable("folders include each other: " + folderCircle));
    const QString fileCircle = findCircle(units);
    QVERIFY2(fileCircle.isEmpty(), qPrintable("files include each other: " + fileCircle));
}

QTEST_GUILESS_MAIN(Layers)
#include "tst_layers.moc"
