#include "ui/HiddenPagesBuilder.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/WindowElements.h"

namespace {

// A radio group: its items carry their index in the dynamic property "itemIndex".
QGroupBox* tableChoice(QWidget* page) {
    auto* group = new QGroupBox(QStringLiteral("Tabelle"), page);
    group->setObjectName(QStringLiteral("gpbSelTable"));
    auto* layout = new QHBoxLayout(group);
    const char* names[] = {"rbTabTemporanee", "rbDatabaseEffettivo"};
    const QString captions[] = {QStringLiteral("Tab. Temporanee"),
                                QStringLiteral("Database effettivo")};
    for (int i = 0; i < 2; ++i) {
        auto* item = new QRadioButton(captions[i], group);
        item->setObjectName(QLatin1String(names[i]));
        item->setProperty("itemIndex", i);
        item->setChecked(i == 0);
        layout->addWidget(item);
    }
    return group;
}

}  // namespace

QWidget* HiddenPagesBuilder::buildTablesPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tsTabelle"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tableChoice(page));
    auto* grids = new QGridLayout();
    QTableView* remittances = ui::makeGrid(page, "dbgDistinte");
    QTableView* documents = ui::makeGrid(page, "dbgDocumenti");
    grids->addWidget(ui::makeCaption(page, remittances, QStringLiteral("Distinte")), 0, 0);
    grids->addWidget(ui::makeCaption(page, documents, QStringLiteral("Documenti")), 0, 1);
    grids->addWidget(remittances, 1, 0);
    grids->addWidget(documents, 1, 1);
    layout->addLayout(grids, 1);
    return page;
}

QWidget* HiddenPagesBuilder::buildErrorLogPage(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tsLogErrori"));
    auto* layout = new QVBoxLayout(page);
    auto* log = new QPlainTextEdit(page);
    log->setObjectName(QStringLiteral("memErrors"));
    log->setReadOnly(true);
    layout->addWidget(log);
    return page;
}
