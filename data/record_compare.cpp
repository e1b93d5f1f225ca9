#include "data/record_compare.h"

#include <cstring>
#include <typeinfo>

namespace {

bool Differ(std::string* where, const std::string& what)
{
    if (where) *where = what;
    return false;
}

bool SameText(const std::string& a, const std::string& b)
{
    return std::strcmp(a.c_str(), b.c_str()) == 0;
}

bool SameImage(const cDataRecord& a, const cDataRecord& b, const std::string& prefix, std::string* where);

// Element i of two tail entries of the same type.
bool SameElement(const DATATAIL& a, const DATATAIL& b, std::size_t i, const std::string& label, std::string* where)
{
    switch (a.type->element) {
    case DATAELEMENT_VALUE:
        if (std::memcmp(a.At(i), b.At(i), static_cast<std::size_t>(a.type->valueSize)) != 0) return Differ(where, label);
        return true;
    case DATAELEMENT_STRING:
        if (!SameText(a.String(i), b.String(i))) return Differ(where, label);
        return true;
    case DATAELEMENT_RECORD:
        return SameImage(a.Record(i), b.Record(i), label + ".", where);
    }
    return true;
}

bool SameTail(const DATATAIL& a, const DATATAIL& b, const std::string& prefix, std::string* where)
{
    const std::size_t count = a.Count();
    if (count != b.Count()) return Differ(where, prefix + MemberLabel(a.name) + ".count");
    // A single element is named without an index, as a dump shows it.
    const bool indexed = a.type->shape == DATASHAPE_COUNTED || count > 1;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string label = prefix + (indexed ? MemberLabel(a.name, i) : MemberLabel(a.name));
        if (!SameElement(a, b, i, label, where)) return false;
    }
    return true;
}

bool SameImage(const cDataRecord& a, const cDataRecord& b, const std::string& prefix, std::string* where)
{
    if (typeid(a) != typeid(b)) return Differ(where, prefix + "(class)");
    const DATATABLES ta = a.Tables();
    const DATATABLES tb = b.Tables();
    // One class at one version registers the same tables, entry for entry.
    if (ta.fields.size() != tb.fields.size() || ta.strings.size() != tb.strings.size() || ta.tail.size() != tb.tail.size()) {
        return Differ(where, prefix + "(tables)");
    }
    for (std::size_t f = 0; f < ta.fields.size(); ++f) {
        const DATAFIELD& fa = ta.fields[f];
        const DATAFIELD& fb = tb.fields[f];
        const std::size_t size = static_cast<std::size_t>(fa.size);
        for (int i = 0; i < fa.count; ++i) {
            if (std::memcmp(static_cast<const char*>(fa.address) + i * size, static_cast<const char*>(fb.address) + i * size, size) != 0) {
                return Differ(where, prefix + (fa.count > 1 ? MemberLabel(fa.name, static_cast<std::size_t>(i)) : MemberLabel(fa.name)));
            }
        }
    }
    for (std::size_t s = 0; s < ta.strings.size(); ++s) {
        const DATASTRING& sa = ta.strings[s];
        if (!SameText(*sa.address, *tb.strings[s].address)) {
            return Differ(where, prefix + (sa.count > 1 ? MemberLabel(sa.name, static_cast<std::size_t>(sa.index)) : MemberLabel(sa.name)));
        }
    }
    for (std::size_t t = 0; t < ta.tail.size(); ++t) {
        if (!SameTail(ta.tail[t], tb.tail[t], prefix, where)) return false;
    }
    return true;
}

}  // namespace

bool SameRecordImage(const cDataRecord& a, const cDataRecord& b, std::string* where)
{
    if (where) where->clear();
    return SameImage(a, b, "", where);
}
