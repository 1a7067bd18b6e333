// StepPanelsBuilder builds the main window's step display: the column of
// step panels pnlStato1 to pnlStato7, each holding its step's control
// Control1 to Control7, and pnlStato8 with Control8 ("Fine").
//
// Control1 is the connect button ("Segui il giallo..."): a click triggers
// act01_Connect and its enabled state follows that action, but it keeps its
// own caption. Control2 is the flow group box with RadioButton1 to
// RadioButton3 (dynamic property "tag" 0 to 2; 1 and 3 disabled); it follows
// no action. Control3 to Control8 show the actions act03_Browse,
// act04AssTas, act05Verify, act06Unload, act07Reports and act0End (caption,
// hint, enabled state and click). Every panel starts with the
// button-highlight colour.
#pragma once

class QObject;
class QWidget;

class StepPanelsBuilder {
public:
    // The column, made a child of parent; actions is the action list alMain.
    static QWidget* build(QWidget* parent, const QObject* actions);
};
