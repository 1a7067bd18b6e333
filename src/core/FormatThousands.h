// FormatThousands writes a count for the operator: decimal digits with a full
// stop between groups of three counted from the right, as the bank writes
// numbers (1234567 gives "1.234.567"). A text longer than width becomes
// width asterisks, so a box never shows a number cut short:
//
//   view.setText("tbAgg", text::toWide(FormatThousands(totDoc, 11)));
//
// The text is not padded to the width.
#pragma once

#include <cstdint>
#include <string>

std::string FormatThousands(int64_t value, int width);
