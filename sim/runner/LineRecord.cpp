#include "LineRecord.h"

#include <QFile>
#include <sys/stat.h>
#include <unistd.h>

LineRecord::~LineRecord()
{
    if (m_file)
        std::fclose(m_file);
}

bool LineRecord::open(const QString &path)
{
    m_path = path;
    if (path.isEmpty())
        return true;
    m_file = std::fopen(QFile::encodeName(path).constData(), "ab");
    return m_file != nullptr;
}

void LineRecord::append(const QByteArray &bytes)
{
    if (!m_file)
        return;
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_file);
    std::fflush(m_file);
}

void LineRecord::takeBack(qint64 count)
{
    if (count <= 0 || !m_file)
        return;
    std::fflush(m_file);
    const int record = fileno(m_file);
    struct stat info {
    };
    if (::fstat(record, &info) != 0 ||
        ::ftruncate(record, std::max<off_t>(0, info.st_size - off_t(count))) != 0)
        std::fprintf(stderr, "orvantis-sim: cannot take %lld unsent bytes off %s\n",
                     static_cast<long long>(count), qPrintable(m_path));
}
