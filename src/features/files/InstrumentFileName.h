#pragma once

#include <QCoreApplication>
#include <QString>

// The names the instrument's disk can hold: 1 to 12 printable ASCII characters without
// blanks and without any of " * , / : < > ? \ |, and neither "." nor "..".
class InstrumentFileName
{
    Q_DECLARE_TR_FUNCTIONS(InstrumentFileName)

public:
    static constexpr int kMaxLength = 12;
    static constexpr char kForbidden[] = "\"*,/:<>?\\|";

    // Why the disk cannot hold `name`, as the end of a sentence ("it holds the character
    // \"?\""); empty when it can.
    static QString problem(const QString &name);
};
