// The common status report: lists the set bits of an object's status word
// with their texts in a modal warning box, for example
//
//   Status: KroFile
//
//   Bit 00) Nessun file aperto
//
// Bits set in ignoreMask are not listed.
#pragma once

#include <cstdint>
#include <string>

class KroFastObject;
class ModalMessageBox;

// The text of the report, as shown.
std::u16string statusReportText(const KroFastObject& object, uint32_t ignoreMask);

// Shows the report (caption "Attenzione!", warning icon, OK) and returns when
// the operator closes it.
void showStatusReport(const KroFastObject& object, uint32_t ignoreMask, ModalMessageBox& box);
