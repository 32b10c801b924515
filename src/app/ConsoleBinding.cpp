#include "app/ConsoleBinding.h"

#include "support/DefaultFolders.h"
#include "support/TerminalOpenSetting.h"
#include "ui/connection/ConnectForm.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/status/InstrumentInfoForm.h"
#include "ui/status/SetTimeForm.h"

#include <QLabel>

ConsoleBinding::ConsoleBinding(CommPort &comm, const PortTable &table, OperatorDialogs &dialogs)
    : form(state, comm, dialogs, terminal), search(state, comm, form.transaction(), form, table),
      status(form, dialogs), sampling(form, dialogs), calCheck(form, dialogs, sampling, status),
      files(form, dialogs), processing(form), history(form, status, dialogs), m_dialogs(dialogs)
{
    terminal.setPort(&comm);
    QObject::connect(&search, &PortSearch::serialNumberFound, &form, &MainForm::setSerNum);
    form.setPortLossExpected([this] { return search.isProbing(); });
    QObject::connect(&form, &MainForm::connectRequested, &form, [this] { showConnectForm(); });
    QObject::connect(&form, &MainForm::showInfoRequested, &form, [this] {
        InstrumentInfoForm info(state.identity, &form);
        info.exec();
    });
    QObject::connect(&form, &MainForm::setBaudRequested, &form, [this] {
        form.runWithPollingPaused([this] {
            SetBaudForm dialog(form.Comm1(), form.transaction(), m_dialogs, &form);
            dialog.exec();
        });
    });
    QObject::connect(&form, &MainForm::setClockRequested, &form, [this] {
        form.runWithPollingPaused([this] {
            SetTimeForm dialog(form.transaction(), &form);
            dialog.exec();
        });
    });
}

void ConsoleBinding::showConnectForm()
{
    ConnectForm connect(search, m_dialogs, &form);
    QObject::connect(&connect, &ConnectForm::labelChanged, form.controls().StatusLabel,
                     &QLabel::setText);
    connect.exec();
}

void ConsoleBinding::startUp(bool searchForInstrument)
{
    form.restoreSettings();
    state.DefaultDataFolder = DefaultDataFolder();
    form.show();
    if (TerminalOpenSetting::wasOpen())
        form.ShowTerminal();
    if (searchForInstrument)
        showConnectForm();
    form.transaction().SendCommand("power,1\r", "", "", 0);
    form.show();
    form.raise();
    form.activateWindow();
}
