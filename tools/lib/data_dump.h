#pragma once
// A text listing of a record, built from its tables: every stored member one a line, in the
// order the record declares them ("m_Texts[3] = "ハイスコア""), in UTF-8 for a terminal.
// What the data tool prints to inspect a file.
#include <string>

#include "data/data_record.h"

// Appends the listing of record to out. Lists show their length first ("m_Texts.count = 28"),
// elements of record lists their members under "m_List[i].", an absent optional record
// "m_Name = none".
void DumpRecord(const cDataRecord& record, std::string& out);
