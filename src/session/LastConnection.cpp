#include "session/LastConnection.h"

#include "support/SettingsKeys.h"

#include <QSettings>

LastConnection LastConnection::load()
{
    QSettings settings;
    settings.beginGroup(SettingsKeys::kConnectionSection);
    LastConnection last;
    last.device = settings.value(SettingsKeys::kDevice).toString();
    bool ok = false;
    last.rate = settings.value(SettingsKeys::kRate).toString().toInt(&ok);
    if (!ok || last.rate <= 0)
        last.rate = 0;
    return last;
}

void LastConnection::save() const
{
    QSettings settings;
    settings.beginGroup(SettingsKeys::kConnectionSection);
    settings.setValue(SettingsKeys::kDevice, device);
    settings.setValue(SettingsKeys::kRate, QString::number(rate));
}
