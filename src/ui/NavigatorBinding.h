// NavigatorBinding makes the navigator tool bar (dbnNavigator) work on a
// data source: its buttons nbFirst, nbPrior, nbNext, nbLast move the data
// set's cursor, and with it the current row of every grid showing that
// source; nbRefresh runs the data set's statement again. The buttons are
// enabled as the window library's navigator enables them: none without an
// open data set, first and prior unless at the beginning, next and last
// unless at the end. One binding lives in the navigator, as its child:
//
//   NavigatorBinding::of(navigator, &messages)->setSource(dbUtils.dataSource(4));
//
// A refresh that fails shows the data set's message ("Errore!").
#pragma once

#include <QObject>

#include "platform/MySqlDataSource.h"

class ModalMessageBox;
class MySqlDataSet;
class QAction;
class QToolBar;

class NavigatorBinding : public QObject, public MySqlDataSourceObserver {
    Q_OBJECT

public:
    // The navigator's binding, made on first request with the message box
    // for a failed refresh.
    static NavigatorBinding* of(QToolBar* navigator, ModalMessageBox* messages);
    ~NavigatorBinding() override;

    void setSource(MySqlDataSource* source);
    MySqlDataSource* source() const { return source_; }

    void first();
    void prior();
    void next();
    void last();
    void refresh();

    void dataSourceChanged() override;
    void dataSourceDestroyed() override;

private:
    NavigatorBinding(QToolBar* navigator, ModalMessageBox* messages);

    QAction* button(const char* name) const;
    // The data set the buttons work on: open, under an enabled source.
    MySqlDataSet* openDataSet() const;
    void updateButtons();

    QToolBar* navigator_;
    ModalMessageBox* messages_;
    MySqlDataSource* source_ = nullptr;
};
