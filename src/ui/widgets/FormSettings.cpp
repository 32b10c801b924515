#include "ui/widgets/FormSettings.h"

#include "support/SettingsKeys.h"
#include "support/Twips.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QHash>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QVariant>
#include <QWidget>

namespace
{

constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

QScreen *screenOf(const QWidget *window)
{
    QScreen *screen = window->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

double dpiOf(const QWidget *window)
{
    const QScreen *screen = screenOf(window);
    return screen ? screen->logicalDotsPerInch() : Twips::kDefaultDpi;
}

// Only text the store gave back as text counts; anything else means the key is unusable.
QString readText(const QSettings &settings, QAnyStringView key, const QString &fallback)
{
    const QVariant value = settings.value(key, fallback);
    return value.typeId() == QMetaType::QString ? value.toString() : fallback;
}

// Reads one geometry value in pixels; `pixels` keeps its value when the key is missing or
// does not hold a number.
void readPixels(const QSettings &settings, QLatin1String key, double dpi, int *pixels)
{
    float twips = 0;
    if (Twips::parse(readText(settings, key, QString()), &twips))
        *pixels = Twips::toPixels(twips, dpi);
}

void writePixels(QSettings &settings, QLatin1String key, int pixels, double dpi)
{
    settings.setValue(key, Twips::toText(Twips::fromPixels(pixels, dpi)));
}

void savePlace(QSettings &settings, const QWidget *window)
{
    const double dpi = dpiOf(window);
    writePixels(settings, SettingsKeys::kTop, window->pos().y(), dpi);
    writePixels(settings, SettingsKeys::kLeft, window->pos().x(), dpi);
    if (FormSettings::isSizable(window)) {
        writePixels(settings, SettingsKeys::kWidth, window->width(), dpi);
        writePixels(settings, SettingsKeys::kHeight, window->height(), dpi);
    }
}

void restorePlace(const QSettings &settings, QWidget *window)
{
    const double dpi = dpiOf(window);
    QPoint place = window->pos();
    readPixels(settings, SettingsKeys::kTop, dpi, &place.ry());
    readPixels(settings, SettingsKeys::kLeft, dpi, &place.rx());
    // An unchanged window is not touched, so a new one is still placed by the window system.
    if (place != window->pos())
        window->move(place);
    if (FormSettings::isSizable(window)) {
        QSize size = window->size();
        readPixels(settings, SettingsKeys::kWidth, dpi, &size.rwidth());
        readPixels(settings, SettingsKeys::kHeight, dpi, &size.rheight());
        if (size != window->size())
            window->resize(size);
    }
}

// Stored check-box values: "0" clear, "1" ticked, "2" greyed (Qt numbers the last two the
// other way round).
int storedCheckValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

bool isHandledKind(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget) ||
           qobject_cast<const QCheckBox *>(widget) || qobject_cast<const QRadioButton *>(widget);
}

// The line edit inside a combo or spin box belongs to that box, not to the window.
bool isInnerPart(const QWidget *widget, const QWidget *window)
{
    if (widget->objectName().startsWith(QLatin1String("qt_")))
        return true;
    for (const QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox *>(up) || qobject_cast<const QAbstractSpinBox *>(up))
            return true;
    }
    return false;
}

QWidgetList candidateControls(QWidget *window)
{
    QWidgetList controls;
    const QWidgetList children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (!child->objectName().isEmpty() && child->window() == window && isHandledKind(child) &&
            !isInnerPart(child, window))
            controls.append(child);
    }
    return controls;
}

void saveControl(QSettings &settings, const QWidget *control)
{
    const QString key = FormSettings::controlKey(control);
    if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
        settings.setValue(key, edit->text());
    } else if (const auto *combo = qobject_cast<const QComboBox *>(control)) {
        settings.setValue(key, combo->currentText());
    } else if (const auto *check = qobject_cast<const QCheckBox *>(control)) {
        settings.setValue(key, QString::number(storedCheckValue(check->checkState())));
    } else if (const auto *option = qobject_cast<const QRadioButton *>(control)) {
        settings.setValue(
            key, QString(option->isChecked() ? SettingsKeys::kTrue : SettingsKeys::kFalse));
    }
}

void restoreCheckBox(const QSettings &settings, const QString &key, QCheckBox *check)
{
    static constexpr Qt::CheckState kStates[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    const QString current = QString::number(storedCheckValue(check->checkState()));
    bool ok = false;
    const int value = readText(settings, key, current).trimmed().toInt(&ok);
    if (!ok || value < 0 || value > 2)
        return;
    if (kStates[value] != check->checkState())
        check->setCheckState(kStates[value]);
}

void restoreRadioButton(const QSettings &settings, const QString &key, QRadioButton *option)
{
    const QString text = readText(settings, key, QString()).trimmed();
    bool checked = false;
    if (text.compare(SettingsKeys::kTrue, Qt::CaseInsensitive) == 0)
        checked = true;
    else if (text.compare(SettingsKeys::kFalse, Qt::CaseInsensitive) != 0)
        return;
    if (checked != option->isChecked())
        option->setChecked(checked);
}

void restoreControl(const QSettings &settings, QWidget *control)
{
    const QString key = FormSettings::controlKey(control);
    if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        const QString text = readText(settings, key, edit->text());
        if (text != edit->text())
            edit->setText(text);
    } else if (auto *combo = qobject_cast<QComboBox *>(control)) {
        const QString text = readText(settings, key, combo->currentText());
        if (text != combo->currentText())
            combo->setCurrentText(text);
    } else if (auto *check = qobject_cast<QCheckBox *>(control)) {
        restoreCheckBox(settings, key, check);
    } else if (auto *option = qobject_cast<QRadioButton *>(control)) {
        restoreRadioButton(settings, key, option);
    }
}

} // namespace

void SaveFormPosition(QWidget *window, const QString &section)
{
    if (!window || (window->windowState() & kNotNormal))
        return;
    QSettings settings;
    settings.beginGroup(section);
    savePlace(settings, window);
}

void RestoreFormPosition(QWidget *window, const QString &section)
{
    if (!window)
        return;
    {
        QSettings settings;
        settings.beginGroup(section);
        restorePlace(settings, window);
    }
    KeepFormOnScreen(window);
}

void SaveFormSettings(QWidget *window)
{
    if (!window || window->objectName().isEmpty())
        return;
    QSettings settings;
    settings.beginGroup(window->objectName());
    savePlace(settings, window);
    const QWidgetList controls = FormSettings::persistedControls(window);
    for (const QWidget *control : controls)
        saveControl(settings, control);
}

void RestoreFormSettings(QWidget *window)
{
    if (!window || window->objectName().isEmpty())
        return;
    QSettings settings;
    settings.beginGroup(window->objectName());
    if (!(window->windowState() & kNotNormal))
        restorePlace(settings, window);
    KeepFormOnScreen(window);
    // Handlers run during this loop and may change other controls; each control's default
    // is read only when its turn comes.
    const QWidgetList controls = FormSettings::persistedControls(window);
    for (QWidget *control : controls)
        restoreControl(settings, control);
}

void KeepFormOnScreen(QWidget *window)
{
    if (!window)
        return;
    if (const QScreen *screen = screenOf(window))
        KeepFormOnScreen(window, screen->geometry());
}

void KeepFormOnScreen(QWidget *window, const QRect &screenGeometry)
{
    if (!window)
        return;
    const double dpi = dpiOf(window);
    const QPoint place = window->pos() - screenGeometry.topLeft();
    float left = Twips::fromPixels(place.x(), dpi);
    float top = Twips::fromPixels(place.y(), dpi);
    const auto limit = [dpi](int pixels) {
        return static_cast<float>(0.9 * double(Twips::fromPixels(pixels, dpi)));
    };
    const float maxLeft = limit(screenGeometry.width());
    const float maxTop = limit(screenGeometry.height());
    if (left < 0)
        left = 0;
    if (top < 0)
        top = 0;
    if (left > maxLeft)
        left = maxLeft;
    if (top > maxTop)
        top = maxTop;
    const QPoint kept =
        screenGeometry.topLeft() + QPoint(Twips::toPixels(left, dpi), Twips::toPixels(top, dpi));
    if (kept != window->pos())
        window->move(kept);
}

void FormSettings::setControlIndex(QWidget *control, int index)
{
    control->setProperty(kControlIndexProperty, index);
}

void FormSettings::setPersisted(QWidget *control, bool persisted)
{
    control->setProperty(kPersistedProperty, persisted);
}

void FormSettings::setControlOrder(QWidget *window, const QStringList &keys)
{
    window->setProperty(kControlOrderProperty, keys);
}

QString FormSettings::controlKey(const QWidget *control)
{
    const QVariant index = control->property(kControlIndexProperty);
    bool ok = false;
    const int number = index.toInt(&ok);
    if (!index.isValid() || !ok)
        return control->objectName();
    return control->objectName() + QString::number(number);
}

QWidgetList FormSettings::persistedControls(QWidget *window)
{
    const QWidgetList candidates = candidateControls(window);
    const QVariant order = window->property(kControlOrderProperty);
    if (!order.isValid()) {
        QWidgetList controls;
        for (QWidget *control : candidates) {
            const QVariant persisted = control->property(kPersistedProperty);
            if (!persisted.isValid() || persisted.toBool())
                controls.append(control);
        }
        return controls;
    }
    QHash<QString, QWidget *> byKey;
    for (QWidget *control : candidates) {
        const QString key = controlKey(control);
        if (!byKey.contains(key))
            byKey.insert(key, control);
    }
    QWidgetList controls;
    const QStringList keys = order.toStringList();
    for (const QString &key : keys) {
        if (QWidget *control = byKey.value(key))
            controls.append(control);
    }
    return controls;
}

bool FormSettings::isSizable(const QWidget *window)
{
    return window->minimumSize() != window->maximumSize();
}
