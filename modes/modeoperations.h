#pragma once

#include "link/core/operations.h"
#include "modes/datasave/model/datasaveoperations.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/log/model/logoperations.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/test/model/testoperations.h"

namespace tolvan {

// The five modes' operations, for whoever builds a link engine (Tolvan, tolvan-cli, the tests); a
// flow adds its own to the table it gets. Each mode's addOperations is false when one of its ranges
// is already owned by another.
inline link::OperationTable modeOperations() {
    link::OperationTable table;
    dataset::op::addOperations(table);
    testmode::op::addOperations(table);
    log::op::addOperations(table);
    psent::op::addOperations(table);
    datasave::op::addOperations(table);
    return table;
}

} // namespace tolvan
