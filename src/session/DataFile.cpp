#include "session/DataFile.h"

#include <cerrno>
#include <cstring>

namespace
{
// Error numbers the operator may know from the instrument's own software.
constexpr int kDiskFull = 61;
constexpr int kDeviceIoError = 57;
constexpr int kPathAccessError = 75;
} // namespace

bool DataFile::open(const QString &path)
{
    return openWith(path, QIODevice::WriteOnly | QIODevice::Truncate);
}

bool DataFile::openForAppend(const QString &path)
{
    return openWith(path, QIODevice::WriteOnly | QIODevice::Append);
}

bool DataFile::openWith(const QString &path, QIODevice::OpenMode mode)
{
    if (m_file.isOpen())
        close();
    m_pending.clear();
    m_errorNumber = 0;
    m_errorString.clear();
    m_file.setFileName(path);
    if (!m_file.open(mode | QIODevice::Unbuffered)) {
        m_errorNumber = kPathAccessError;
        m_errorString = m_file.errorString();
        return false;
    }
    emit openChanged(true);
    return true;
}

bool DataFile::flush()
{
    if (!m_file.isOpen() || m_pending.isEmpty())
        return true;
    errno = 0;
    const qint64 written = m_file.write(m_pending);
    if (written != m_pending.size()) {
        if (written > 0)
            m_pending.remove(0, written);
        recordError();
        return false;
    }
    m_pending.clear();
    return true;
}

void DataFile::recordError()
{
    const int err = errno;
    if (err == ENOSPC || err == EDQUOT || err == EFBIG) {
        m_errorNumber = kDiskFull;
        m_errorString = err == EFBIG
                            ? QStringLiteral("File too large (the file size limit is reached)")
                            : QStringLiteral("Disk full");
    } else {
        m_errorNumber = kDeviceIoError;
        m_errorString = err ? QString::fromLocal8Bit(std::strerror(err)) : m_file.errorString();
    }
}

bool DataFile::close()
{
    if (!m_file.isOpen())
        return true;
    const bool ok = flush();
    m_file.close();
    m_pending.clear();
    emit openChanged(false);
    return ok;
}

void DataFile::abandon()
{
    m_pending.clear();
    if (!m_file.isOpen())
        return;
    m_file.close();
    emit openChanged(false);
}
