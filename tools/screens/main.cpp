// Walks the console through the scenes of the README's pictures, over the ports that
// ORVANTIS_PORTS names (scripts/screenshots starts a simulator there). A scripted operator
// answers every question. At each scene it prints "shot NAME WINDOW-ID" and waits for a
// line on standard input, while the caller takes the picture.

#include "app/console/ConsoleBinding.h"
#include "link/QtCommPort.h"
#include "support/SettingsKeys.h"
#include "testkit/ScriptedOperator.h"
#include "testkit/TestSettings.h"
#include "ui/widgets/ProgressForm.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <iostream>
#include <string>

namespace
{
bool waitFor(const std::function<bool()> &condition, int timeoutMs, const char *what)
{
    if (QTest::qWaitFor(condition, timeoutMs))
        return true;
    std::fprintf(stderr, "Timed out waiting for %s\n", what);
    return false;
}

void shot(const char *name, QWidget *window)
{
    window->raise();
    window->activateWindow();
    // Lets the window finish painting before the picture is taken.
    QTest::qWait(700);
    std::printf("shot %s %llu\n", name, static_cast<unsigned long long>(window->winId()));
    std::fflush(stdout);
    std::string reply;
    std::getline(std::cin, reply);
}

ProgressForm *runningProgress()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *form = qobject_cast<ProgressForm *>(widget);
        if (!form || !form->isVisible())
            continue;
        for (QProgressBar *bar : form->findChildren<QProgressBar *>()) {
            if (bar->isVisible() && bar->value() > bar->minimum() + 2)
                return form;
        }
    }
    return nullptr;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvantis"));
    QCoreApplication::setApplicationName(SettingsKeys::kApplication);
    QTemporaryDir scratch;
    useTemporarySettings(scratch.filePath(QStringLiteral("settings")));

    const PortTable ports = PortTable::fromSystem();
    QtCommPort comm(ports);
    ScriptedOperator dialogs;
    ConsoleBinding console(comm, ports, dialogs);
    MainForm &form = console.form;
    form.move(0, 0);
    console.startUp();
    if (!waitFor(
            [&] {
                return console.session.Status() == StatusCode::Idle &&
                       !form.controls().AmbientTempLabel->text().isEmpty();
            },
            30000, "the connection"))
        return 1;
    shot("main-window", &form);

    form.controls().TransferFilesButton->click();
    if (!waitFor(
            [&] {
                return console.files.window() && console.files.window()->DirGrid()->rowCount() > 0;
            },
            30000, "the file listing"))
        return 1;
    console.files.window()->move(40, 40);
    shot("file-manager", console.files.window());
    console.files.window()->close();

    // Ready: Yes; where the data goes: OK, then the file.
    dialogs.questionAnswers << 1 << 1;
    dialogs.pathAnswers << scratch.filePath(QStringLiteral("calcheck.raw"));
    QTimer watch;
    bool taken = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        ProgressForm *progress = runningProgress();
        if (taken || !progress)
            return;
        taken = true;
        watch.stop();
        shot("cal-check", progress);
        // Closing the window stops the run.
        progress->close();
    });
    watch.start(100);
    form.controls().CalCheckMenuItem->trigger();
    for (const QString &error : dialogs.errors)
        std::fprintf(stderr, "Error shown: %s\n", qPrintable(error));
    if (!taken) {
        std::fprintf(stderr, "The cal check never showed its progress (questions: %s)\n",
                     qPrintable(dialogs.questions.join(QStringLiteral(" | "))));
        return 1;
    }
    return 0;
}
