#include "session/DataFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace
{
// Error numbers the operator may know from the instrument's own software.
constexpr int kDiskFull = 61;
constexpr int kDeviceIoError = 57;
constexpr int kPathAccessError = 75;
} // namespace

bool DataFile::open(const QString &path, const QString &shownAs)
{
    return openWith(path, QIODevice::WriteOnly | QIODevice::Truncate, shownAs);
}

bool DataFile::openForAppend(const QString &path)
{
    return openWith(path, QIODevice::WriteOnly | QIODevice::Append, QString());
}

bool DataFile::openStandardOutput()
{
    if (m_file.isOpen())
        close();
    m_file.setFileName(QString());
    m_shownAs = tr("standard output");
    return opened(m_file.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                              QFileDevice::DontCloseHandle));
}

bool DataFile::openWith(const QString &path, QIODevice::OpenMode mode, const QString &shownAs)
{
    if (m_file.isOpen())
        close();
    m_shownAs = shownAs;
    m_file.setFileName(path);
    return opened(m_file.open(mode | QIODevice::Unbuffered));
}

bool DataFile::opened(bool ok)
{
    m_pending.clear();
    m_errorNumber = ok ? 0 : kPathAccessError;
    m_errorString = ok ? QString() : m_file.errorString();
    if (ok)
        emit openChanged(true);
    return ok;
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
        m_errorString =
            err == EFBIG ? tr("File too large (the file size limit is reached)") : tr("Disk full");
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
