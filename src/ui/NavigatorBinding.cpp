#include "ui/NavigatorBinding.h"

#include <QAction>
#include <QToolBar>

#include "core/Text.h"
#include "platform/ModalMessageBox.h"
#include "platform/MySqlDataSet.h"

namespace {

constexpr const char* kBindingName = "navigatorBinding";

}  // namespace

NavigatorBinding* NavigatorBinding::of(QToolBar* navigator, ModalMessageBox* messages) {
    auto* binding = navigator->findChild<NavigatorBinding*>(QLatin1String(kBindingName),
                                                            Qt::FindDirectChildrenOnly);
    return binding != nullptr ? binding : new NavigatorBinding(navigator, messages);
}

NavigatorBinding::NavigatorBinding(QToolBar* navigator, ModalMessageBox* messages)
    : QObject(navigator), navigator_(navigator), messages_(messages) {
    setObjectName(QLatin1String(kBindingName));
    const std::pair<const char*, void (NavigatorBinding::*)()> buttons[] = {
        {"nbFirst", &NavigatorBinding::first},     {"nbPrior", &NavigatorBinding::prior},
        {"nbNext", &NavigatorBinding::next},       {"nbLast", &NavigatorBinding::last},
        {"nbRefresh", &NavigatorBinding::refresh},
    };
    for (const auto& [name, move] : buttons) {
        if (QAction* action = button(name)) {
            connect(action, &QAction::triggered, this, move);
        }
    }
    updateButtons();
}

NavigatorBinding::~NavigatorBinding() {
    if (source_ != nullptr) {
        source_->removeObserver(this);
    }
}

void NavigatorBinding::setSource(MySqlDataSource* source) {
    if (source != source_) {
        if (source_ != nullptr) {
            source_->removeObserver(this);
        }
        source_ = source;
        if (source_ != nullptr) {
            source_->addObserver(this);
        }
    }
    updateButtons();
}

QAction* NavigatorBinding::button(const char* name) const {
    return navigator_->findChild<QAction*>(QLatin1String(name));
}

MySqlDataSet* NavigatorBinding::openDataSet() const {
    if (source_ == nullptr || !source_->enabled()) {
        return nullptr;
    }
    MySqlDataSet* dataSet = source_->dataSet();
    return dataSet != nullptr && dataSet->active() ? dataSet : nullptr;
}

void NavigatorBinding::first() {
    if (MySqlDataSet* dataSet = openDataSet()) {
        dataSet->first();
    }
    updateButtons();
}

void NavigatorBinding::prior() {
    if (MySqlDataSet* dataSet = openDataSet()) {
        dataSet->prior();
    }
    updateButtons();
}

void NavigatorBinding::next() {
    if (MySqlDataSet* dataSet = openDataSet()) {
        dataSet->next();
    }
    updateButtons();
}

void NavigatorBinding::last() {
    if (MySqlDataSet* dataSet = openDataSet()) {
        dataSet->last();
    }
    updateButtons();
}

void NavigatorBinding::refresh() {
    MySqlDataSet* dataSet = openDataSet();
    if (dataSet != nullptr && !dataSet->open() && messages_ != nullptr) {
        messages_->show(text::toWide(dataSet->lastError()), u"Errore!",
                        ModalMessageBox::kOk | ModalMessageBox::kIconError);
    }
    updateButtons();
}

void NavigatorBinding::updateButtons() {
    const MySqlDataSet* dataSet = openDataSet();
    const bool atStart = dataSet == nullptr || dataSet->bof();
    const bool atEnd = dataSet == nullptr || dataSet->eof();
    const std::pair<const char*, bool> states[] = {
        {"nbFirst", !atStart},
        {"nbPrior", !atStart},
        {"nbNext", !atEnd},
        {"nbLast", !atEnd},
        {"nbRefresh", dataSet != nullptr},
    };
    for (const auto& [name, enabled] : states) {
        if (QAction* action = button(name)) {
            action->setEnabled(enabled);
        }
    }
}

void NavigatorBinding::dataSourceChanged() {
    updateButtons();
}

void NavigatorBinding::dataSourceDestroyed() {
    source_ = nullptr;
    updateButtons();
}
