#include "app/cli/DownloadPlacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>
#include <system_error>

DownloadPlacement::DownloadPlacement(const QString &folder, const QString &name)
    : m_name(name), m_target(QDir(folder).filePath(name)),
      m_staging(QDir(folder).filePath(QStringLiteral(".orvantis-get-XXXXXX")))
{
}

bool DownloadPlacement::prepare()
{
    if (!m_staging.isValid())
        m_error = m_staging.errorString();
    return m_staging.isValid();
}

QString DownloadPlacement::stagingPath() const
{
    return m_staging.filePath(m_name);
}

QString DownloadPlacement::finish(bool complete)
{
    if (!QFile::exists(stagingPath()))
        return QString();
    if (complete)
        return move(m_target) ? QString() : stagingPath();
    const QString kept = QFile::exists(m_target) ? m_target + QStringLiteral(".part") : m_target;
    return move(kept) ? kept : stagingPath();
}

// A rename within the folder: the old file is replaced in one step.
bool DownloadPlacement::move(const QString &to)
{
    std::error_code error;
    std::filesystem::rename(QFileInfo(stagingPath()).filesystemFilePath(),
                            QFileInfo(to).filesystemFilePath(), error);
    if (error) {
        m_error = QString::fromStdString(error.message());
        // Kept, so that nothing that came is lost.
        m_staging.setAutoRemove(false);
    }
    return !error;
}
