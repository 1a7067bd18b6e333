#include "ui/MainWindow.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTabWidget>

#include "ui/ExtractionsPageBuilder.h"
#include "ui/HiddenPagesBuilder.h"
#include "ui/JobBarBuilder.h"
#include "ui/LoadingPageBuilder.h"
#include "ui/SettingsPageBuilder.h"
#include "ui/StepPanelsBuilder.h"

namespace {

struct ActionDefinition {
    const char* name;
    const char16_t* caption;
    const char16_t* hint;
    bool enabled;
};

constexpr ActionDefinition kActions[] = {
    {"act01_Connect", u"Connetti DBase", u"", true},
    {"act02_DstType", u"Tipologia file di destinazione", u"", true},
    {"act03_Browse", u"2-Sfoglia", u"Scelta del nome file di selezione", true},
    {"act04AssTas", u"3-Caselle", u"Assegnazione tasche e timbri", false},
    {"act05Verify", u"5-Verifica", u"Verifiche sui documenti in fase di scarico", false},
    {"act06Unload", u"6-Scarica", u"", false},
    {"act07Reports", u"7-Reports", u"", true},
    {"act0End", u"&Fine", u"", true},
    {"actBlipGen", u"Genera Blip", u"", false},
};

constexpr int kStepColumnWidth = 220;
constexpr int kProgressWidth = 180;

}  // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmOutput"));
    setWindowTitle(QStringLiteral("QuorvelNet - Export Scarico di  Caveau"));
    createActions();
    setCentralWidget(createCentralArea());
    createStatusBar();

    auto* saveDialog = new QFileDialog(this);
    saveDialog->setObjectName(QStringLiteral("SaveDialog"));
    saveDialog->setAcceptMode(QFileDialog::AcceptSave);

    resize(kClientWidth, kClientHeight);
    setMinimumWidth(kMinimumWidth);
    centreOnScreen();
}

QObject* MainWindow::element(QAnyStringView name) const {
    const QString wanted = name.toString();
    for (QAction* action : actions_) {
        if (action->objectName() == wanted) {
            return action;
        }
    }
    QObject* found = findChild<QObject*>(wanted);
    if (qobject_cast<QLineEdit*>(found) != nullptr) {
        if (auto* upDown = qobject_cast<QAbstractSpinBox*>(found->parent())) {
            return upDown;
        }
    }
    return found;
}

void MainWindow::createActions() {
    auto* list = new QObject(this);
    list->setObjectName(QStringLiteral("alMain"));
    for (const ActionDefinition& definition : kActions) {
        const QString caption = QString::fromUtf16(definition.caption);
        auto* action = new QAction(caption, list);
        action->setIconText(caption);  // buttons showing the action keep its mnemonic
        action->setObjectName(QLatin1String(definition.name));
        action->setToolTip(QString::fromUtf16(definition.hint));
        action->setEnabled(definition.enabled);
        actions_.append(action);
    }
    addActions(actions_);
}

QWidget* MainWindow::createCentralArea() {
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("pnlClient"));
    auto* layout = new QGridLayout(area);
    layout->setContentsMargins(6, 6, 6, 2);
    layout->setSpacing(6);

    QObject* list = findChild<QObject*>(QStringLiteral("alMain"));
    QWidget* steps = StepPanelsBuilder::build(area, list);
    steps->setFixedWidth(kStepColumnWidth);
    layout->addWidget(JobBarBuilder::build(area, list), 0, 0, 1, 2);
    layout->addWidget(steps, 1, 0);
    layout->addWidget(createPageControl(area), 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);

    QAction* connect = actions_.front();
    QObject::connect(connect, &QAction::enabledChanged, area, &QWidget::setEnabled);
    return area;
}

QWidget* MainWindow::createPageControl(QWidget* parent) {
    auto* pages = new QTabWidget(parent);
    pages->setObjectName(QStringLiteral("PageControl"));
    pages->addTab(LoadingPageBuilder::build(pages), QStringLiteral("Caricamento"));
    pages->addTab(ExtractionsPageBuilder::build(pages), QStringLiteral("Estrazioni eseguite"));
    pages->addTab(SettingsPageBuilder::build(pages), QStringLiteral("Impostazioni"));
    const int tables = pages->addTab(HiddenPagesBuilder::buildTablesPage(pages),
                                     QStringLiteral("Visualizza Tabelle"));
    const int errors = pages->addTab(HiddenPagesBuilder::buildErrorLogPage(pages),
                                     QStringLiteral("Log degli errori"));
    pages->setTabVisible(tables, false);
    pages->setTabVisible(errors, false);
    pages->setCurrentIndex(0);
    return pages;
}

void MainWindow::createStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    bar->setSizeGripEnabled(false);
    for (const char* name : {"ProgressBar", "psbDistinte"}) {
        auto* progress = new QProgressBar(bar);
        progress->setObjectName(QLatin1String(name));
        progress->setRange(0, 100);
        progress->setValue(0);
        progress->setTextVisible(false);
        progress->setFixedWidth(kProgressWidth);
        bar->addPermanentWidget(progress);
    }
    bar->findChild<QProgressBar*>(QStringLiteral("psbDistinte"))->hide();
}

void MainWindow::centreOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->geometry();
    move((available.width() - width()) / 2, (available.height() - height()) / 2);
}
