#include "ui/eventlog/EventLogWindow.h"

#include "session/EventLog.h"
#include "support/SettingsKeys.h"
#include "ui/widgets/FormSettings.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace
{
constexpr int kWidth = 760;
constexpr int kHeight = 420;
} // namespace

EventLogWindow::EventLogWindow(EventLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window), m_log(log), m_problem(new QLabel(this)),
      m_view(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("EventLogWindow"));
    setWindowTitle(tr("Event Log"));
    m_problem->setObjectName(QStringLiteral("ProblemLabel"));
    m_problem->setWordWrap(true);
    m_problem->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0)"));
    m_view->setObjectName(QStringLiteral("EventLogText"));
    m_view->setReadOnly(true);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_problem);
    layout->addWidget(m_view);
    showProblem(log.problem());

    connect(&log, &EventLog::problemChanged, this, &EventLogWindow::showProblem);
    // Hidden, it does nothing: showing it reads the day afresh.
    connect(&log, &EventLog::appended, this, [this](const QString &line) {
        if (!isVisible())
            return;
        m_view->appendPlainText(line);
        scrollToEnd();
    });

    resize(kWidth, kHeight);
    RestoreFormPosition(this, SettingsKeys::kEventLogSection);
}

void EventLogWindow::savePosition()
{
    SaveFormPosition(this, SettingsKeys::kEventLogSection);
}

void EventLogWindow::showEvent(QShowEvent *event)
{
    m_view->setPlainText(m_log.linesForToday().join(QLatin1Char('\n')));
    scrollToEnd();
    QWidget::showEvent(event);
}

void EventLogWindow::closeEvent(QCloseEvent *event)
{
    savePosition();
    QWidget::closeEvent(event);
}

void EventLogWindow::showProblem(const QString &problem)
{
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
}

void EventLogWindow::scrollToEnd()
{
    m_view->verticalScrollBar()->setValue(m_view->verticalScrollBar()->maximum());
}
