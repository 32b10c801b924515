#pragma once

// What the link is doing, as the main window's status line shows it.
enum class StatusCode {
    NotConnected = 0,
    Idle = 1,
    CommandInProgress = 2,
    FileTransfer = 3,
    PeriodicSampling = 4,
    NoResponse = 5
};

// The status code and its setter, owned by the instrument session.
class LinkStatus
{
public:
    virtual ~LinkStatus() = default;
    virtual StatusCode Status() const = 0;
    // Makes `code` current and returns the code that was current before.
    virtual StatusCode SetStatus(StatusCode code) = 0;
};
