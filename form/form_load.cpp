#include "actions.h"

namespace tolvex {

void Form_Load(CoilFields& fields) {
    fields.IndUnits.SetListIndex(1);
}

} // namespace tolvex
