#pragma once

#include <QByteArray>
#include <QList>

// One command line as the instrument received it: "tpower,1" has the name "tpower" and the
// rest "1"; "Dir /V" has the name "dir" and the rest "/V".
struct SimCommandLine {
    QByteArray line;
    QByteArray name; // first word, lower case
    QByteArray rest; // after the first blank or comma, blanks trimmed

    // The rest split at blanks and commas, empty pieces dropped.
    QList<QByteArray> arguments() const
    {
        QList<QByteArray> out;
        QByteArray word;
        for (char c : rest) {
            if (c == ' ' || c == ',') {
                if (!word.isEmpty())
                    out.append(word);
                word.clear();
            } else {
                word.append(c);
            }
        }
        if (!word.isEmpty())
            out.append(word);
        return out;
    }
};
