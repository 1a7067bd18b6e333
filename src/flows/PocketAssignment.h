// PocketAssignment is the data side of the pocket-assignment step: the
// serials filled from the item numbers, the counts of a load-date range, and
// the pockets themselves. The controller's step handler calls it and shows
// the results:
//
//   PocketAssignment pockets(dbUtils, listener);
//   pockets.fillSerials(docTable);                       // before the dates
//   DocumentRange range(docTable, typeCode, loadDateFrom, loadDateTo);
//   DocumentCounts counts;
//   if (!pockets.countDocuments(range, counts)) ...      // "Errori in fase di estrazione"
//   int assigned = pockets.assignPockets(range, counts.startDoc, lastPocket);
//
// The pockets: the documents of the range, in the order Data_Carico,
// Condizione, Prg, Doc_Prg, take pockets from 2 up to the last pocket and
// then from 2 again, moving to the next pocket only where Prg changes from
// one document to the next; T1 to T4 all get the same pocket. The old
// pockets of the range (and NOTA) are cleared first.
//
// All or nothing: clearing and assigning run in one transaction, so a
// statement refused, a commit that fails or a server that goes away leaves
// every pocket of the range as it was before (the server rolls back), and a
// monitor line says so. The assignment is one statement the server works
// out for the whole range (KroTableCatalog::kAssignPockets), with the same
// results as walking the documents one by one.
//
// Failures of statements are shown by the gateway (its box); the step's own
// messages go through the listener. Nothing runs on a range that
// DocumentRange::check refuses.
#pragma once

#include <string>

#include "flows/DocumentCounts.h"

class DocumentRange;
class FlowListener;
class KroDBUtils;

class PocketAssignment {
public:
    static constexpr int kFirstPocket = 2;

    PocketAssignment(KroDBUtils& dbUtils, FlowListener& listener);

    // Gives every document of the table without a serial its item number
    // left-padded with zeros to 10 characters; adds "Sono stati attribuiti %d
    // serial=Num_Effetto" to the monitor when there were some. The number of
    // documents given one, -1 when the statement failed or the table name
    // was refused.
    int fillSerials(const std::string& docTable);

    // The dossiers and documents of the range. False, with "Nessuna pratica
    // estratta" or "Non ci sono effetti da selezionare", when there are none
    // (or the counting failed); the counts found so far are kept.
    bool countDocuments(const DocumentRange& range, DocumentCounts& counts);

    // Clears and assigns the pockets of the range (startDoc: the range's
    // smallest Prg, from countDocuments). The number of documents given a
    // pocket, -1 when the assignment failed and was undone.
    int assignPockets(const DocumentRange& range, int startDoc, int lastPocket);

private:
    bool runCommand(const std::string& sql);
    int undo(const char* message);

    KroDBUtils& dbUtils_;
    FlowListener& listener_;
};
