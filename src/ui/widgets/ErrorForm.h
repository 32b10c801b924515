#pragma once

#include <QDialog>
#include <QList>

#include <functional>
#include <utility>

class QLabel;
class QPushButton;

// The message window: warning picture, a fixed text area and "OK". The program's operator
// dialogs keep one instance for every message: "OK" only hides it, so later messages reuse
// it with its last position; closing it with the close box destroys it and the next
// message builds it again.
//
// A message raised while another is on screen waits its turn: "OK" then shows it (with its
// own beep) instead of hiding the window, so every message is seen.
class ErrorForm : public QDialog
{
    Q_OBJECT

public:
    explicit ErrorForm(QWidget *owner = nullptr);
    ~ErrorForm() override;

    // Puts `message` into msgText and shows the window modally until "OK", Enter or Escape;
    // while another message is showing, returns once this one has been shown and
    // acknowledged. The window may be gone when it returns (closed with its close box).
    void ShowErrorMessage(const QString &message);
    // Replaces the system beep sounded on every showing (tests count it); an empty hook
    // restores the system beep.
    void setBeepHook(std::function<void()> hook) { m_beepHook = std::move(hook); }

    QLabel *Picture1;
    QLabel *msgText;
    QPushButton *Cancel;

    // Messages waiting behind the one shown.
    int waitingCount() const { return int(m_waiting.size()); }

signals:
    // The operator has acknowledged the message with this number.
    void acknowledged(quint64 number);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // "OK": the next waiting message, or the window hides.
    void acknowledge();
    void beep();

    quint64 m_issued = 0;
    quint64 m_shown = 0;
    QList<std::pair<quint64, QString>> m_waiting;
    std::function<void()> m_beepHook;
};
