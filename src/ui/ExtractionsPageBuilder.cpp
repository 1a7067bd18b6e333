#include "ui/ExtractionsPageBuilder.h"

#include <QAction>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "ui/WindowElements.h"

namespace {

void addNavigatorAction(QToolBar* navigator, const char* name, QStyle::StandardPixmap icon,
                        const QString& hint) {
    QAction* action = navigator->addAction(navigator->style()->standardIcon(icon), hint);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(hint);
}

QToolBar* makeNavigator(QWidget* page) {
    auto* navigator = new QToolBar(page);
    navigator->setObjectName(QStringLiteral("dbnNavigator"));
    navigator->setIconSize(QSize(16, 16));
    addNavigatorAction(navigator, "nbFirst", QStyle::SP_MediaSkipBackward, QStringLiteral("Primo"));
    addNavigatorAction(navigator, "nbPrior", QStyle::SP_MediaSeekBackward,
                       QStringLiteral("Precedente"));
    addNavigatorAction(navigator, "nbNext", QStyle::SP_MediaSeekForward,
                       QStringLiteral("Successivo"));
    addNavigatorAction(navigator, "nbLast", QStyle::SP_MediaSkipForward, QStringLiteral("Ultimo"));
    addNavigatorAction(navigator, "nbRefresh", QStyle::SP_BrowserReload,
                       QStringLiteral("Aggiorna"));
    return navigator;
}

}  // namespace

QWidget* ExtractionsPageBuilder::build(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tsEstrazioni"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(makeNavigator(page));

    auto* grids = new QGridLayout();
    QTableView* loadDates = ui::makeGrid(page, "dbgDateCarico");
    loadDates->setEnabled(false);
    QTableView* extractions = ui::makeGrid(page, "dbgOrvax");
    grids->addWidget(ui::makeCaption(page, loadDates, QStringLiteral("Elenco Date Carico")), 0, 0);
    grids->addWidget(
        ui::makeCaption(page, extractions, QStringLiteral("Elenco estrazioni già effettuate")), 0,
        1);
    grids->addWidget(loadDates, 1, 0);
    grids->addWidget(extractions, 1, 1);
    grids->setColumnStretch(0, 1);
    grids->setColumnStretch(1, 3);
    layout->addLayout(grids, 1);
    return page;
}
