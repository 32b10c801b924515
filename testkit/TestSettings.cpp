#include "testkit/TestSettings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>

void useTemporarySettings(const QString &folder)
{
    QCoreApplication::setOrganizationName(QStringLiteral("OrvantisConsoleTests"));
    QCoreApplication::setApplicationName(QStringLiteral("Orvantis Console"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}
