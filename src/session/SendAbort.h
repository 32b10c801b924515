#pragma once

#include <QByteArray>

class Line;

// Three ETX: stops whatever the instrument is doing.
inline const QByteArray kThreeEtx(3, '\x03');

// The three ETX straight to the port, through `line`. Not a transaction: no CR, nothing
// waited for, ReceiveBuffer left alone. False when the line refused them or they were not
// written.
bool SendAbort(Line &line);
