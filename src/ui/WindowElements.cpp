#include "ui/WindowElements.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>

namespace ui {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QLabel* makeCaption(QWidget* parent, QWidget* element, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(element->objectName() + QLatin1String(kCaptionSuffix));
    label->setBuddy(element);
    return label;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QString& hint) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setToolTip(hint);
    return edit;
}

QLineEdit* makeReadOnlyEdit(QWidget* parent, const char* name) {
    QLineEdit* edit = makeEdit(parent, name);
    edit->setReadOnly(true);
    return edit;
}

QToolButton* makeSpeedButton(QWidget* parent, const char* name, const QString& caption,
                             const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption, bool checked,
                        const QString& hint) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    box->setToolTip(hint);
    return box;
}

QSpinBox* makeUpDown(QWidget* parent, const char* upDownName, const char* editName, int minimum,
                     int maximum, int position) {
    auto* upDown = new QSpinBox(parent);
    upDown->setObjectName(QLatin1String(upDownName));
    upDown->setRange(minimum, maximum);
    upDown->setValue(position);
    upDown->setProperty(kEditNameProperty, QLatin1String(editName));
    if (auto* edit = upDown->findChild<QLineEdit*>()) {
        edit->setObjectName(QLatin1String(editName));
    }
    return upDown;
}

QFrame* makePanel(QWidget* parent, const char* name) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return panel;
}

QTableView* makeGrid(QWidget* parent, const char* name) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(QLatin1String(name));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->setDefaultSectionSize(20);
    return grid;
}

void setPanelColour(QWidget* panel, const QColor& colour) {
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, colour);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
}

}  // namespace ui
