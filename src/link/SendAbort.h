#pragma once

class CommPort;

// Three ETX straight to the port: stops whatever the instrument is doing. Not a
// transaction: no CR, nothing waited for, ReceiveBuffer left alone.
void SendAbort(CommPort &port);
