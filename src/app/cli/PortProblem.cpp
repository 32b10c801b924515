#include "app/cli/PortProblem.h"

#include "link/PortAddress.h"

#include <QFile>

#include <unistd.h>

PortProblem::PortProblem(const QString &device, const PortOpenError &error)
{
    // A device server's address is no file: the connection's own error says what went wrong.
    if (PortAddress::parse(device).isNetwork()) {
        m_text = tr("cannot reach %1 (%2)").arg(device, error.text);
        return;
    }
    const QByteArray path = QFile::encodeName(device);
    const bool exists = ::access(path.constData(), F_OK) == 0;
    const bool usable = ::access(path.constData(), R_OK | W_OK) == 0;
    if (!exists || error.kind == PortOpenError::Kind::NotFound) {
        m_text = tr("port %1 does not exist: is the Orvantis's cable or adapter "
                    "plugged in?")
                     .arg(device);
    } else if (error.kind == PortOpenError::Kind::Permission && usable) {
        m_inUse = true;
        m_text = tr("port %1 is in use by another program").arg(device);
    } else if (error.kind == PortOpenError::Kind::Permission) {
        m_text = tr("no permission to use port %1: add your user to its group "
                    "(sudo usermod -aG dialout $USER) and log in again")
                     .arg(device);
    } else {
        m_text = tr("port %1 cannot be opened (%2)").arg(device, error.text);
    }
}
