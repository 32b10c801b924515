#pragma once

#include <QString>

// The connection status code and its setter, owned by the main window.
// 0 not connected, 1 connected and idle, 2 command in progress, 3 file transfer,
// 4 periodic sampling, 5 no response.
class LinkStatus
{
public:
    enum Code {
        NotConnected = 0,
        Idle = 1,
        CommandInProgress = 2,
        FileTransfer = 3,
        PeriodicSampling = 4,
        NoResponse = 5
    };

    virtual ~LinkStatus() = default;
    virtual int Status() const = 0;
    // Makes `code` current and returns the code that was current before. When `statusMsg`
    // is given and empty, it receives the code's standard text.
    virtual int SetStatus(int code, QString *statusMsg = nullptr) = 0;
};

// A plain holder for places that need a status code without a window (tests, benchmarks).
class PlainLinkStatus : public LinkStatus
{
public:
    int Status() const override { return m_code; }
    int SetStatus(int code, QString * = nullptr) override
    {
        const int previous = m_code;
        m_code = code;
        ++m_changes;
        return previous;
    }
    int changes() const { return m_changes; }

private:
    int m_code = NotConnected;
    int m_changes = 0;
};
