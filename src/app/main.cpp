// Builds the program's objects and runs start-up: the main window with its saved values,
// the terminal if it was open at the last exit, the connection search, "power,1".

#include "calcheck/CalCheckBinding.h"
#include "core/ConnectForm.h"
#include "core/MainForm.h"
#include "core/PortSearch.h"
#include "core/ProgramState.h"
#include "core/QtCommPort.h"
#include "processing/ProcessingBinding.h"
#include "sampling/SamplingBinding.h"
#include "status/InstrumentInfoForm.h"
#include "status/StatusBinding.h"
#include "support/DefaultFolders.h"
#include "support/QtOperatorDialogs.h"
#include "support/SettingsKeys.h"
#include "support/TerminalOpenSetting.h"
#include "terminal/TerminalForm.h"

#include <QApplication>
#include <QLabel>

namespace {
const char *const kVersion = "1.21";

void showConnectForm(MainForm &form, PortSearch &search, OperatorDialogs &dialogs)
{
    ConnectForm connect(search, dialogs, &form);
    QObject::connect(&connect, &ConnectForm::labelChanged, form.controls().StatusLabel,
                     &QLabel::setText);
    connect.exec();
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvantis"));
    QCoreApplication::setApplicationName(SettingsKeys::kApplication);
    QCoreApplication::setApplicationVersion(QString::fromLatin1(kVersion));

    ProgramState state;
    QtCommPort comm(PortTable::fromSystem());
    QtOperatorDialogs dialogs;
    TerminalForm terminal;
    MainForm form(state, comm, dialogs, terminal);
    dialogs.setOwner(&form);
    StatusBinding status(form, dialogs);
    SamplingBinding sampling(form, dialogs);
    CalCheckBinding calCheck(form, dialogs, sampling, status);
    ProcessingBinding processing(form);
    PortSearch search(state, comm, form.transaction(), form, PortTable::fromSystem());
    QObject::connect(&search, &PortSearch::serialNumberFound, &form, &MainForm::setSerNum);

    QObject::connect(&form, &MainForm::connectRequested, &form,
                     [&] { showConnectForm(form, search, dialogs); });
    QObject::connect(&form, &MainForm::showInfoRequested, &form, [&] {
        InstrumentInfoForm info(state.identity, &form);
        info.exec();
    });

    form.restoreSettings();
    state.DefaultDataFolder = DefaultDataFolder();
    form.show();

    if (TerminalOpenSetting::wasOpen())
        form.ShowTerminal();

    showConnectForm(form, search, dialogs);
    form.transaction().SendCommand("power,1\r", "", "", 0);
    form.show();
    form.raise();
    form.activateWindow();
    return app.exec();
}
