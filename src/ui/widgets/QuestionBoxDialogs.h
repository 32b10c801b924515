#pragma once

#include <QString>

class QWidget;

// Shows the question box modally and returns the code of the button pressed: 1 first,
// 0 second, -1 third or closed without a button. An empty caption hides its button;
// `defaultButton` (1, 0, -1) picks the button that has the focus. With `centreOnOwner`
// false the box is centred on the screen, otherwise on `owner`.
qint32 ShowQuestionBox(const QString &question, const QString &caption1, const QString &caption2,
                       const QString &caption3, qint32 defaultButton, bool centreOnOwner = false,
                       QWidget *owner = nullptr);
