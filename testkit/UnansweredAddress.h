#pragma once

#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

// A local address whose connection requests go unanswered, as those to a host gone from
// the network: its listening queue is full, so the system drops every further request.
class UnansweredAddress
{
public:
    UnansweredAddress()
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        m_sockets.push_back(::socket(AF_INET, SOCK_STREAM, 0));
        ::bind(m_sockets.front(), reinterpret_cast<sockaddr *>(&address), length);
        ::listen(m_sockets.front(), 0);
        ::getsockname(m_sockets.front(), reinterpret_cast<sockaddr *>(&address), &length);
        m_port = ntohs(address.sin_port);
        for (int filler = 0; filler < 3; ++filler) {
            m_sockets.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
            ::connect(m_sockets.back(), reinterpret_cast<sockaddr *>(&address), length);
        }
    }
    ~UnansweredAddress()
    {
        for (int socket : m_sockets)
            ::close(socket);
    }
    QString address() const { return QStringLiteral("tcp://127.0.0.1:%1").arg(m_port); }

private:
    std::vector<int> m_sockets;
    quint16 m_port = 0;
};
