#pragma once
// Equality of two records, built from their tables.
#include <string>

#include "data/data_record.h"

// Whether two records of one class hold the same stored image at the current data version:
// every registered field byte for byte, every string up to its first NUL (as it is written),
// the tail element by element. When they differ and where is given, it receives the member
// where they first differ ("m_StatusItems[2].m_strLabel", "m_Texts.count").
bool SameRecordImage(const cDataRecord& a, const cDataRecord& b, std::string* where = nullptr);
