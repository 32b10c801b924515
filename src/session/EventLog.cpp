#include "session/EventLog.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>

namespace
{
const QString kDayFormat = QStringLiteral("yyyy-MM-dd");
const QString kFilePrefix = QStringLiteral("events-");
const QString kFileSuffix = QStringLiteral(".log");
constexpr int kCategoryWidth = 10;

// One line whatever the text holds: line breaks become " | ", other control characters
// (an instrument's own words may carry some) blanks.
QString oneLine(const QString &text)
{
    QString line = text.trimmed();
    static const QRegularExpression breaks(QStringLiteral("\\s*(\\r\\n|\\r|\\n)\\s*"));
    line.replace(breaks, QStringLiteral(" | "));
    for (QChar &c : line) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    return line;
}

QString fileProblem(const QFile &file)
{
    return EventLog::tr("The event log cannot be written to %1: %2.")
        .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
}
} // namespace

EventLog::EventLog(QObject *parent) : QObject(parent), m_now(&QDateTime::currentDateTime)
{
}

EventLog::~EventLog() = default;

QString EventLog::defaultFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return data.isEmpty() ? QString() : QDir(data).filePath(QStringLiteral("logs"));
}

void EventLog::setFolder(const QString &folder)
{
    m_file.close();
    m_fileDay = QDate();
    m_folder = folder;
    setProblem(QString());
}

void EventLog::setClock(std::function<QDateTime()> now)
{
    m_now = std::move(now);
}

void EventLog::append(EventCategory category, const QString &text)
{
    const QDateTime now = m_now();
    const QString line = formatLine(now, category, text);
    m_recent.append(line);
    if (m_recent.size() > kRecentLineCount)
        m_recent.removeFirst();
    if (!m_folder.isEmpty() && writeLine(now.date(), line))
        setProblem(QString());
    emit appended(line);
}

void EventLog::operationStarted(const QString &operation, const QString &detail)
{
    append(EventCategory::Operation, detail.isEmpty()
                                         ? tr("%1 started.").arg(operation)
                                         : tr("%1 started: %2.").arg(operation, detail));
}

void EventLog::operationEnded(const QString &operation, const QString &detail)
{
    append(EventCategory::Operation, detail.isEmpty() ? tr("%1 ended.").arg(operation)
                                                      : tr("%1 ended: %2.").arg(operation, detail));
}

QString EventLog::dayFile(const QDate &day) const
{
    return QDir(m_folder).filePath(kFilePrefix + day.toString(kDayFormat) + kFileSuffix);
}

QStringList EventLog::readDay(const QDate &day) const
{
    if (m_folder.isEmpty())
        return {};
    QFile file(dayFile(day));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList EventLog::linesForToday() const
{
    if (m_folder.isEmpty() || !m_problem.isEmpty())
        return m_recent;
    return readDay(today());
}

QString EventLog::formatLine(const QDateTime &time, EventCategory category, const QString &text)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + QLatin1Char(' ') +
           categoryName(category).leftJustified(kCategoryWidth) + QLatin1Char(' ') + oneLine(text);
}

QString EventLog::categoryName(EventCategory category)
{
    switch (category) {
    case EventCategory::Connection:
        return QStringLiteral("connection");
    case EventCategory::Operation:
        return QStringLiteral("operation");
    case EventCategory::Message:
        return QStringLiteral("message");
    case EventCategory::Question:
        return QStringLiteral("question");
    case EventCategory::Answer:
        return QStringLiteral("answer");
    }
    return QStringLiteral("event");
}

// The day's file stays open between lines; a new day opens its own file.
bool EventLog::writeLine(const QDate &day, const QString &line)
{
    if ((!m_file.isOpen() || day != m_fileDay) && !openDay(day))
        return false;
    const QByteArray bytes = line.toUtf8() + '\n';
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        setProblem(fileProblem(m_file));
        m_file.close();
        return false;
    }
    return true;
}

bool EventLog::openDay(const QDate &day)
{
    m_file.close();
    if (!QDir().mkpath(m_folder)) {
        setProblem(tr("The event log's folder %1 cannot be made.")
                       .arg(QDir::toNativeSeparators(m_folder)));
        return false;
    }
    m_file.setFileName(dayFile(day));
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        setProblem(fileProblem(m_file));
        return false;
    }
    m_fileDay = day;
    removeOldFiles(day);
    return true;
}

// Only files of this log's own name; a file that will not go is left for the next day.
void EventLog::removeOldFiles(const QDate &today)
{
    static const QRegularExpression name(QStringLiteral("^events-(\\d{4}-\\d{2}-\\d{2})\\.log$"));
    QDir folder(m_folder);
    const QStringList files =
        folder.entryList({kFilePrefix + QLatin1Char('*') + kFileSuffix}, QDir::Files);
    for (const QString &file : files) {
        const QRegularExpressionMatch match = name.match(file);
        if (!match.hasMatch())
            continue;
        const QDate day = QDate::fromString(match.captured(1), kDayFormat);
        if (day.isValid() && day.daysTo(today) >= kKeepDays)
            folder.remove(file);
    }
}

void EventLog::setProblem(const QString &problem)
{
    if (problem == m_problem)
        return;
    m_problem = problem;
    emit problemChanged(problem);
}
