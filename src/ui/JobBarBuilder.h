// JobBarBuilder builds the bar across the top of the main window: the job
// box tbJobImpo, the job-date box tbJobDate, the hidden day-of-year box
// tbGiulian with its hidden label Label19 ("Giulian"), the server box
// tbServer, the information button spbInfo and the end button spbEnd2
// ("Fine Programma"), whose click triggers act0End.
#pragma once

class QObject;
class QWidget;

class JobBarBuilder {
public:
    // The bar, made a child of parent; actions is the action list alMain.
    static QWidget* build(QWidget* parent, const QObject* actions);
};
