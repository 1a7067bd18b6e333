#include "ui/SettingsPageBuilder.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/WindowElements.h"

namespace {

struct UpDown {
    const char* upDownName;
    const char* editName;
    const char16_t* caption;
    int minimum;
    int maximum;
    int position;
};

constexpr UpDown kUpDowns[] = {
    {"udResi", "tbResi", u"Tasca Resi", 1, 100, 24},
    {"udFirst", "tbFirstPkt", u"Prima tasca utile", 1, 100, 3},
    {"udLast", "tbLastPkt", u"Ultima tasca utile", 1, 64, 22},
    {"udDistinta", "tbPktxDist", u"Ogni distinta", 1, 10, 1},
    {"udDefStamp", "tbDefStamp", u"Timbro default", 0, 9, 2},
    {"udReDom", "tbReDom", u"Ridomiciliati", 1, 100, 2},
};

QGridLayout* upDowns(QWidget* page) {
    auto* grid = new QGridLayout();
    int row = 0;
    for (const UpDown& u : kUpDowns) {
        QSpinBox* box =
            ui::makeUpDown(page, u.upDownName, u.editName, u.minimum, u.maximum, u.position);
        box->setFixedWidth(70);
        grid->addWidget(ui::makeCaption(page, box, QString::fromUtf16(u.caption)), row, 0);
        grid->addWidget(box, row, 1);
        ++row;
    }
    page->findChild<QSpinBox*>(QStringLiteral("udDefStamp"))->setEnabled(false);
    grid->setRowStretch(row, 1);
    return grid;
}

QFrame* copyPanel(QWidget* page) {
    QFrame* panel = ui::makePanel(page, "pnlCopyPath");
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* layout = new QGridLayout(panel);
    QLineEdit* folder = ui::makeEdit(panel, "tbCopyPath");
    QLabel* caption = ui::makeLabel(panel, "pnlCopyPathCaption",
                                    QStringLiteral("Cartella del file duplicato per il sorter"));
    caption->setBuddy(folder);
    layout->addWidget(caption, 0, 0, 1, 2);
    layout->addWidget(folder, 1, 0);
    QToolButton* browse = ui::makeSpeedButton(panel, "spbCopyPath", QStringLiteral("Sfoglia"));
    browse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(browse, 1, 1);
    panel->hide();
    return panel;
}

QVBoxLayout* options(QWidget* page) {
    auto* layout = new QVBoxLayout();
    layout->addWidget(ui::makeCheckBox(page, "chkTest", QStringLiteral("Esportazione di prova"),
                                       false,
                                       QStringLiteral("Limita l'esportazione a 20 rimesse")));
    QCheckBox* standardNames =
        ui::makeCheckBox(page, "chkStdFile", QStringLiteral("Accetta nomi file predefiniti"), true);
    standardNames->hide();
    layout->addWidget(standardNames);
    layout->addWidget(
        ui::makeCheckBox(page, "chkCopyPath", QStringLiteral("Duplica file di scarico"), false));
    layout->addWidget(copyPanel(page));

    auto* buttons = new QHBoxLayout();
    for (QToolButton* button :
         {ui::makeSpeedButton(page, "sptOptLoad", QStringLiteral("Richiama"),
                              QStringLiteral("Richiama le impostazioni del programma")),
          ui::makeSpeedButton(page, "spbOptSave", QStringLiteral("Salva"),
                              QStringLiteral("Salva le impostazioni attuali"))}) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return layout;
}

QFrame* errorsPanel(QWidget* page) {
    QFrame* panel = ui::makePanel(page, "pnlErrors");
    auto* layout = new QVBoxLayout(panel);
    QTableView* grid = ui::makeGrid(panel, "DBGrid3");
    QLabel* caption =
        ui::makeLabel(panel, "pnlErrorsCaption",
                      QStringLiteral("Documenti cui non è stato possibile assegnare la casella"));
    caption->setBuddy(grid);
    layout->addWidget(caption);
    layout->addWidget(grid);
    panel->hide();
    return panel;
}

}  // namespace

QWidget* SettingsPageBuilder::build(QWidget* parent) {
    auto* page = new QWidget(parent);
    page->setObjectName(QStringLiteral("tsImpostazioni"));
    auto* layout = new QVBoxLayout(page);
    auto* columns = new QHBoxLayout();
    columns->addLayout(upDowns(page));
    columns->addSpacing(24);
    columns->addLayout(options(page), 1);
    layout->addLayout(columns, 1);
    layout->addWidget(errorsPanel(page));
    return page;
}
