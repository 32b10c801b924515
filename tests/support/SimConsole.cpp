#include "SimConsole.h"

#include <QCheckBox>
#include <QFile>

SimConsole::SimConsole(const QString &device, OperatorDialogs *dialogs)
    : comm(PortTable({device})), binding(comm, PortTable({device}), dialogs ? *dialogs : scripted)
{
}

void SimConsole::stopPolling()
{
    if (controls().StatusCheck->isChecked())
        controls().StatusCheck->click();
}

QByteArray SimConsole::fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}
