#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidgetList>

class QWidget;

// Remembers between runs where windows stood, the size of the sizable ones, and the values
// of a window's text boxes, combo boxes, check boxes and option buttons. Everything is kept
// as text in the settings store (see SettingsKeys.h); geometry is in twips.
//
// Geometry: "Top"/"Left" are the frame position (QWidget::pos()), "Width"/"Height" the
// client size (QWidget::size()). A window is sizable when its size is not fixed, i.e.
// minimumSize() != maximumSize(); a window with a fixed border calls setFixedSize() in its
// constructor, before restoring, and then keeps only Top and Left. A stored geometry value
// that is not a number is ignored and the window keeps its built value; a missing key
// leaves the value unchanged too. Nothing is moved or resized when the value is unchanged,
// so a window seen for the first time is still placed by the window system.
//
// Controls: each persisted control has a non-empty objectName(); its key is that name, or,
// for a member of a control array, the name followed by its index (FormSettings::
// setControlIndex: "Text1" index 2 -> key "Text12"). Handled kinds and their stored text:
//   QLineEdit, QComboBox   its text (a non-editable combo box selects the matching item)
//   QCheckBox              "0" clear, "1" ticked, "2" greyed
//   QRadioButton           "True" or "False"
// Other kinds, the inner parts of compound widgets, and widgets of other top-level windows
// (child dialogs) are left alone. A stored value that is not valid for its control is
// ignored.
//
// Control order: by default every handled control of the window, in findChildren() order
// (depth first, each parent's children in the order they were created), except those
// marked with FormSettings::setPersisted(control, false). A window may instead give its
// order explicitly with FormSettings::setControlOrder(window, keys): exactly the listed
// controls are then handled, in that order.
//
// Restoring behaves as the operator's input: a value that differs from the current one is
// set with setText()/setCurrentText()/setCheckState()/setChecked(), so textChanged,
// currentTextChanged, stateChanged and toggled fire, one control after the other in control
// order. Windows therefore connect their change handlers to those signals, not to clicked()
// or textEdited(), and make the connections before they call RestoreFormSettings().

// Saves Top and Left (and Width and Height when sizable) under `section`; nothing while the
// window is minimised, maximised or full screen.
void SaveFormPosition(QWidget *window, const QString &section);
// Restores what SaveFormPosition saved, then KeepFormOnScreen.
void RestoreFormPosition(QWidget *window, const QString &section);
// Saves place (in any window state), size when sizable, and the persisted controls under the
// section named after the window's objectName(). Does nothing for a window without a name.
void SaveFormSettings(QWidget *window);
// Restores what SaveFormSettings saved: place and size unless the window is minimised,
// maximised or full screen, then KeepFormOnScreen, then the controls in control order.
void RestoreFormSettings(QWidget *window);
// Keeps the window's top-left corner on the window's screen (full geometry, not just the
// available area; coordinates relative to that screen's origin): a negative Left or Top
// becomes 0, a Left beyond 0.9 x screen width becomes 0.9 x screen width, Top likewise,
// computed in twips.
void KeepFormOnScreen(QWidget *window);
// The same rule against the given screen geometry in pixels.
void KeepFormOnScreen(QWidget *window, const QRect &screenGeometry);

namespace FormSettings
{

// Dynamic properties behind the setters below: the windows carry their own settings rules,
// so code that only sees a QWidget can save and restore them.
inline constexpr char kControlIndexProperty[] = "controlIndex"; // int, on a control
inline constexpr char kPersistedProperty[] = "persisted";       // bool, on a control
inline constexpr char kControlOrderProperty[] = "controlOrder"; // QStringList, on a window

// Makes the control member `index` of the control array named by its objectName().
void setControlIndex(QWidget *control, int index);
// A control marked false is not saved or restored in the default control order.
void setPersisted(QWidget *control, bool persisted);
// The window's control order as a list of keys; keys with no matching control are skipped.
void setControlOrder(QWidget *window, const QStringList &keys);

// The control's key: objectName(), followed by the array index for array members.
QString controlKey(const QWidget *control);
// The controls SaveFormSettings and RestoreFormSettings handle, in control order.
QWidgetList persistedControls(QWidget *window);
bool isSizable(const QWidget *window);

} // namespace FormSettings
