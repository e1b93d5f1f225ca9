#pragma once
// The base of every persistent record. A record lists, for a data version, which of its
// members make up its stored image (RegisterFields); one generic reader and writer turn that
// list into the body of a record file:
//   block count B, B blocks (each member's memory image, count x size bytes),
//   string count S, S strings (length + 1, then the text and its NUL; 1 alone for ""),
//   then the class's tail (its Read and Write overrides).
// The tables point into the record that registered them. Every operation registers the
// record it works on first, so a copy never uses descriptors that point into its source.
#include <cstdint>
#include <memory>
#include <string>

#include "data/data_reader.h"
#include "data/data_version.h"
#include "data/data_writer.h"
#include "shell/safe_container.h"

class cDataRecord;

// One entry of the field table: count elements of size bytes (1, 2, 4 or 8) at address.
struct DATAFIELD {
    cDataRecord* owner;
    void* address;
    int count;
    std::int8_t size;
};

// One entry of the string table.
struct DATASTRING {
    cDataRecord* owner;
    std::string* address;
};

class cDataRecord {
public:
    cDataRecord() = default;
    // Copies and assignments never take the source's tables: they would point into the
    // source. The derived members are copied by the derived class.
    cDataRecord(const cDataRecord&) {}
    cDataRecord& operator=(const cDataRecord&) { return *this; }
    virtual ~cDataRecord() = default;

    // Rebuilds both tables for a data version. A plain record has no fields.
    virtual void RegisterFields(DWORD version);
    // The body (and, in overrides, the tail and the version fix-ups) from a reader. A damaged
    // file fails the reader; the record may then be half-read, so callers read into a copy
    // (LoadFrom does).
    virtual void Read(cDataReader& reader);
    // The body (and, in overrides, the tail) at g_nDataVersion.
    virtual void Write(cDataWriter& writer);

    // Reads the file at path into this record, all or nothing: 1 when it was read whole;
    // 0 when it cannot be opened or is damaged, with the record unchanged.
    int Load(const char* path);
    // Reads one record body from an open reader into a copy of this record and takes it
    // when the read succeeded: 1, else 0 with the record unchanged.
    int LoadFrom(cDataReader& reader);
    // The same for a file image that is this one record: bytes after it fail the read.
    int LoadWhole(cDataReader& reader);
    // Replaces the file at path by this record's image: 1, or 0 with the old file kept.
    int Save(const char* path);

    // Every registered field zero, every registered string empty.
    void Clear();
    // Copies the registered image of another record of the same class.
    void CopyFrom(const cDataRecord& other);
    // Removes every carriage return from every registered string.
    void StripCR();

protected:
    void ClearTables();
    void AddField1(void* address, int count) { AddField(address, count, 1); }
    void AddField2(void* address, int count) { AddField(address, count, 2); }
    void AddField4(void* address, int count) { AddField(address, count, 4); }
    void AddField8(void* address, int count) { AddField(address, count, 8); }
    void AddString(std::string* address, int count = 1);

    void ReadStrings(cDataReader& reader);
    void WriteStrings(cDataWriter& writer);

private:
    int ReadIntoCopy(cDataReader& reader, bool bWholeFile);

    // A copy of this record of its own class, and the taking over of such a copy; given
    // by cDataRecordOf. A plain record is its own class.
    virtual std::unique_ptr<cDataRecord> Duplicate() const;
    virtual void TakeOver(cDataRecord& copy);

    void AddField(void* address, int count, int size);
    // Registration changes only the tables, so a record that is otherwise const may do it.
    void RegisterConst(DWORD version) const;

    mutable cSafeVector<DATAFIELD> m_Fields;
    mutable cSafeVector<DATASTRING> m_Strings;
};

// The base of every record class: gives the record the copy that Load reads into.
//   class cBgmData : public cDataRecordOf<cBgmData> { ... };
template <class T>
class cDataRecordOf : public cDataRecord {
private:
    std::unique_ptr<cDataRecord> Duplicate() const override
    {
        return std::make_unique<T>(static_cast<const T&>(*this));
    }
    void TakeOver(cDataRecord& copy) override
    {
        static_cast<T&>(*this) = std::move(static_cast<T&>(copy));
    }
};

// Removes every carriage return before the first NUL of text.
void StripCarriageReturns(std::string& text);
