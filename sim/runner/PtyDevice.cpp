#include "PtyDevice.h"

#include "LineSpeed.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{
// How long bytes still on their way into the far end's buffer are waited for.
constexpr int kMoreMs = 10;
// A new adapter's line runs at its driver's rate until whoever opens it sets another.
constexpr speed_t kFreshSpeed = B9600;
} // namespace

bool PtyDevice::fail(const char *what)
{
    m_error =
        QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
    close();
    return false;
}

bool PtyDevice::open(const QString &linkPath)
{
    close();
    m_error.clear();
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0)
        return fail("cannot open a pseudo-terminal (posix_openpt)");
    char name[256];
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0 ||
        ptsname_r(m_master, name, sizeof name) != 0)
        return fail("cannot prepare the pseudo-terminal");
    m_path = QString::fromLocal8Bit(name);
    // Every open and close of the device, so that the loop wakes for a console that comes
    // back at once and sees a close that poll's hang-up missed. Without it, those go unseen
    // and only the hang-up counts.
    m_watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_watch >= 0 && inotify_add_watch(m_watch, name, IN_OPEN | IN_CLOSE) < 0) {
        ::close(m_watch);
        m_watch = -1;
    }

    // Raw before anyone opens the slave: the pty itself must not echo or translate line ends. Set
    // through the master, so the slave is never opened here (closing it again would leave the line
    // hung up).
    termios settings{};
    if (tcgetattr(m_master, &settings) != 0)
        return fail("cannot read the line settings");
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, kFreshSpeed);
    cfsetospeed(&settings, kFreshSpeed);
    if (tcsetattr(m_master, TCSANOW, &settings) != 0)
        return fail("cannot set the line settings");
    return linkPath.isEmpty() || makeLink(linkPath);
}

bool PtyDevice::makeLink(const QString &linkPath)
{
    const QFileInfo existing(linkPath);
    if (existing.exists() && !existing.isSymLink()) {
        errno = EEXIST;
        return fail("cannot make the link");
    }
    // Made beside it and renamed over it: whoever opens the link finds the old device or
    // the new one, never nothing.
    const QByteArray link = QFile::encodeName(linkPath);
    const QByteArray fresh = link + ".new-" + QByteArray::number(qint64(::getpid()));
    ::unlink(fresh.constData());
    if (::symlink(QFile::encodeName(m_path).constData(), fresh.constData()) != 0)
        return fail("cannot make the link");
    if (::rename(fresh.constData(), link.constData()) != 0) {
        const int error = errno;
        ::unlink(fresh.constData());
        errno = error;
        return fail("cannot make the link");
    }
    m_linkPath = linkPath;
    return true;
}

void PtyDevice::close()
{
    if (!m_linkPath.isEmpty() && QFileInfo(m_linkPath).symLinkTarget() == m_path)
        QFile::remove(m_linkPath);
    m_linkPath.clear();
    if (m_master >= 0)
        ::close(m_master);
    m_master = -1;
    if (m_watch >= 0)
        ::close(m_watch);
    m_watch = -1;
}

int PtyDevice::lineRate() const
{
    termios settings{};
    if (m_master < 0 || tcgetattr(m_master, &settings) != 0)
        return 0;
    return LineSpeed::toBaud(cfgetospeed(&settings));
}

int PtyDevice::openSlave()
{
    if (m_master < 0)
        return -1;
    return ::open(QFile::encodeName(m_path).constData(),
                  O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
}

void PtyDevice::flushSlaveInput()
{
    const int slave = openSlave();
    if (slave < 0)
        return;
    tcflush(slave, TCIFLUSH);
    ::close(slave);
    takeCloseEvents();
}

int PtyDevice::unreadAtFarEnd()
{
    const int slave = openSlave();
    if (slave < 0)
        return 0;
    int count = 0;
    if (::ioctl(slave, FIONREAD, &count) != 0)
        count = 0;
    ::close(slave);
    takeCloseEvents();
    return count;
}

qint64 PtyDevice::takeBackUnread()
{
    const int slave = openSlave();
    if (slave < 0)
        return 0;
    qint64 taken = 0;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(slave, buffer, sizeof buffer);
        if (n > 0) {
            taken += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        // More may still be on its way in as the buffer empties.
        pollfd more{slave, POLLIN, 0};
        if (n < 0 && errno == EAGAIN && ::poll(&more, 1, kMoreMs) > 0 && (more.revents & POLLIN))
            continue;
        break;
    }
    ::close(slave);
    takeCloseEvents();
    return taken;
}

bool PtyDevice::takeCloseEvents()
{
    alignas(inotify_event) char buffer[4096];
    bool closed = false;
    ssize_t n = 0;
    while (m_watch >= 0 && (n = ::read(m_watch, buffer, sizeof buffer)) > 0) {
        for (ssize_t at = 0; at + ssize_t(sizeof(inotify_event)) <= n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            closed |= (event->mask & IN_CLOSE) != 0;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return closed;
}
