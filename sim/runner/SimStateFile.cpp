#include "SimStateFile.h"

#include <QFile>
#include <QSaveFile>

namespace
{
const QByteArray kStartupKey("startupBaudRate=");
}

bool SimStateFile::load(SimOptions *options) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith(kStartupKey))
            continue;
        bool ok = false;
        const int rate = line.mid(kStartupKey.size()).toInt(&ok);
        if (!ok || rate <= 0)
            return false;
        options->baudRate = rate;
        options->startupBaudRate = rate;
        return true;
    }
    return false;
}

bool SimStateFile::save(const SimOptions &options)
{
    // Written whole or not at all, so a runner stopped mid-write leaves the old state.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        m_error = file.errorString();
        return false;
    }
    file.write(kStartupKey + QByteArray::number(options.startupBaudRate) + '\n');
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}
