#pragma once
// The base of the database element records: a record of its own class that registers its
// fields with their names.
#include <string>

#include "data/data_record.h"

template <class T>
class cDatabaseRecord : public cDataRecordOf<T> {
protected:
    // The names are taken here until the record base keeps them in its tables.
    void AddField1(void* address, int count, const char*) { cDataRecord::AddField1(address, count); }
    void AddField2(void* address, int count, const char*) { cDataRecord::AddField2(address, count); }
    void AddField4(void* address, int count, const char*) { cDataRecord::AddField4(address, count); }
    void AddString(std::string* address, const char*) { cDataRecord::AddString(address, 1); }
};
