#pragma once

#include <QByteArray>

class CommPort;

// Three ETX: stops whatever the instrument is doing.
inline const QByteArray kThreeEtx(3, '\x03');

// The three ETX straight to the port. Not a transaction: no CR, nothing waited for,
// ReceiveBuffer left alone.
void SendAbort(CommPort &port);
