#include "SimInstrumentDisk.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{
constexpr qint64 kDriveCapacity = 64LL * 1024 * 1024;
const QByteArray kStamp = "  2024-03-15  10:02";
const QByteArray kProcessingExtension = ".TLT";

QByteArray root(const QByteArray &drive)
{
    return drive + '\\';
}

QByteArray join(const QByteArray &directory, const QByteArray &name)
{
    return directory.endsWith('\\') ? directory + name : directory + '\\' + name;
}

QByteArray parentOf(const QByteArray &path)
{
    const qsizetype cut = path.lastIndexOf('\\');
    return cut <= 2 ? path.left(3) : path.left(cut);
}

// "52428800" -> "52,428,800", as the listing writes sizes.
QByteArray withThousands(qint64 value)
{
    QByteArray digits = QByteArray::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, ',');
    return digits;
}

QByteArray entryLine(const QByteArray &name, const QByteArray &sizeOrDir)
{
    return name.leftJustified(14, ' ', true) + sizeOrDir.rightJustified(12) + kStamp;
}

bool matches(const QByteArray &pattern, const QByteArray &name)
{
    const QRegularExpression re(
        QRegularExpression::wildcardToRegularExpression(QString::fromLatin1(pattern)),
        QRegularExpression::CaseInsensitiveOption);
    return re.match(QString::fromLatin1(name)).hasMatch();
}
} // namespace

SimInstrumentDisk::SimInstrumentDisk()
{
    addDirectory("C:\\");
}

SimInstrumentDisk SimInstrumentDisk::sample()
{
    SimInstrumentDisk disk;
    disk.addFile("C:\\DATA\\RUN1.TLT", 48213);
    disk.addFile("C:\\DATA\\RUN2.TLT", 51977);
    disk.addFile("C:\\DATA\\CAL.TLT", 12004);
    disk.addFile("C:\\DATA\\NOTES.TXT", 310);
    disk.addFile("C:\\DATA\\OLD\\RUN0.TLT", 40960);
    disk.addFile("D:\\ARCHIVE\\A1.TLT", 39012);
    return disk;
}

void SimInstrumentDisk::addDirectory(const QByteArray &path)
{
    QByteArray directory = path.toUpper();
    if (directory.size() > 3 && directory.endsWith('\\'))
        directory.chop(1);
    while (!m_directories.contains(directory)) {
        m_directories.insert(directory);
        if (directory.size() <= 3)
            break;
        directory = parentOf(directory);
    }
    const QByteArray drive = driveOf(directory);
    if (!m_current.contains(drive))
        m_current.insert(drive, root(drive));
}

void SimInstrumentDisk::addFile(const QByteArray &path, qint64 size)
{
    const QByteArray file = path.toUpper();
    addDirectory(parentOf(file));
    m_files.insert(file, size);
}

bool SimInstrumentDisk::mount(const QByteArray &volume)
{
    if (volume.trimmed().isEmpty())
        return false;
    m_mounted = true;
    return true;
}

QByteArray SimInstrumentDisk::currentDirectory() const
{
    return m_current.value(m_drive, root(m_drive));
}

bool SimInstrumentDisk::setDrive(const QByteArray &drive)
{
    const QByteArray wanted = drive.trimmed().toUpper();
    if (wanted.size() != 2 || wanted.at(1) != ':' || !isDirectory(root(wanted)))
        return false;
    m_drive = wanted;
    return true;
}

bool SimInstrumentDisk::changeDirectory(const QByteArray &path)
{
    const QByteArray target = resolve(path);
    if (!isDirectory(target))
        return false;
    m_current.insert(driveOf(target), target);
    return true;
}

QByteArray SimInstrumentDisk::resolve(const QByteArray &path) const
{
    QByteArray rest = path.trimmed().toUpper();
    QByteArray drive = m_drive;
    if (rest.size() >= 2 && rest.at(1) == ':') {
        drive = rest.left(2);
        rest = rest.mid(2);
    }
    QByteArray at = rest.startsWith('\\') ? root(drive) : m_current.value(drive, root(drive));
    for (const QByteArray &part : rest.split('\\')) {
        if (part.isEmpty() || part == ".")
            continue;
        at = part == ".." ? parentOf(at) : join(at, part);
    }
    return at;
}

QList<QByteArray> SimInstrumentDisk::listing(const QByteArray &arguments) const
{
    bool directoriesOnly = false;
    QByteArray pattern;
    for (const QByteArray &word : arguments.simplified().split(' ')) {
        if (word.toUpper() == "/AD")
            directoriesOnly = true;
        else if (!word.isEmpty() && !word.startsWith('/'))
            pattern = word;
    }

    const QByteArray here = currentDirectory();
    QList<QByteArray> entries;
    int directories = 0;
    int files = 0;
    qint64 bytes = 0;
    if (directoriesOnly || pattern.isEmpty()) {
        if (here.size() > 3) {
            entries << entryLine(".", "<DIR>") << entryLine("..", "<DIR>");
            directories += 2;
        }
        QList<QByteArray> names;
        for (const QByteArray &directory : m_directories) {
            if (directory.size() > 3 && parentOf(directory) == here)
                names << directory.mid(directory.lastIndexOf('\\') + 1);
        }
        std::sort(names.begin(), names.end());
        for (const QByteArray &name : names)
            entries << entryLine(name, "<DIR>");
        directories += int(names.size());
    }
    qint64 used = 0;
    for (auto it = m_files.cbegin(); it != m_files.cend(); ++it) {
        if (driveOf(it.key()) == m_drive)
            used += it.value();
        if (directoriesOnly || parentOf(it.key()) != here)
            continue;
        const QByteArray name = it.key().mid(it.key().lastIndexOf('\\') + 1);
        if (!pattern.isEmpty() && !matches(pattern, name))
            continue;
        entries << entryLine(name, withThousands(it.value()));
        ++files;
        bytes += it.value();
    }

    QList<QByteArray> lines;
    lines << " Volume in drive " + m_drive.left(1) + " is BIHD"
          << " Directory of " + here << QByteArray();
    lines << entries;
    lines << QByteArray::number(files).rightJustified(10) + " File(s)" +
                 withThousands(bytes).rightJustified(15) + " bytes";
    lines << QByteArray::number(directories).rightJustified(10) + " Dir(s) " +
                 withThousands(kDriveCapacity - used).rightJustified(15) + " bytes free";
    return lines;
}

QByteArray SimInstrumentDisk::findProcessingFile(const QByteArray &path) const
{
    const QByteArray wanted = path.trimmed().toUpper();
    if (wanted.isEmpty())
        return QByteArray();
    for (const QByteArray &candidate : {resolve(wanted + kProcessingExtension), resolve(wanted)}) {
        if (candidate.endsWith(kProcessingExtension) && m_files.contains(candidate))
            return candidate;
    }
    // A directory text run straight into the name: the longest directory that begins the
    // path and holds the rest as a file.
    QByteArray best;
    for (const QByteArray &directory : m_directories) {
        if (directory.size() <= best.size() || !wanted.startsWith(directory))
            continue;
        const QByteArray file =
            join(directory, wanted.mid(directory.size()) + kProcessingExtension);
        if (m_files.contains(file))
            best = directory;
    }
    if (best.isEmpty())
        return QByteArray();
    return join(best, wanted.mid(best.size()) + kProcessingExtension);
}
