#pragma once

#include <QString>
#include <QTemporaryDir>

// Where a download goes on its way, so that one that does not complete never replaces a
// good local file: the bytes come into a folder of their own beside the target, which only
// a complete download replaces. What an incomplete one brought is kept: under the target's
// name when there was no such file, beside it as NAME.part when there was.
class DownloadPlacement
{
public:
    DownloadPlacement(const QString &folder, const QString &name);

    // False, with errorString(), when the folder cannot take the download.
    bool prepare();
    // The path the download writes: the instrument's name in the folder of its own.
    QString stagingPath() const;
    QString targetPath() const { return m_target; }

    // Puts what came where it belongs. Returns where an incomplete download's bytes are
    // kept (empty when none came); errorString() is set when they could not be moved.
    QString finish(bool complete);
    QString errorString() const { return m_error; }

private:
    bool move(const QString &to);

    QString m_name;
    QString m_target;
    QTemporaryDir m_staging;
    QString m_error;
};
