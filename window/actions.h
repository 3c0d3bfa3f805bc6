#pragma once

#include "coil_fields.h"

namespace tolvex {

// Start-up: selects "uH" before the window is first shown.
void Form_Load(CoilFields& fields);

// Inductance of the typed coil into IndRes. An arithmetic failure propagates
// as ArithmeticFailure and leaves IndRes as it was.
void CalcInd_Click(CoilFields& fields);

// The design table into Results. An arithmetic failure propagates as
// ArithmeticFailure; what was written before it stays.
void GO_Click(CoilFields& fields);

} // namespace tolvex
