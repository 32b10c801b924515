#pragma once

#include "features/processing/ProcessingSession.h"
#include "ui/widgets/Hourglass.h"

#include <QWidget>

class InstrumentSession;
class QComboBox;
class QIcon;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;

// "Processing": browses the instrument's own disk and runs its processing program on the
// chosen ".TLT" files. Creating the window mounts the disk; each activation lists the
// current directory afresh. The window deletes itself when closed.
class ProcessingForm : public QWidget
{
    Q_OBJECT
public:
    ProcessingForm(InstrumentSession &instrument, const QIcon &icon, QWidget *parent = nullptr);

    ProcessingSession &session() { return m_session; }

    QComboBox *DriveCombo() const { return m_driveCombo; }
    QLabel *Label1() const { return m_label1; }
    QLabel *FileCountLabel() const { return m_fileCountLabel; }
    QListWidget *List1() const { return m_list1; }
    QPushButton *StartButton() const { return m_startButton; }
    QPushButton *StopButton() const { return m_stopButton; }
    QPushButton *CloseButton() const { return m_closeButton; }

protected:
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void wireSession();
    void refreshing(bool busy);
    void processing(bool running);
    void showDrive(const QString &drive);
    void DriveCombo_Click();
    void List1_DblClick(QListWidgetItem *item);
    void StartButton_Click();
    // A close asked for while a wait runs happens once the wait is over.
    void closeWhenIdle();

    ProcessingSession m_session;
    QComboBox *m_driveCombo = nullptr;
    QLabel *m_label1 = nullptr;
    QLabel *m_fileCountLabel = nullptr;
    QListWidget *m_list1 = nullptr;
    QPushButton *m_startButton = nullptr;
    QPushButton *m_stopButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    Hourglass m_hourglass;
    bool m_closePending = false;
};
