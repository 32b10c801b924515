#include "LineInput.h"

#include "PtyDevice.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <sys/ioctl.h>
#include <unistd.h>

namespace
{
constexpr double kBitsPerByte = 10; // start bit, eight data bits, stop bit
} // namespace

qint64 LineInput::waiting() const
{
    int count = 0;
    if (m_device.master() < 0 || ::ioctl(m_device.master(), FIONREAD, &count) != 0)
        return 0;
    return count;
}

double LineInput::byteMs(int rate, int otherwiseRate) const
{
    const int pace = rate > 0 ? rate : otherwiseRate;
    return kBitsPerByte * 1000.0 / std::max(pace, 1);
}

LineInput::Taken LineInput::take(qint64 nowMs, int otherwiseRate)
{
    const qint64 count = waiting();
    if (count <= 0) {
        m_crossing = false;
        return {};
    }
    if (!m_crossing) {
        m_crossing = true;
        m_lineMs = double(nowMs);
        return {};
    }
    const int rate = m_device.lineRate();
    const double perByte = byteMs(rate, otherwiseRate);
    const qint64 carried = qint64((double(nowMs) - m_lineMs) / perByte);
    if (carried <= 0)
        return {};
    Taken taken = read(std::min(carried, count), rate);
    m_lineMs += double(taken.bytes.size()) * perByte;
    // The line fell quiet in between: what comes next starts crossing when it is seen.
    if (taken.bytes.size() >= count)
        m_crossing = false;
    return taken;
}

LineInput::Taken LineInput::takeAll()
{
    m_crossing = false;
    return read(waiting(), m_device.lineRate());
}

qint64 LineInput::dueInMs(qint64 nowMs, int otherwiseRate) const
{
    if (!m_crossing)
        return waiting() > 0 ? 0 : -1;
    const double due = m_lineMs + byteMs(m_device.lineRate(), otherwiseRate) - double(nowMs);
    return std::max<qint64>(0, qint64(std::ceil(due)));
}

LineInput::Taken LineInput::read(qint64 count, int rate)
{
    Taken taken;
    taken.rate = rate;
    taken.bytes.resize(count);
    qint64 got = 0;
    while (got < count) {
        const ssize_t n = ::read(m_device.master(), taken.bytes.data() + got, size_t(count - got));
        if (n > 0)
            got += n;
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    taken.bytes.truncate(got);
    return taken;
}
