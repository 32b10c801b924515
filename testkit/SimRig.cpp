#include "testkit/SimRig.h"

#include "testkit/TestSettings.h"
#include "ui/connection/SetBaudForm.h"
#include "ui/files/FileTransferForm.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

SimRig::SimRig(RigOptions options) : m_options(std::move(options))
{
    QDir().mkpath(local());
    useTemporarySettings(path(QStringLiteral("settings")));
    m_watch.setInterval(5);
    QObject::connect(&m_watch, &QTimer::timeout, [this] {
        if (!m_condition || !m_condition())
            return;
        m_watch.stop();
        m_condition = nullptr;
        m_fired = true;
        // The action may start a wait of its own; this timer must not fire within it.
        const std::function<void()> action = std::move(m_action);
        action();
    });
}

SimRig::~SimRig()
{
    m_watch.stop();
    if (console && console->files.window())
        delete console->files.window();
    console.reset();
    comm.reset();
    ser2net.stop();
    sim.stop();
}

bool SimRig::start()
{
    const auto fail = [this](const QString &reason) {
        m_error = reason;
        return false;
    };
    if (!m_dir.isValid())
        return fail(QStringLiteral("no temporary folder"));
    QStringList devices = m_options.before;
    while (devices.size() + 1 < m_options.port) {
        silentPorts.push_back(std::make_unique<SimProcess>());
        if (!silentPorts.back()->start({QStringLiteral("--silent")}))
            return fail(silentPorts.back()->errorString());
        devices << silentPorts.back()->devicePath();
    }
    QStringList arguments = m_options.simulator;
    arguments << QStringLiteral("--disk") << disk() << QStringLiteral("--record")
              << path(QStringLiteral("sent.bin")) << QStringLiteral("--record-input")
              << path(QStringLiteral("heard.bin"));
    if (m_options.linked)
        arguments << QStringLiteral("--link") << path(QStringLiteral("tty"));
    if (!sim.start(arguments))
        return fail(sim.errorString());
    if (m_options.network) {
        const qsizetype baud = arguments.indexOf(QStringLiteral("--baud"));
        if (!ser2net.start(*m_options.network, sim.devicePath(),
                           baud < 0 ? 9600 : arguments.value(baud + 1).toInt()))
            return fail(ser2net.errorString());
        devices << ser2net.address();
    } else {
        devices << (m_options.linked ? path(QStringLiteral("tty")) : sim.devicePath());
    }
    comm = std::make_unique<QtCommPort>(PortTable(devices));
    console = std::make_unique<ConsoleBinding>(*comm, PortTable(devices), dialogs);
    return !m_options.connect || connect();
}

bool SimRig::connect()
{
    console->startUp(false);
    probe::setDownloadFolder(session(), local());
    if (!session().SearchForInstrument()) {
        m_error = QStringLiteral("the search did not find orvantis-sim on ") + sim.devicePath();
        return false;
    }
    if (!m_options.polling)
        stopPolling();
    return true;
}

void SimRig::click(const QString &caption)
{
    if (QAbstractButton *button = buttonCaptioned(&console->form, caption))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QTest::qFail(qPrintable("no button \"" + caption + '"'), __FILE__, __LINE__);
}

void SimRig::trigger(const QString &caption)
{
    for (QAction *action : console->form.findChildren<QAction *>()) {
        if (action->text() == caption) {
            action->trigger();
            return;
        }
    }
    QTest::qFail(qPrintable("no menu item \"" + caption + '"'), __FILE__, __LINE__);
}

bool SimRig::openDataFile(const QString &path)
{
    dialogs.pathAnswers.enqueue(path);
    click(QStringLiteral("New File..."));
    return probe::dataFile(session()).isOpen();
}

void SimRig::startPeriodic(const QString &seconds)
{
    controls().StoreInComputerCheck->setChecked(true);
    controls().SampleDelayText->setText(seconds);
    click(QStringLiteral("Start Periodic"));
}

void SimRig::stopPolling()
{
    if (controls().StatusCheck->isChecked())
        click(QStringLiteral("Automatic status updates"));
}

bool SimRig::setRate(const QString &rate)
{
    bool closedItself = false;
    std::function<void()> press = [&] {
        auto *dialog = qobject_cast<SetBaudForm *>(QApplication::activeModalWidget());
        if (!dialog || dialog->StartupRateLabel->text() == QLatin1String("[code]")) {
            QTimer::singleShot(10, press);
            return;
        }
        dialog->BaudCombo->setCurrentText(rate);
        QTest::mouseClick(buttonCaptioned(dialog, QStringLiteral("Set Rate")), Qt::LeftButton);
        closedItself = !dialog->isVisible();
        dialog->close();
    };
    QTimer::singleShot(10, press);
    trigger(QStringLiteral("Set Baud Rate..."));
    return closedItself;
}

FileTransferForm *SimRig::openFiles()
{
    click(QStringLiteral("Manage Orvantis Files..."));
    return console->files.window();
}

QTableWidget *SimRig::grid() const
{
    const FileTransferForm *window = console->files.window();
    return window ? window->findChild<QTableWidget *>(QStringLiteral("DirGrid")) : nullptr;
}

int SimRig::rowOf(const QString &name) const
{
    const QTableWidget *table = grid();
    for (int row = 0; table && row < table->rowCount(); ++row) {
        if (table->item(row, 0) && table->item(row, 0)->text().trimmed() == name)
            return row;
    }
    return -1;
}

void SimRig::clickRow(int row, Qt::KeyboardModifiers modifiers)
{
    QTableWidget *table = grid();
    if (!table || row < 0 || row >= table->rowCount()) {
        QTest::qFail(qPrintable(QStringLiteral("no row %1 in the file list").arg(row)), __FILE__,
                     __LINE__);
        return;
    }
    const QRect cell = table->visualRect(table->model()->index(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers, cell.center());
}

void SimRig::clickFiles(const QString &caption)
{
    FileTransferForm *window = console->files.window();
    if (QAbstractButton *button = window ? buttonCaptioned(window, caption) : nullptr)
        QTest::mouseClick(button, Qt::LeftButton);
    else
        QTest::qFail(qPrintable("no file manager button \"" + caption + '"'), __FILE__, __LINE__);
}

void SimRig::when(std::function<bool()> condition, std::function<void()> action)
{
    m_condition = std::move(condition);
    m_action = std::move(action);
    m_fired = false;
    m_watch.start();
}

QAbstractButton *buttonCaptioned(const QWidget *window, const QString &caption)
{
    for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
        if (QString(button->text()).remove(QLatin1Char('&')) == caption)
            return button;
    }
    return nullptr;
}

QWidget *labelledControl(const QWidget *window, const QString &caption)
{
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text() == caption)
            return label->buddy();
    }
    return nullptr;
}

QAbstractButton *modalButton(const QString &caption)
{
    const QWidget *modal = QApplication::activeModalWidget();
    return modal ? buttonCaptioned(modal, caption) : nullptr;
}

QStringList coveredControls(QWidget *window)
{
    QList<QWidget *> controls;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(w) || qobject_cast<QLabel *>(w) ||
                             qobject_cast<QLineEdit *>(w) || qobject_cast<QComboBox *>(w) ||
                             qobject_cast<QAbstractSpinBox *>(w);
        if (control && w->isVisible() && !w->objectName().isEmpty() &&
            !qobject_cast<QLineEdit *>(w->parentWidget()) &&
            !qobject_cast<QComboBox *>(w->parentWidget()) &&
            !qobject_cast<QAbstractSpinBox *>(w->parentWidget()))
            controls << w;
    }
    QStringList covered;
    for (int i = 0; i < controls.size(); ++i) {
        const QSize least = controls[i]->minimumSizeHint();
        if (controls[i]->sizePolicy().horizontalPolicy() != QSizePolicy::Ignored &&
            (controls[i]->width() < least.width() || controls[i]->height() < least.height()))
            covered << controls[i]->objectName() + QStringLiteral(" cut");
        const QRect a(controls[i]->mapTo(window, QPoint()), controls[i]->size());
        for (int j = i + 1; j < controls.size(); ++j) {
            const QRect b(controls[j]->mapTo(window, QPoint()), controls[j]->size());
            if (a.intersects(b))
                covered << controls[i]->objectName() + '/' + controls[j]->objectName();
        }
    }
    return covered;
}
