// orvantis: the instrument from the command line, on the session and the features of the
// console, without a display.

#include "app/cli/CliProgram.h"
#include "support/SettingsKeys.h"
#include "support/Version.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    // Nothing here shares GLib's main loop, and Qt's own event dispatcher is the lighter.
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB"))
        qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    // The console's settings: the last connection that worked is shared.
    QCoreApplication::setOrganizationName(QStringLiteral("Orvantis"));
    QCoreApplication::setApplicationName(SettingsKeys::kApplication);
    QCoreApplication::setApplicationVersion(QLatin1String(kProductVersion));
    return CliProgram(QCoreApplication::arguments()).run();
}
