#include "ui/connection/ConnectForm.h"

#include "session/InstrumentSession.h"
#include "support/OperatorDialogs.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

ConnectForm::ConnectForm(InstrumentSession &session, OperatorDialogs &dialogs, QWidget *parent)
    : QDialog(parent), m_session(session), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("ConnectForm"));
    setWindowTitle(tr("Connecting"));
    if (parent)
        setWindowIcon(parent->windowIcon());

    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setMinimumWidth(320);
    auto *label2 = new QLabel(tr("Available Ports:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    m_portCombo = new QComboBox(this);
    m_portCombo->setObjectName(QStringLiteral("PortCombo"));
    m_portCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto *label3 = new QLabel(tr("Baud Rate:"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    m_baudCombo = new QComboBox(this);
    m_baudCombo->setObjectName(QStringLiteral("BaudCombo"));
    m_baudCombo->addItems(PortSearch::kBaudRates);
    label2->setBuddy(m_portCombo);
    label3->setBuddy(m_baudCombo);

    m_forceConnectButton = new QPushButton(tr("Open Selected Port"), this);
    m_forceConnectButton->setObjectName(QStringLiteral("ForceConnectButton"));
    m_searchButton = new QPushButton(tr("Search Again"), this);
    m_searchButton->setObjectName(QStringLiteral("SearchButton"));
    m_cancelButton = new QPushButton(tr("Close"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelButton"));
    for (QPushButton *button : {m_forceConnectButton, m_searchButton, m_cancelButton})
        button->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(label2, 0, 0);
    grid->addWidget(m_portCombo, 0, 1);
    grid->addWidget(label3, 1, 0);
    grid->addWidget(m_baudCombo, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_forceConnectButton);
    buttons->addWidget(m_searchButton);
    buttons->addStretch();
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_forceConnectButton->setVisible(false);
    m_searchButton->setVisible(false);
    m_forceConnectButton->setEnabled(false);
    m_searchButton->setEnabled(false);

    connect(&m_session.portSearch(), &PortSearch::labelChanged, this, [this](const QString &text) {
        m_label1->setText(text);
        emit labelChanged(text);
    });
    connect(&m_session.portSearch(), &PortSearch::portListCleared, m_portCombo, &QComboBox::clear);
    connect(&m_session.portSearch(), &PortSearch::portEntryAdded, this,
            [this](const QString &entry) {
                m_portCombo->addItem(entry);
                m_portCombo->setCurrentIndex(m_portCombo->count() - 1);
            });
    connect(&m_session.portSearch(), &PortSearch::baudIndexSelected, m_baudCombo,
            &QComboBox::setCurrentIndex);
    connect(&m_session.portSearch(), &PortSearch::searchFailed, this, &ConnectForm::onSearchFailed);
    connect(m_searchButton, &QPushButton::clicked, this, &ConnectForm::SearchForInstrument);
    connect(m_forceConnectButton, &QPushButton::clicked, this, &ConnectForm::onForceConnect);
    connect(m_cancelButton, &QPushButton::clicked, this, &ConnectForm::reject);
}

QString ConnectForm::labelText() const
{
    return m_label1->text();
}

void ConnectForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The search starts once the dialog is on screen, from the event loop, so that the
    // dialog paints and "Close" can be pressed during the search.
    QTimer::singleShot(0, this, &ConnectForm::SearchForInstrument);
}

void ConnectForm::SearchForInstrument()
{
    if (m_session.portSearch().isSearching() || !isVisible())
        return;
    setManualControlsEnabled(false);
    if (m_session.SearchForInstrument())
        accept();
}

void ConnectForm::setManualControlsEnabled(bool enabled)
{
    m_forceConnectButton->setEnabled(enabled);
    m_searchButton->setEnabled(enabled);
    m_baudCombo->setEnabled(enabled);
    m_portCombo->setEnabled(enabled);
}

void ConnectForm::onSearchFailed()
{
    m_dialogs.beep();
    m_forceConnectButton->setVisible(true);
    m_searchButton->setVisible(true);
    setManualControlsEnabled(true);
    if (m_portCombo->count() > 0)
        m_portCombo->setCurrentIndex(0);
    m_baudCombo->setCurrentIndex(0);
}

void ConnectForm::onForceConnect()
{
    if (m_session.openSelectedPort(m_portCombo->currentText(), m_baudCombo->currentText()))
        accept();
}

void ConnectForm::reject()
{
    // A search in progress stops after the port it is trying.
    m_session.cancelSearch();
    QDialog::reject();
}
