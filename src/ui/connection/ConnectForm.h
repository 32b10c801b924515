#pragma once

#include <QDialog>

class InstrumentSession;
class QComboBox;
class QLabel;
class QPushButton;
class OperatorDialogs;

// The "Connecting" dialog: runs the port search as soon as it is on screen and, when
// nothing answers, offers the ports that opened and the rates for a direct open.
class ConnectForm : public QDialog
{
    Q_OBJECT
public:
    ConnectForm(InstrumentSession &session, OperatorDialogs &dialogs, QWidget *parent = nullptr);

    QString labelText() const;

signals:
    // Every change of the progress text, for the main window's status line.
    void labelChanged(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void reject() override;

private:
    void SearchForInstrument();
    void setManualControlsEnabled(bool enabled);
    void onSearchFailed();
    void onForceConnect();

    InstrumentSession &m_session;
    OperatorDialogs &m_dialogs;
    QLabel *m_label1;
    QComboBox *m_portCombo;
    QComboBox *m_baudCombo;
    QPushButton *m_forceConnectButton;
    QPushButton *m_searchButton;
    QPushButton *m_cancelButton;
};
