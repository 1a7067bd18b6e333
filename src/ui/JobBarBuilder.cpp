#include "ui/JobBarBuilder.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include "ui/WindowElements.h"

namespace {

QLineEdit* addBox(QHBoxLayout* layout, QWidget* bar, const char* name, const QString& caption,
                  int width) {
    QLineEdit* box = ui::makeEdit(bar, name);
    box->setFixedWidth(width);
    layout->addWidget(ui::makeCaption(bar, box, caption));
    layout->addWidget(box);
    return box;
}

}  // namespace

QWidget* JobBarBuilder::build(QWidget* parent, const QObject* actions) {
    auto* bar = new QWidget(parent);
    bar->setObjectName(QStringLiteral("pnlJob"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);

    addBox(layout, bar, "tbJobImpo", QStringLiteral("Lavoro"), 170)->setReadOnly(true);
    addBox(layout, bar, "tbJobDate", QStringLiteral("Data lavoro"), 80);

    QLineEdit* julian = ui::makeEdit(bar, "tbGiulian");
    QLabel* julianLabel = ui::makeLabel(bar, "Label19", QStringLiteral("Giulian"));
    julianLabel->setBuddy(julian);
    julian->setFixedWidth(40);
    julian->hide();
    julianLabel->hide();
    layout->addWidget(julianLabel);
    layout->addWidget(julian);

    addBox(layout, bar, "tbServer", QStringLiteral("Server"), 150)->setReadOnly(true);
    layout->addStretch(1);

    QToolButton* info = ui::makeSpeedButton(bar, "spbInfo", QStringLiteral("Info"),
                                            QStringLiteral("Info sul programma"));
    info->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    layout->addWidget(info);

    QToolButton* end = ui::makeSpeedButton(bar, "spbEnd2", QStringLiteral("Fine Programma"));
    end->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(end, &QToolButton::clicked,
                     actions->findChild<QAction*>(QStringLiteral("act0End")), &QAction::trigger);
    layout->addWidget(end);
    return bar;
}
