#pragma once
// The base of every persistent record. A record class lists, for a data version, which of its
// members make up its stored image (RegisterFields), each once, by name, in file order; one
// generic reader and writer turn that list into the body of a record file:
//   block count B, B blocks (each member's memory image, count x size bytes),
//   string count S, S strings (length + 1, then the text and its NUL; 1 alone for ""),
//   then the tail: the registered lists, strings and nested records, in registration order.
// A class's Read and Write overrides add only what the tables cannot say (version fix-ups).
// The tables are the class's, not a record's: they are built once per class and version, with
// each member as its offset in the record, and shared by every record of the class (see
// cDataRecordOf), so a record carries nothing for them.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <typeinfo>
#include <vector>

#include "data/data_reader.h"
#include "data/data_version.h"
#include "data/data_writer.h"
#include "data/record_tables.h"
#include "shell/safe_container.h"

// A record's tables for the current data version, for code that walks its members (dumps,
// comparisons, checks), each entry pointing into that record.
struct DATATABLES {
    std::vector<DATAFIELD> fields;
    std::vector<DATASTRING> strings;
    std::vector<DATATAIL> tail;
};

// Fields that lie one after the other both in a record body and in the record: read, cleared
// and copied as one.
struct DATARUN {
    std::ptrdiff_t offset;   // in the record
    std::size_t start;       // in the body's blocks
    std::size_t bytes;
};

// The entries of one property group (see cDataRecord::CopyGroup), by their index in the tables.
struct DATAGROUP {
    std::vector<std::size_t> fields;
    std::vector<std::size_t> strings;
    std::vector<std::size_t> tail;
};

// The tables of one class at one version, each entry placed by its member's offset.
struct DATALAYOUT {
    DWORD version = 0;
    std::vector<DATALAYOUTENTRY<DATAFIELD>> fields;
    std::vector<DATALAYOUTENTRY<DATASTRING>> strings;
    std::vector<DATALAYOUTENTRY<DATATAIL>> tail;
    std::vector<std::size_t> blockBytes;   // [i]: the bytes of the first i fields' blocks
    std::vector<DATARUN> runs;             // the fields in runs; none when one lies outside the record
    std::vector<DATAGROUP> groups;         // [g + 1]: group g's entries, from kNoDataGroup on
};

// The layouts of one record class, by version: each built on first use and kept for the life of
// the program, so a reference to one stays valid. Safe to use from several threads.
class cRecordLayoutCache {
public:
    // The layout at version, built from record (an object of size bytes at object) if it is new.
    const DATALAYOUT& Get(const cDataRecord& record, DWORD version, const void* object, std::size_t size);

private:
    // The last layouts handed out, looked up without the lock: an old file's read alternates
    // between its version and the current one.
    static constexpr int kRecent = 4;
    std::atomic<const DATALAYOUT*> m_Recent[kRecent] = {};
    std::atomic<unsigned> m_nNextRecent{0};
    std::mutex m_Mutex;
    std::map<DWORD, std::unique_ptr<DATALAYOUT>> m_Layouts;
};

// The layout a record works with: its class's, or one built for this record alone.
class cRecordLayoutRef {
public:
    explicit cRecordLayoutRef(const DATALAYOUT& shared) : m_lpLayout(&shared) {}
    explicit cRecordLayoutRef(std::unique_ptr<DATALAYOUT> own) : m_Own(std::move(own)), m_lpLayout(m_Own.get()) {}
    const DATALAYOUT& operator*() const { return *m_lpLayout; }
    const DATALAYOUT* operator->() const { return m_lpLayout; }
    // A shared layout places the members of every record of its class.
    bool Shared() const { return !m_Own; }

private:
    std::unique_ptr<DATALAYOUT> m_Own;
    const DATALAYOUT* m_lpLayout;
};

class cDataRecord {
public:
    cDataRecord() = default;
    cDataRecord(const cDataRecord&) = default;
    cDataRecord& operator=(const cDataRecord&) = default;
    virtual ~cDataRecord() = default;

    // Lists the stored members for a data version, through the Add... calls below. Called only
    // while the class's layout for that version is built: once per class and version.
    virtual void RegisterFields(DWORD version);
    // The body and the tail (and, in overrides, the version fix-ups) from a reader. A damaged
    // file fails the reader; the record may then be half-read, so callers read into a copy
    // (LoadFrom does).
    virtual void Read(cDataReader& reader);
    // The body and the tail at g_nDataVersion.
    virtual void Write(cDataWriter& writer);

    // Reads the file at path into this record, all or nothing: 1 when it was read whole;
    // 0 when it cannot be opened or is damaged, with the record unchanged. Bytes after the
    // record are not read: the load succeeds and the report file names their count.
    int Load(const char* path);
    // Reads one record body from an open reader into a copy of this record and takes it
    // when the read succeeded: 1, else 0 with the record unchanged. What follows the record
    // is left unread (Remaining tells how much).
    int LoadFrom(cDataReader& reader);
    // Replaces the file at path by this record's image: 1, or 0 with the old file kept.
    int Save(const char* path);

    // Every registered field zero, every registered string empty.
    void Clear();
    // Copies the registered fields and strings of another record of the same class (not the
    // tail).
    void CopyFrom(const cDataRecord& other);
    // Copies the members registered with property group `group` (fields, strings and tail
    // entries) from another record of the same class, whose members lie where this record's do.
    void CopyGroup(int group, const cDataRecord& other);
    // Removes every carriage return from every registered string.
    void StripCR();

    // The tables for g_nDataVersion (see DATATABLES).
    DATATABLES Tables() const;
    // The bytes the registered members hold on the heap, their elements' included.
    std::size_t HeapBytes() const;

protected:
    // The registrations, for RegisterFields. ClearTables starts the list again.
    void ClearTables();

    // Fields: count elements of 1, 2, 4 or 8 bytes at address (count > 1 for an array).
    //   if (version >= 185) AddField4(&m_bExtraLifeByScore, 1, "bExtraLifeByScore");
    // The element type decides how a dump shows the value (signed, unsigned, float). A member
    // of a property group (see CopyGroup) names it last.
    template <class T>
    void AddField1(T* address, int count, const char* name, int group = kNoDataGroup)
    {
        AddField(address, count, 1, DataValueKindOf<T>(1), name, group);
    }
    template <class T>
    void AddField2(T* address, int count, const char* name, int group = kNoDataGroup)
    {
        AddField(address, count, 2, DataValueKindOf<T>(2), name, group);
    }
    template <class T>
    void AddField4(T* address, int count, const char* name, int group = kNoDataGroup)
    {
        AddField(address, count, 4, DataValueKindOf<T>(4), name, group);
    }
    template <class T>
    void AddField8(T* address, int count, const char* name, int group = kNoDataGroup)
    {
        AddField(address, count, 8, DataValueKindOf<T>(8), name, group);
    }
    // One string, or an array of count strings, of the string table.
    void AddString(std::string* address, const char* name, int group = kNoDataGroup) { AddString(address, 1, name, group); }
    void AddString(std::string* address, int count, const char* name, int group = kNoDataGroup);

    // The tail, in file order after the strings (read and written by the base Read and Write):
    // counted lists (a 4-byte count, then the elements) of values (1 or 4 bytes), strings or
    // record bodies,
    template <class T>
    void AddValueList(cSafeVector<T>* list, const char* name) { AddTail(list, 0, &record_tail_types::kValueList<T>, name); }
    void AddStringList(cSafeVector<std::string>* list, const char* name) { AddTail(list, 0, &record_tail_types::kStringList, name); }
    template <class T>
    void AddRecordList(cSafeVector<T>* list, const char* name, int group = kNoDataGroup)
    {
        AddTail(list, 0, &record_tail_types::kRecordList<T>, name, group);
    }
    // count strings or record bodies stored one after the other without a count,
    void AddTailString(std::string* address, int count, const char* name) { AddTail(address, count, &record_tail_types::kFixedStrings, name); }
    template <class T>
    void AddRecord(T* address, int count, const char* name) { AddTail(address, count, &record_tail_types::kFixedRecords<T>, name); }
    // and an optional record (a 4-byte flag, then its body when it is there); P is
    // std::unique_ptr<T> or std::shared_ptr<T>.
    template <class P>
    void AddOptionalRecord(P* address, const char* name) { AddTail(address, 0, &record_tail_types::kOptionalRecord<P>, name); }
    // count values (1, 2 or 4 bytes each) stored one after the other without a count,
    template <class T>
    void AddTailValues(T* address, int count, const char* name) { AddTail(address, count, &record_tail_types::kFixedValues<T>, name); }
    // or a member of a type of its own, for a list that its class reads in its own way.
    void AddTail(void* address, int count, const DATATAILTYPE* type, const char* name, int group = kNoDataGroup);

    // The layout of this record's class at version, shared by its records (cDataRecordOf gives
    // it); null for a class whose tables depend on the record itself (such a record builds its
    // own for each use, its members at their addresses).
    virtual const DATALAYOUT* SharedLayout(DWORD version) const;
    // The layout this record reads and writes with at version.
    cRecordLayoutRef Layout(DWORD version) const;

private:
    friend class cRecordLayoutCache;

    // A copy of this record of its own class, and the taking over of such a copy; given
    // by cDataRecordOf. A plain record is its own class.
    virtual std::unique_ptr<cDataRecord> Duplicate() const;
    virtual void TakeOver(cDataRecord& copy);

    void AddField(void* address, int count, int size, DATAVALUEKIND kind, const char* name, int group);
    void ReadStrings(const DATALAYOUT& layout, cDataReader& reader);
    void WriteStrings(const DATALAYOUT& layout, cDataWriter& writer);
    // Runs RegisterFields into layout. A member inside the object of size bytes at object is
    // placed by its offset from this record, any other by its address.
    void BuildLayout(DATALAYOUT& layout, DWORD version, const void* object, std::size_t size) const;
};

// The base of every record class: gives the record the copy that Load reads into and its
// class's shared layouts.
//   class cBgmData : public cDataRecordOf<cBgmData> { ... };
template <class T>
class cDataRecordOf : public cDataRecord {
protected:
    const DATALAYOUT* SharedLayout(DWORD version) const override
    {
        // A class derived further may register other members: it builds its own.
        if (typeid(*this) != typeid(T)) return nullptr;
        static cRecordLayoutCache s_Layouts;
        return &s_Layouts.Get(*this, version, static_cast<const T*>(this), sizeof(T));
    }

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

// Measured once per class, on a new record.
template <class T>
std::size_t RecordFootprint()
{
    static const std::size_t s_nBytes = sizeof(T) + T().HeapBytes();
    return s_nBytes;
}

// Removes every carriage return before the first NUL of text.
void StripCarriageReturns(std::string& text);
