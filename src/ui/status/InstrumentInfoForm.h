#pragma once

#include "session/InstrumentIdentity.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

// Shows the identification values kept from the last "id" reply. It has no refresh: it
// shows what the values held when it was made.
class InstrumentInfoForm : public QDialog
{
    Q_OBJECT

public:
    explicit InstrumentInfoForm(const InstrumentIdentity &identity, QWidget *parent = nullptr);

    // The value lines in display order, the same order as the label lines.
    static QStringList valueLines(const InstrumentIdentity &identity);

private:
    QPlainTextEdit *LabelText;
    QPlainTextEdit *ValueText;
    QPushButton *CloseButton;
};
