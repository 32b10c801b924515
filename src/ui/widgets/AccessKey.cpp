#include "ui/widgets/AccessKey.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QWidget>

qint16 HandleAccessKey(QWidget *window, qint16 keyCode)
{
    if (!window || !qobject_cast<QAbstractButton *>(window->focusWidget()))
        return keyCode;
    const QChar key = QChar(ushort(keyCode)).toLower();
    const auto buttons = window->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        const QString caption = button->text();
        const int amp = caption.indexOf(QLatin1Char('&'));
        if (amp < 0 || amp + 1 >= caption.size())
            continue;
        if (caption.at(amp + 1).toLower() == key) {
            button->click();
            return 0;
        }
    }
    return keyCode;
}
