#pragma once

#include "session/LineOperation.h"

#include <QCoreApplication>
#include <QString>

#include <array>
#include <optional>

// What the main window shows for one status code: which governed controls are enabled,
// the status line, the terminal caption and the pointer. While an operation owns the line,
// every control that would send something is off whatever the code says, and so are the
// data file's controls while a transfer or the cal check uses the data file. Kept apart from
// the window so the table can be checked without widgets.
class StatusDisplay
{
    Q_DECLARE_TR_FUNCTIONS(StatusDisplay)

public:
    // The controls whose enabled state follows the status code, named as on the window.
    enum class Control {
        ConnectButton,
        ConnectMenuItem,
        DisconnectButton,
        DisconnectMenuItem,
        SampleOnceButton,
        StartSamplingButton,
        StopSamplingButton,
        SetBaudButton,
        SetBaudMenuItem,
        OrvantisMenu,
        SetClockMenuItem,
        NewFileButton,
        StopSavingButton,
        StatusCheck,
        StatusRateMenuItem,
        TransferFilesButton
    };
    static constexpr int kControlCount = 16;

    enum class Enable { Unchanged, On, Off };

    struct Input {
        int code = 0;
        bool dataFileOpen = false;
        QString SerNum;
        int portNumber = 1;
        // Line settings of the port, such as "9600,n,8,1".
        QString settings;
        QString SampleDelayText;
        // The caller's message; empty asks for the code's standard text.
        QString statusMsg;
        // The operation that owns the line, if any.
        LineOperation lineOwner = LineOperation::None;
    };

    explicit StatusDisplay(const Input &input);

    static QString controlName(Control control);
    // True for the operations that use the data file slot (or must find it as they left it).
    static bool usesDataFile(LineOperation operation);
    // Standard text of a code 0-5; empty for any other code.
    static QString defaultText(int code, const QString &SerNum, const QString &SampleDelayText);

    Enable enable(Control control) const { return m_enable[static_cast<size_t>(control)]; }
    // The message shown (and written back to the caller when it passed an empty one).
    QString statusText() const { return m_statusText; }
    // StatusLabel's caption: the message and one blank.
    QString labelText() const { return m_statusText + QLatin1Char(' '); }
    // The terminal window's new caption; none for codes 2 and 4, which leave it alone.
    std::optional<QString> terminalCaption() const { return m_terminalCaption; }
    // SavingLabel's new caption; none while a data file is open.
    std::optional<QString> savingLabelText() const { return m_savingLabelText; }
    bool hourglass() const { return m_hourglass; }

private:
    void set(Control control, bool on);
    void set(Control control, Enable state) { m_enable[static_cast<size_t>(control)] = state; }
    void applyLineOwner(LineOperation owner);

    std::array<Enable, kControlCount> m_enable{};
    QString m_statusText;
    std::optional<QString> m_terminalCaption;
    std::optional<QString> m_savingLabelText;
    bool m_hourglass = false;
};
