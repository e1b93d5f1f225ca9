#pragma once
// The listing of a System record, every member one a line, in declaration order.
#include "data/data_dump.h"
#include "data/system_data.h"

void DumpSystemData(const cSystemData& data, cDataDump& dump);
