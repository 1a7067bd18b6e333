#include "ui/LoadingPageBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/WindowElements.h"

namespace {

constexpr int kBoxWidth = 100;

// Caption in column, box in column + 1.
QLineEdit* addBox(QGridLayout* grid, QWidget* page, int row, int column, QLineEdit* box,
                  const QString& caption, int width) {
    box->setFixedWidth(width);
    grid->addWidget(ui::makeCaption(page, box, caption), row, column);
    grid->addWidget(box, row, column + 1);
    return box;
}

void addFlowLabels(QGridLayout* grid, QWidget* page) {
    QLabel* mode = ui::makeLabel(page, "lblCavMode", QStringLiteral("Modalità caveau"));
    QFont bold = mode->font();
    bold.setBold(true);
    mode->setFont(bold);
    grid->addWidget(mode, 0, 0, 1, 2);
    grid->addWidget(ui::makeLabel(page, "lblDocSel", QStringLiteral("Doc. in Selezione")), 0, 2, 1,
                    3);
}

void addRangeAndCounts(QGridLayout* grid, QWidget* page) {
    addBox(grid, page, 1, 0, ui::makeEdit(page, "tbDataIn"), QStringLiteral("Data carico iniziale"),
           kBoxWidth);
    addBox(grid, page, 1, 2, ui::makeEdit(page, "tbDataOut"), QStringLiteral("Data carico finale"),
           kBoxWidth);
    addBox(grid, page, 2, 0, ui::makeReadOnlyEdit(page, "tbBlockNo"),
           QStringLiteral("Num.Blocco attuale"), kBoxWidth);
    grid->addWidget(ui::makeLabel(page, "lblPkts", QStringLiteral("Tasche:")), 2, 2, 1, 2);
    addBox(grid, page, 3, 0, ui::makeReadOnlyEdit(page, "tbPraticheCount"),
           QStringLiteral("Pratiche da estrarre"), kBoxWidth);
    addBox(grid, page, 3, 2, ui::makeReadOnlyEdit(page, "tbAgg"),
           QStringLiteral("Effetti in selezione"), kBoxWidth);

    // Working values of the steps that are not shown.
    for (const char* name : {"tbBlocks", "tbBatch", "tbDstRecs"}) {
        QLineEdit* hidden = ui::makeReadOnlyEdit(page, name);
        hidden->hide();
    }
}

void addOutputFile(QGridLayout* grid, QWidget* page) {
    addBox(grid, page, 4, 0, ui::makeReadOnlyEdit(page, "tbTrack"),
           QStringLiteral("Tracciato record"), kBoxWidth);

    auto* extension = new QComboBox(page);
    extension->setObjectName(QStringLiteral("cboExt"));
    extension->addItems({QStringLiteral("CSV"), QStringLiteral("NST"), QStringLiteral("TXT")});
    extension->setFixedWidth(kBoxWidth);
    grid->addWidget(ui::makeCaption(page, extension, QStringLiteral("Estensione")), 4, 2);
    grid->addWidget(extension, 4, 3);

    QFrame* panel = ui::makePanel(page, "Panel6");
    panel->setFrameStyle(QFrame::NoFrame);
    panel->setEnabled(false);
    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    QCheckBox* assign =
        ui::makeCheckBox(panel, "chkAssTasche", QStringLiteral("Da programma"), false);
    assign->hide();
    panelLayout->addWidget(assign);
    grid->addWidget(panel, 4, 4);

    QLineEdit* file = ui::makeReadOnlyEdit(page, "tbDstFile");
    grid->addWidget(ui::makeCaption(page, file, QStringLiteral("File di scarico")), 5, 0);
    grid->addWidget(file, 5, 1, 1, 4);
}

}  // namespace

QWidget* LoadingPageBuilder::build(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tsPreLoad"));
    auto* layout = new QVBoxLayout(page);

    auto* grid = new QGridLayout();
    grid->setHorizontalSpacing(6);
    addFlowLabels(grid, page);
    addRangeAndCounts(grid, page);
    addOutputFile(grid, page);
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);

    auto* monitor = new QPlainTextEdit(page);
    monitor->setObjectName(QStringLiteral("memMonitor"));
    monitor->setReadOnly(true);
    monitor->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(ui::makeCaption(page, monitor, QStringLiteral("Monitor")));
    layout->addWidget(monitor, 1);
    return page;
}
