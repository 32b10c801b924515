#pragma once

#include <QWidget>

class EventLog;
class QLabel;
class QPlainTextEdit;

// "Event Log": today's lines of the event log, read only, the newest at the bottom; while
// open it follows each new line. When the log cannot be written it shows why above the
// lines (those of this run, kept in memory). Its place and size are kept between runs.
class EventLogWindow : public QWidget
{
    Q_OBJECT
public:
    explicit EventLogWindow(EventLog &log, QWidget *parent = nullptr);

    QPlainTextEdit *view() const { return m_view; }
    QLabel *problemLabel() const { return m_problem; }
    void savePosition();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void showProblem(const QString &problem);
    void scrollToEnd();

    EventLog &m_log;
    QLabel *m_problem;
    QPlainTextEdit *m_view;
};
