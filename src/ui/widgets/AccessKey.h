#pragma once

#include <QtGlobal>

class QWidget;

// Lets a plain letter press the command button of `window` whose access letter ("&Yes") it
// is, while a button has the focus. Returns 0 when it pressed one, else `keyCode` unchanged.
qint16 HandleAccessKey(QWidget *window, qint16 keyCode);
