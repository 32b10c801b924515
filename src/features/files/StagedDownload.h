#pragma once

#include <QString>

// A download's bytes go first into a file beside its target (NAME.part). A complete download
// takes the target's place. One cut short never replaces a file that was there: its bytes
// stay beside it as NAME.part; where there was none, they stay under the name. A transfer
// that brought nothing leaves nothing behind.
class StagedDownload
{
public:
    explicit StagedDownload(const QString &target) : m_target(target) {}
    // Removes the staging file unless it was put in place.
    ~StagedDownload() { discard(); }
    StagedDownload(const StagedDownload &) = delete;
    StagedDownload &operator=(const StagedDownload &) = delete;

    // Creates the staging file, empty, once it is clear that the target can be replaced.
    // False, with errorString(), when the target or its folder cannot be written.
    bool reserve();
    QString stagingPath() const { return m_staging; }
    QString targetPath() const { return m_target; }
    // Whether a file of the target's name was there when the staging file was made.
    bool targetExisted() const { return m_targetExisted; }
    // The staging file replaces the target. False, with errorString(), when it could not;
    // the staging file is kept then (under the name stagingPath() gave).
    bool putInPlace();
    // The staging file stays as it is, under stagingPath().
    void keep() { m_staging.clear(); }
    void discard();
    QString errorString() const { return m_error; }

private:
    QString m_target;
    QString m_staging;
    QString m_error;
    bool m_targetExisted = false;
};
