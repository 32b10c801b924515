#include "testkit/ModalDriver.h"

#include <QApplication>
#include <QTimer>

void whenTrue(std::function<bool()> condition, std::function<void()> action)
{
    auto *poll = new QTimer(qApp);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, condition = std::move(condition), action = std::move(action)] {
                         if (!condition())
                             return;
                         poll->stop();
                         // Deleted once control is back in this loop, after the action's
                         // own waits.
                         poll->deleteLater();
                         action();
                     });
    poll->start();
}

void whenModalShown(std::function<void(QWidget *)> action)
{
    whenTrue(
        [] {
            const QWidget *modal = QApplication::activeModalWidget();
            return modal && modal->isVisible();
        },
        [action = std::move(action)] { action(QApplication::activeModalWidget()); });
}

void closeModalWindow()
{
    if (QWidget *modal = QApplication::activeModalWidget())
        modal->close();
}
