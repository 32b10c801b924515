#pragma once

#include "SimOptions.h"

#include <QString>

// What the simulated instrument keeps over a restart, as a real one keeps it in its
// non-volatile memory: the rate it comes up at.
class SimStateFile
{
public:
    explicit SimStateFile(QString path) : m_path(std::move(path)) {}

    // Makes a stored start-up rate the instrument's rate and start-up rate. A missing file,
    // or one without a usable rate, leaves `options` as they are (false).
    bool load(SimOptions *options) const;
    // Writes the start-up rate; false with errorString() when it cannot be written.
    bool save(const SimOptions &options);
    QString errorString() const { return m_error; }

private:
    QString m_path;
    QString m_error;
};
