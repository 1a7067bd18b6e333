// ExtractionsPageBuilder builds the page "Estrazioni eseguite"
// (tsEstrazioni): the navigator dbnNavigator, a small tool bar whose
// actions nbFirst, nbPrior, nbNext, nbLast and nbRefresh move through the
// data source it is bound to, and the grids dbgDateCarico ("Elenco Date
// Carico", disabled) and dbgOrvax ("Elenco estrazioni già effettuate"),
// empty until their data sources are bound.
#pragma once

class QWidget;

class ExtractionsPageBuilder {
public:
    static QWidget* build(QWidget* parent);
};
