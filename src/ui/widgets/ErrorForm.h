#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

// The message window: warning picture, a fixed text area and "OK". One instance serves
// every message: "OK" only hides it, so later messages reuse it with its last position;
// closing it with the close box destroys it and the next message builds it again.
class ErrorForm : public QDialog
{
    Q_OBJECT

public:
    explicit ErrorForm(QWidget *owner = nullptr);
    ~ErrorForm() override;

    // Puts `message` into msgText and shows the window modally until "OK", Enter or Escape.
    // `owner` (normally the main window) is used only when the window is built.
    static void ShowErrorMessage(const QString &message, QWidget *owner = nullptr);
    // The window that ShowErrorMessage uses now, or null before first use or after a close.
    static ErrorForm *instance();
    // Replaces the system beep sounded on every showing (tests count it); an empty hook
    // restores the system beep.
    static void setBeepHook(std::function<void()> hook);

    QLabel *Picture1;
    QLabel *msgText;
    QPushButton *Cancel;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
};
