#pragma once
// The table of references: every field of every record type that names another item of the
// same project by its ID. Delete item's in-use rules are the entries marked inUse; "Where is
// this used?", `quillbox-cli uses` and the warnings about missing items read the whole table.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "model/record.h"
#include "model/workspace.h"

namespace qb {

// Where the ID lives in its 32-bit word. Editors store IDs in the low half; a few fields are
// written with all 32 bits (the optional-sound picker, the next shot power, pachinko pieces).
// Whatever the width, the 16 bits of the ID's half are what name the item.
enum class IdBits : std::uint8_t { Low16, High16, Whole32 };

// How many elements a run holds. Every count is also limited by the run's room and by the
// whole elements the record holds.
enum class RunCount : std::uint8_t {
    Fixed,       // every element the run has room for
    CountAt,     // the signed word at countAt, times perCount (0 when negative)
    MapCells,    // width x height of a map (words 0 and 4)
    BehindRun,   // a single pair behind the run of a level's entries (the level's sound)
};

constexpr std::size_t kNoWord = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kUnbounded = std::numeric_limits<std::size_t>::max();

// A field is read only while its condition holds (a sound switched on, the default font while
// the custom font is off, ...): the word at `offset` equals (or, with equal = false, differs
// from) value. kNoWord: always.
struct RefCondition {
    std::size_t offset = kNoWord;
    std::uint32_t value = 0;
    bool equal = true;
};

struct Reference {
    std::uint32_t referrerType;
    const char* what;                       // the field, as its editor calls it
    std::uint32_t targets[2];               // the item types it may name (0 = no second type)
    bool inUse;                             // one of Delete item's in-use rules
    IdBits bits = IdBits::Low16;
    std::size_t first = 0;                  // the word, or the first element of a run
    std::size_t field = 0;                  // the ID word within each element
    std::size_t stride = 4;                 // element size
    std::size_t room = 1;                   // elements the run has room for
    RunCount count = RunCount::Fixed;
    std::size_t countAt = 0;
    std::uint32_t perCount = 1;
    RefCondition when{};                    // for sound pairs: the enabled flag
    bool soundPair = false;                 // `when` is the pair's own switch

    bool mayName(std::uint32_t type) const {
        return type != 0 && (targets[0] == type || targets[1] == type);
    }
};

// Every entry of the table, grouped by referring type.
std::span<const Reference> AllReferences();
// The entries of one referring type (empty for types that name nothing).
std::span<const Reference> ReferencesOf(std::uint32_t referrerType);

// Calls visit(offset, id) for every ID word of the reference the record holds while its
// condition holds (id: the 16 bits of its half, 0 = none); stops when visit answers true.
// Answers whether it was stopped.
template <typename Visit>
bool VisitIds(const Reference& ref, const ConstRecordView& r, Visit&& visit);

// Whether the field is read at all in this record (its condition holds).
bool ReferenceLive(const Reference& ref, const ConstRecordView& r);
// Whether the record names id through the reference.
bool ReferenceNames(const Reference& ref, const ConstRecordView& r, std::int32_t id);

// Whether referrer names target through any field (inUseOnly: through an in-use rule).
// An object never refers to itself, and an object without data refers to nothing.
bool RefersToObject(const ObjectRecord& referrer, const ObjectRecord& target, bool inUseOnly);

// The IDs of the items of the project whose records name the item of that ID, in project order
// (none when no item has that ID); inUseOnly: those that keep it from being deleted.
std::vector<std::int32_t> ItemUses(const ProjectRecord& project, std::int32_t id,
                                   bool inUseOnly = false);

// A name for an item type, for lists: the label of the folder the tree keeps it in ("Enemies
// data"), that of the game type given first; "type N" when the catalogue has none.
std::string ItemTypeName(std::uint32_t type, std::uint32_t gameType = 0xFFFFFFFFu);

// --- implementation of VisitIds ----------------------------------------------------------------

namespace references_detail {
std::uint64_t ElementCount(const Reference& ref, const ConstRecordView& r, std::uint64_t& base);
inline std::int32_t IdOf(const Reference& ref, std::uint32_t word) {
    return static_cast<std::int32_t>(ref.bits == IdBits::High16 ? word >> 16 : word & 0xFFFFu);
}
} // namespace references_detail

template <typename Visit>
bool VisitIds(const Reference& ref, const ConstRecordView& r, Visit&& visit) {
    if (!ReferenceLive(ref, r)) return false;
    std::uint64_t base = ref.first;
    const std::uint64_t n = references_detail::ElementCount(ref, r, base);
    const std::size_t size = r.size();
    for (std::uint64_t i = 0; i < n; ++i) {
        const std::uint64_t offset = base + i * ref.stride + ref.field;
        if (offset > size || size - offset < 4) break;
        const std::size_t at = static_cast<std::size_t>(offset);
        if (visit(at, references_detail::IdOf(ref, r.u32(at)))) return true;
    }
    return false;
}

} // namespace qb
