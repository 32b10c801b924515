#include "features/files/StagedDownload.h"

#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

namespace
{
// Staging names tried after NAME.part when an earlier download left one behind.
constexpr int kStagingNames = 100;
} // namespace

bool StagedDownload::reserve()
{
    QFile target(m_target);
    m_targetExisted = target.exists();
    // Opened for appending, which changes nothing, to learn whether it can be written.
    if (m_targetExisted && !target.open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_error = target.errorString();
        return false;
    }
    target.close();
    for (int i = 0; i < kStagingNames; ++i) {
        const QString candidate =
            m_target + (i == 0 ? QStringLiteral(".part") : QStringLiteral(".%1.part").arg(i));
        QFile staging(candidate);
        if (staging.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            m_staging = candidate;
            return true;
        }
        m_error = staging.errorString();
        if (!staging.exists())
            return false;
    }
    return false;
}

bool StagedDownload::putInPlace()
{
    std::error_code error;
    std::filesystem::rename(QFileInfo(m_staging).filesystemFilePath(),
                            QFileInfo(m_target).filesystemFilePath(), error);
    if (error)
        m_error = QString::fromStdString(error.message());
    // Either way the file is no longer this object's to remove.
    m_staging.clear();
    return !error;
}

void StagedDownload::discard()
{
    if (!m_staging.isEmpty())
        QFile::remove(m_staging);
    m_staging.clear();
}
