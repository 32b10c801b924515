#pragma once

#include <QByteArray>
#include <QString>
#include <Qt>

// What a key press in the terminal sends to the instrument: the one byte of the character
// the key produces (Enter = CR, Backspace = 8, Escape = 27, Ctrl with a letter = 1 to 26),
// or nothing for keys without a character (arrows, function keys, Delete), which are left to
// the text view.
class TerminalKeys
{
public:
    // `text` is what the system made of the key press (QKeyEvent::text()).
    static QByteArray bytesFor(int key, Qt::KeyboardModifiers modifiers, const QString &text);
};
