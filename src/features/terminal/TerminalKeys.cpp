#include "features/terminal/TerminalKeys.h"

namespace
{
constexpr char kCarriageReturn = 13;
constexpr char kLineFeed = 10;
constexpr char kBackspace = 8;
constexpr char kTab = 9;
constexpr char kEscape = 27;
constexpr char kRubout = 127;

// One byte per character of the line's 8-bit character set; what it cannot hold goes as "?".
QByteArray lineBytes(const QString &text)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == kRubout)
            continue;
        bytes.append(code < 256 ? char(code) : '?');
    }
    return bytes;
}
} // namespace

QByteArray TerminalKeys::bytesFor(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool alt = modifiers.testFlag(Qt::AltModifier);
    // Alt alone belongs to the menus and the system. Ctrl with Alt is AltGr on some
    // systems, and then the character it gives counts.
    if (alt && !ctrl)
        return {};

    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QByteArray(1, ctrl && !alt ? kLineFeed : kCarriageReturn);
    case Qt::Key_Backspace:
        return QByteArray(1, ctrl && !alt ? kRubout : kBackspace);
    case Qt::Key_Escape:
        return QByteArray(1, kEscape);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return QByteArray(1, kTab);
    case Qt::Key_Delete:
        return {};
    default:
        break;
    }

    if (ctrl && !alt) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            return QByteArray(1, char(key - Qt::Key_A + 1));
        // Other Ctrl combinations count only when the system made a control character of
        // them (Ctrl+[ gives Escape on some keyboards).
        if (text.size() == 1 && text.at(0).unicode() < 32)
            return QByteArray(1, char(text.at(0).unicode()));
        return {};
    }
    return lineBytes(text);
}
