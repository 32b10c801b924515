#pragma once

#include "link/PortOpenError.h"

#include <QCoreApplication>
#include <QString>

// Why a port could not be opened, in the operator's terms. A port held by another program
// (the console, a terminal program) fails as a permission error although the user may use
// the device: its lock file or exclusive open says that someone else has it.
class PortProblem
{
    Q_DECLARE_TR_FUNCTIONS(PortProblem)

public:
    PortProblem() = default;
    PortProblem(const QString &device, const PortOpenError &error);

    bool inUse() const { return m_inUse; }
    QString text() const { return m_text; }

private:
    bool m_inUse = false;
    QString m_text;
};
