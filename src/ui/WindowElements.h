// WindowElements makes the elements of ExportOrvax's windows the way the
// windows define them, so that every builder names, captions and hints them
// alike:
//
// - every element carries its documented name as its objectName;
// - a caption written beside an element is a QLabel named after the element
//   with "Caption" appended (udResi's "Tasca Resi" is "udResiCaption"),
//   whose buddy is the element;
// - hints are tool tips;
// - an up-down with its edit box is one QSpinBox: its objectName is the
//   up-down's name (udResi) and its own line edit carries the edit box's name
//   (tbResi), so both names are found with findChild; the spin box also keeps
//   the edit box's name in the dynamic property "editName";
// - a panel is a QFrame filled with its own colour (setPanelColour).
#pragma once

#include <QColor>
#include <QString>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableView;
class QToolButton;
class QWidget;

namespace ui {

inline constexpr const char* kEditNameProperty = "editName";
inline constexpr const char* kCaptionSuffix = "Caption";

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption);
// The caption label of an element: named after it with kCaptionSuffix.
QLabel* makeCaption(QWidget* parent, QWidget* element, const QString& caption);
QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& hint = {});
QLineEdit* makeReadOnlyEdit(QWidget* parent, const char* name);
// A speed button: a tool button that shows its caption.
QToolButton* makeSpeedButton(QWidget* parent, const char* name, const QString& caption,
                             const QString& hint = {});
QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked,
                        const QString& hint = {});
QSpinBox* makeUpDown(QWidget* parent, const char* upDownName, const char* editName, int minimum,
                     int maximum, int position);
QFrame* makePanel(QWidget* parent, const char* name);
// A data grid: a read-only table view over the model of a data source.
QTableView* makeGrid(QWidget* parent, const char* name);

// Fills the panel (and what shows through its children) with the colour.
void setPanelColour(QWidget* panel, const QColor& colour);

}  // namespace ui
