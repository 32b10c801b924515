#include "SimFlashDisk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

SimFlashDisk::SimFlashDisk(const QString &folder, qint64 capacity)
    : m_folder(folder), m_capacity(capacity)
{
    if (!m_folder.isEmpty())
        m_usable = QDir().mkpath(m_folder);
}

bool SimFlashDisk::isValidName(const QByteArray &name)
{
    if (name.isEmpty() || name.size() > kMaxNameLength || name == "." || name == "..")
        return false;
    for (char c : name) {
        if (quint8(c) <= ' ' || quint8(c) >= 127 || QByteArray("\"*,/:<>?\\|").contains(c))
            return false;
    }
    return true;
}

QList<SimDiskEntry> SimFlashDisk::entries() const
{
    QList<SimDiskEntry> out;
    if (m_folder.isEmpty()) {
        for (const File &file : m_files)
            out.append({file.name, file.bytes.size(), file.modified});
        return out;
    }
    const QFileInfoList infos =
        QDir(m_folder).entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &info : infos) {
        const QByteArray name = QFile::encodeName(info.fileName());
        if (isValidName(name))
            out.append({name, info.size(), info.lastModified()});
    }
    return out;
}

bool SimFlashDisk::contains(const QByteArray &name) const
{
    return !storedName(name).isEmpty();
}

bool SimFlashDisk::read(const QByteArray &name, QByteArray *bytes) const
{
    const QByteArray stored = storedName(name);
    if (stored.isEmpty())
        return false;
    if (m_folder.isEmpty()) {
        *bytes = m_files.value(stored.toLower()).bytes;
        return true;
    }
    QFile file(pathOf(stored));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

bool SimFlashDisk::write(const QByteArray &name, const QByteArray &bytes, const QDateTime &modified)
{
    if (!isValidName(name) || !m_usable)
        return false;
    QByteArray stored = storedName(name);
    if (stored.isEmpty())
        stored = name;
    if (m_folder.isEmpty()) {
        m_files.insert(stored.toLower(), {stored, bytes, modified});
        return true;
    }
    QFile file(pathOf(stored));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    file.setFileTime(modified, QFileDevice::FileModificationTime);
    return true;
}

bool SimFlashDisk::append(const QByteArray &name, const QByteArray &bytes,
                          const QDateTime &modified)
{
    QByteArray old;
    read(name, &old);
    return write(name, old + bytes, modified);
}

bool SimFlashDisk::remove(const QByteArray &name)
{
    const QByteArray stored = storedName(name);
    if (stored.isEmpty())
        return false;
    if (m_folder.isEmpty())
        return m_files.remove(stored.toLower()) > 0;
    return QFile::remove(pathOf(stored));
}

qint64 SimFlashDisk::usedBytes() const
{
    qint64 used = 0;
    for (const SimDiskEntry &entry : entries())
        used += entry.size;
    return used;
}

void SimFlashDisk::seed(const QDateTime &now)
{
    write("README.TXT",
          "Orvantis flash memory\r\n"
          "Samples stored by the instrument are kept here as NAME.RAW.\r\n"
          "Files can be fetched and sent with the console's file manager.\r\n",
          now.addDays(-12).addSecs(-3 * 3600));
    write("SETUP.INI", "[acquire]\r\nintegration=20\r\naverage=1\r\n[light]\r\nwarmup=120\r\n",
          now.addDays(-30).addSecs(-47 * 60));
    // Every byte value, in an order that is not just a ramp, so a download that loses or
    // alters any byte shows it.
    QByteArray binary(102400, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 7 + i / 256) & 0xff);
    write("SPECTRA.BIN", binary, now.addDays(-2).addSecs(-5 * 3600 - 25 * 60));
}

QByteArray SimFlashDisk::storedName(const QByteArray &name) const
{
    if (!isValidName(name))
        return QByteArray();
    if (m_folder.isEmpty()) {
        const auto it = m_files.constFind(name.toLower());
        return it == m_files.constEnd() ? QByteArray() : it->name;
    }
    for (const SimDiskEntry &entry : entries()) {
        if (entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return entry.name;
    }
    return QByteArray();
}

QString SimFlashDisk::pathOf(const QByteArray &name) const
{
    return QDir(m_folder).filePath(QFile::decodeName(name));
}
