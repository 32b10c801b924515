#include "features/status/StatusSample.h"

#include "support/RoundHalfEven.h"
#include "support/StringCode.h"

#include <QtNumeric>

namespace
{
// By State: the history file's spelling, which is also the caption's English text.
const char *const kStateNames[] = {QT_TRANSLATE_NOOP("StatusSample", "off"),
                                   QT_TRANSLATE_NOOP("StatusSample", "stabilizing"),
                                   QT_TRANSLATE_NOOP("StatusSample", "stable")};

// The text up to its first control character: the receive loop may hand over a line
// together with its line end and whatever followed it in the same run.
QByteArray firstLine(const QByteArray &text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text.at(i)) < 32)
            return text.left(i);
    }
    return text;
}

// Whether the field starts (after blanks) with something a leading number can be read from;
// "n/a" or an empty field is no reading, not 0 degrees.
bool startsWithNumber(const QByteArray &text)
{
    const QByteArray rest = text.trimmed();
    if (rest.isEmpty())
        return false;
    const char c = rest.at(0);
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}
} // namespace

bool StatusSample::hasAmbient() const
{
    return !qIsNaN(ambient);
}

bool StatusSample::fromLine(const QByteArray &text, const QDateTime &time, StatusSample *sample)
{
    const QByteArray line = firstLine(text);
    if (line.size() < 3 || line.left(3).toLower() != "st:")
        return false;

    StatusSample s;
    s.time = time.toUTC();
    s.line = line;
    s.deviation = LeadingNumber(GetField(line, 1));
    s.lightSeconds = roundHalfEvenToInt32(LeadingNumber(GetField(line, 3)));
    const QByteArray ambient = GetField(line, 4);
    s.ambient = startsWithNumber(ambient) ? LeadingNumber(ambient) : qQNaN();

    const bool thermalOn = line.mid(5, 2) == "11";
    const bool lightOn = line.size() > 3 && line.at(3) == '1';
    if (thermalOn)
        s.thermal = line.contains(",1,") ? State::Stable : State::Settling;
    if (lightOn)
        s.light = s.lightSeconds > 0 ? State::Settling : State::Stable;
    *sample = s;
    return true;
}

QString StatusSample::stateName(State state)
{
    return QLatin1String(kStateNames[int(state)]);
}

QString StatusSample::stateCaption(State state)
{
    return tr(kStateNames[int(state)]);
}

QString StatusSample::describe() const
{
    const QString ambientText =
        hasAmbient() ? tr("%1 C").arg(QString::number(ambient, 'f', 1)) : QStringLiteral("-");
    return tr("%1\nAmbient: %2\nThermal control: %3, deviation %4 C\n"
              "Light source: %5, %6 s to go")
        .arg(time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), ambientText,
             stateCaption(thermal), QString::number(deviation, 'f', 2), stateCaption(light))
        .arg(lightSeconds);
}
