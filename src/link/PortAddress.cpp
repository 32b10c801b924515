#include "link/PortAddress.h"

namespace
{
const QString kSchemeEnd = QStringLiteral("://");

// Index of the ':' before the port number of the address whose host starts at `host`;
// -1 when there is none. A bracketed host may hold colons of its own.
qsizetype portColon(const QString &text, qsizetype host)
{
    qsizetype at = host;
    if (at < text.size() && text.at(at) == QLatin1Char('[')) {
        at = text.indexOf(QLatin1Char(']'), at);
        if (at < 0)
            return -1;
    }
    return text.indexOf(QLatin1Char(':'), at);
}
} // namespace

PortAddress PortAddress::parse(const QString &entry)
{
    PortAddress address;
    const qsizetype schemeEnd = entry.indexOf(kSchemeEnd);
    if (schemeEnd < 0) {
        if (entry.isEmpty())
            address.m_problem = tr("no device is named");
        return address;
    }
    address.m_network = true;
    const QString scheme = entry.left(schemeEnd).toLower();
    if (scheme == QStringLiteral("tcp")) {
        address.m_kind = Kind::RawTcp;
    } else if (scheme == QStringLiteral("rfc2217")) {
        address.m_kind = Kind::Rfc2217;
    } else {
        address.m_problem = tr("\"%1\" is not a kind of port this program knows: write "
                               "tcp://HOST:PORT or rfc2217://HOST:PORT")
                                .arg(entry);
        return address;
    }
    const qsizetype hostStart = schemeEnd + kSchemeEnd.size();
    const qsizetype colon = portColon(entry, hostStart);
    QString host = entry.mid(hostStart, colon < 0 ? -1 : colon - hostStart);
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
        host = host.mid(1, host.size() - 2);
    bool isNumber = false;
    const uint port = colon < 0 ? 0 : entry.mid(colon + 1).toUInt(&isNumber);
    if (host.isEmpty() || !isNumber || port == 0 || port > 65535) {
        address.m_problem = tr("\"%1\" needs a host and a port number from 1 to 65535: write "
                               "tcp://HOST:PORT or rfc2217://HOST:PORT")
                                .arg(entry);
        return address;
    }
    address.m_host = host;
    address.m_port = quint16(port);
    return address;
}

qsizetype PortAddress::entryEnd(const QString &list, qsizetype from)
{
    const qsizetype colon = list.indexOf(QLatin1Char(':'), from);
    if (colon < 0)
        return list.size();
    if (list.indexOf(kSchemeEnd, from) != colon)
        return colon;
    const qsizetype port = portColon(list, colon + kSchemeEnd.size());
    const qsizetype next = port < 0 ? -1 : list.indexOf(QLatin1Char(':'), port + 1);
    return next < 0 ? list.size() : next;
}
