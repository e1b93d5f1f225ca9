#pragma once
// The base of the database element records: a record of its own class.
#include <string>

#include "data/data_record.h"

template <class T>
class cDatabaseRecord : public cDataRecordOf<T> {};
