// HiddenPagesBuilder builds the two pages of the main window's page control
// that the window keeps hidden and nothing fills: "Visualizza Tabelle"
// (tsTabelle: the radio group gpbSelTable with "Tab. Temporanee" and
// "Database effettivo", the grids dbgDistinte "Distinte" and dbgDocumenti
// "Documenti") and "Log degli errori" (tsLogErrori: the memo memErrors).
#pragma once

class QWidget;

class HiddenPagesBuilder {
public:
    static QWidget* buildTablesPage(QWidget* parent);
    static QWidget* buildErrorLogPage(QWidget* parent);
};
