#include "testkit/DeviceConsole.h"

#include <QCheckBox>
#include <QFile>

DeviceConsole::DeviceConsole(const QString &device, OperatorDialogs *dialogs)
    : comm(PortTable({device})), binding(comm, PortTable({device}), dialogs ? *dialogs : scripted)
{
}

void DeviceConsole::stopPolling()
{
    if (controls().StatusCheck->isChecked())
        controls().StatusCheck->click();
}

QByteArray DeviceConsole::fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}
