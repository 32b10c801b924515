#include "session/InstrumentInfo.h"

#include "support/StringCode.h"
#include "support/TaggedValue.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
const QByteArray kLineEnd("\n");

QString taggedText(const QByteArray &reply, const char *tag)
{
    return QString::fromLatin1(GetTaggedValue(reply, QByteArray(tag), kLineEnd));
}

// A double beyond the single-precision range stops at its limit rather than overflowing.
float toSingle(double value)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    return float(std::clamp(value, -kMax, kMax));
}
} // namespace

qint16 RoundToDepth(double value)
{
    if (std::isnan(value))
        return 0;
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0))
        whole += 1;
    if (whole > std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    if (whole < std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    return qint16(whole);
}

bool ParseInstrumentInfo(const QByteArray &reply, InstrumentIdentity &identity)
{
    identity.InstrumentModel = taggedText(reply, "model:");
    identity.InstrumentSerial = taggedText(reply, "serial:");
    identity.InstrumentConfiguration = taggedText(reply, "configuration:");
    identity.InstrumentMaxDepth =
        RoundToDepth(ParseNumber(GetTaggedValue(reply, QByteArray("depth:"), kLineEnd)));
    // The firmware line has no colon after its tag ("firmware version 2.60").
    identity.InstrumentFirmware =
        toSingle(ParseNumber(GetTaggedValue(reply, QByteArray("firmware"), kLineEnd)));
    if (identity.InstrumentFirmware < kDepthRatedFirmware)
        identity.InstrumentMaxDepth = kShallowMaxDepth;
    return !identity.InstrumentSerial.isEmpty();
}

QString FirmwareText(float firmware)
{
    if (firmware == 0 || !std::isfinite(firmware))
        return QStringLiteral("0");
    // The fewest decimals that still read back as the same single-precision value.
    for (int decimals = 0; decimals <= 50; ++decimals) {
        const QString text = QString::number(double(firmware), 'f', decimals);
        if (text.toFloat() == firmware)
            return text;
    }
    return QString::number(double(firmware), 'g', 9);
}
