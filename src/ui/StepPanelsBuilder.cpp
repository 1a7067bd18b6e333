#include "ui/StepPanelsBuilder.h"

#include <QAction>
#include <QGroupBox>
#include <QPalette>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/WindowElements.h"

namespace {

constexpr int kPanelMargin = 4;

QAction* actionNamed(const QObject* actions, const char* name) {
    return actions->findChild<QAction*>(QLatin1String(name));
}

QFrame* addPanel(QWidget* column, int number, QWidget* control) {
    QFrame* panel =
        ui::makePanel(column, QStringLiteral("pnlStato%1").arg(number).toLatin1().constData());
    ui::setPanelColour(panel, panel->palette().color(QPalette::Light));
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(kPanelMargin, kPanelMargin, kPanelMargin, kPanelMargin);
    control->setParent(panel);
    layout->addWidget(control);
    column->layout()->addWidget(panel);
    return panel;
}

QToolButton* actionButton(const char* name, QAction* action) {
    QToolButton* button = ui::makeSpeedButton(nullptr, name, QString());
    button->setDefaultAction(action);
    return button;
}

QToolButton* connectButton(QAction* connect) {
    QToolButton* button =
        ui::makeSpeedButton(nullptr, "Control1", QStringLiteral("Segui il giallo..."));
    QObject::connect(button, &QToolButton::clicked, connect, &QAction::trigger);
    QObject::connect(connect, &QAction::enabledChanged, button, &QWidget::setEnabled);
    button->setEnabled(connect->isEnabled());
    return button;
}

QRadioButton* flowButton(QWidget* box, int number, const QString& caption, const QString& hint,
                         bool enabled) {
    auto* button = new QRadioButton(caption, box);
    button->setObjectName(QStringLiteral("RadioButton%1").arg(number));
    button->setToolTip(hint);
    button->setProperty("tag", number - 1);
    button->setEnabled(enabled);
    return button;
}

QGroupBox* flowGroup() {
    auto* box = new QGroupBox(QStringLiteral("1-Tipologia file di destinazione"));
    box->setObjectName(QStringLiteral("Control2"));
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(2);
    layout->addWidget(flowButton(box, 1, QStringLiteral("Flusso di SELEZIONE"),
                                 QStringLiteral("Crea il flusso per la selezione"), false));
    layout->addWidget(flowButton(box, 2, QStringLiteral("Selezione dei RICHIAMATI"),
                                 QStringLiteral("Selezione dei richiamati"), true));
    layout->addWidget(flowButton(box, 3, QStringLiteral("Produzione rimesse"), QString(), false));
    return box;
}

}  // namespace

QWidget* StepPanelsBuilder::build(QWidget* parent, const QObject* actions) {
    auto* column = new QWidget(parent);
    column->setObjectName(QStringLiteral("pnlSteps"));
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);

    addPanel(column, 1, connectButton(actionNamed(actions, "act01_Connect")));
    addPanel(column, 2, flowGroup());
    addPanel(column, 3, actionButton("Control3", actionNamed(actions, "act03_Browse")));
    addPanel(column, 4, actionButton("Control4", actionNamed(actions, "act04AssTas")));
    addPanel(column, 5, actionButton("Control5", actionNamed(actions, "act05Verify")));
    addPanel(column, 6, actionButton("Control6", actionNamed(actions, "act06Unload")));
    addPanel(column, 7, actionButton("Control7", actionNamed(actions, "act07Reports")));
    layout->addStretch(1);
    addPanel(column, 8, actionButton("Control8", actionNamed(actions, "act0End")));
    return column;
}
