#include "app/console/ConsoleBinding.h"

#include "session/LineClaim.h"
#include "session/PollingHold.h"
#include "support/DefaultFolders.h"
#include "support/TerminalOpenSetting.h"
#include "ui/connection/ConnectForm.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/status/InstrumentInfoForm.h"
#include "ui/status/SetTimeForm.h"

#include <QLabel>

ConsoleBinding::ConsoleBinding(CommPort &comm, const PortTable &table, OperatorDialogs &dialogs)
    : session(comm, table, dialogs), form(session, terminal, session.dialogs()),
      status(session, form.controls(), session.dialogs(), &form),
      sampling(session, form.controls(), session.dialogs(), &form),
      calCheck(session, session.dialogs(), sampling, status, &form),
      files(session, session.dialogs(), &form),
      processing(session, form.controls().OrvantisMenu, &form),
      history(status.monitor(), session, session.dialogs(), form.controls().CommunicationMenu,
              &form),
      eventLog(session.eventLog(), form), m_dialogs(session.dialogs())
{
    terminal.setLine(&session.line());
    wireRequests();
}

void ConsoleBinding::wireRequests()
{
    QObject::connect(&form, &MainForm::connectRequested, &form, [this] { showConnectForm(); });
    QObject::connect(&form, &MainForm::statusRateRequested, &status, &StatusBinding::askStatusRate);
    QObject::connect(&form, &MainForm::transferFilesRequested, &files,
                     &FileTransferBinding::openWindow);
    QObject::connect(&form, &MainForm::calCheckRequested, &calCheck, &CalCheckBinding::run);
    QObject::connect(&form, &MainForm::showInfoRequested, &form, [this] {
        InstrumentInfoForm info(session.identity(), &form);
        info.exec();
    });
    // The rate dialog owns the line while it is open; the clock dialog holds polling off.
    QObject::connect(&form, &MainForm::setBaudRequested, &form, [this] {
        LineClaim claim = session.claimLine(LineOperation::BaudChange);
        if (!claim)
            return;
        SetBaudForm dialog(claim, m_dialogs, &form);
        dialog.exec();
    });
    QObject::connect(&form, &MainForm::setClockRequested, &form, [this] {
        const PollingHold hold(session);
        SetTimeForm dialog(session.line(), &form);
        dialog.exec();
    });
}

void ConsoleBinding::showConnectForm()
{
    ConnectForm connect(session, m_dialogs, &form);
    QObject::connect(&connect, &ConnectForm::labelChanged, form.controls().StatusLabel,
                     &QLabel::setText);
    connect.exec();
}

void ConsoleBinding::startUp(bool searchForInstrument)
{
    form.restoreSettings();
    session.setDefaultDataFolder(DefaultDataFolder());
    form.show();
    if (TerminalOpenSetting::wasOpen())
        form.ShowTerminal();
    if (searchForInstrument)
        showConnectForm();
    session.line().SendCommand("power,1\r", "", "", 0);
    form.show();
    form.raise();
    form.activateWindow();
}
