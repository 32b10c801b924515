#pragma once

#include <QString>

// A download's bytes go first into a file beside its target, which takes the target's place
// only when the download brought something: a transfer that fails before its first byte
// leaves an existing local file as it was.
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
    // The staging file replaces the target. False, with errorString(), when it could not;
    // the staging file is kept then (under the name stagingPath() gave).
    bool putInPlace();
    void discard();
    QString errorString() const { return m_error; }

private:
    QString m_target;
    QString m_staging;
    QString m_error;
};
