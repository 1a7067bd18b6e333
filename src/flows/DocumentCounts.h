// DocumentCounts are the figures of a load-date range that the pocket
// assignment counts (PocketAssignment::countDocuments) and the recalled-items
// flow writes into the extraction log: the dossiers, the first and last
// dossier progressive (Prg) and the documents.
#pragma once

struct DocumentCounts {
    int dossiers = 0;  // praticheCount: distinct Num_Pratica
    int startDoc = 0;  // smallest Prg
    int endDoc = 0;    // largest Prg
    int totDoc = 0;    // documents
};
