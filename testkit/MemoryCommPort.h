#pragma once

#include "link/CommPort.h"

#include <QByteArray>
#include <functional>

// An in-memory Comm1 for tests and benchmarks: feed() puts bytes in its input, written()
// tells what the program wrote, and it can refuse to open or fail as a pulled cable does.
// Unread input is lost when it is closed. An optional responder sees every write (for wiring it to
// the simulator engine).
class MemoryCommPort : public CommPort
{
public:
    int portNumber() const override { return m_portNumber; }
    void setPortNumber(int number) override { m_portNumber = number; }
    QString settings() const override { return m_settings; }
    void setSettings(const QString &settings) override { m_settings = settings; }
    bool isOpen() const override { return m_open; }
    bool open() override;
    void close() override;
    bool write(const QByteArray &bytes) override;
    qint64 bytesWaiting() override { return m_input.size() - m_readPos; }
    QByteArray readWaiting() override;
    bool hasFailed() const override { return m_failed; }
    QString failureText() const override { return m_failureText; }
    QString deviceName() const override { return QStringLiteral("memory%1").arg(m_portNumber); }

    void feed(const QByteArray &bytes) { m_input.append(bytes); }
    QByteArray written() const { return m_written; }
    void clearWritten() { m_written.clear(); }
    void fail(const QString &text);
    void setResponder(std::function<void(const QByteArray &)> responder)
    {
        m_responder = std::move(responder);
    }

private:
    int m_portNumber = 1;
    QString m_settings = QStringLiteral("9600,n,8,1");
    bool m_open = false;
    bool m_failed = false;
    QString m_failureText;
    QByteArray m_input;
    qsizetype m_readPos = 0;
    QByteArray m_written;
    std::function<void(const QByteArray &)> m_responder;
};
