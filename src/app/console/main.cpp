// Builds the program over the system's serial ports and real dialogs, and runs start-up.

#include "app/console/ConsoleBinding.h"
#include "link/QtCommPort.h"
#include "support/SettingsKeys.h"
#include "support/Version.h"
#include "ui/widgets/QtOperatorDialogs.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvantis"));
    QCoreApplication::setApplicationName(SettingsKeys::kApplication);
    QCoreApplication::setApplicationVersion(QLatin1String(kProductVersion));

    const PortTable ports = PortTable::fromSystem();
    QtCommPort comm(ports);
    QtOperatorDialogs dialogs;
    ConsoleBinding console(comm, ports, dialogs);
    console.session.eventLog().setFolder(EventLog::defaultFolder());
    dialogs.setOwner(&console.form);
    console.startUp();
    return app.exec();
}
