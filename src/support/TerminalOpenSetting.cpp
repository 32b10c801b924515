#include "support/TerminalOpenSetting.h"

#include "support/SettingsKeys.h"

#include <QSettings>
#include <QVariant>

bool TerminalOpenSetting::wasOpen()
{
    QSettings settings;
    settings.beginGroup(SettingsKeys::kTerminalSection);
    const QVariant value = settings.value(SettingsKeys::kOpen, QString());
    return value.typeId() == QMetaType::QString && value.toString() == SettingsKeys::kTrue;
}

void TerminalOpenSetting::save(bool open)
{
    QSettings settings;
    settings.beginGroup(SettingsKeys::kTerminalSection);
    settings.setValue(SettingsKeys::kOpen,
                      QString(open ? SettingsKeys::kTrue : SettingsKeys::kFalse));
}
