#pragma once
// The Codex's index of tag records by group and tagid: an open-addressing hash
// table of record pointers (linear probing, backward-shift deletion) over records
// kept in fixed chunks, so a record's address never changes while it exists.
#include <cstdint>
#include <deque>
#include <vector>

#include "tags/TagRecord.h"

namespace tamber::tags {

class TagIndex {
public:
    TagIndex() = default;
    TagIndex(const TagIndex&) = delete;
    TagIndex& operator=(const TagIndex&) = delete;

    TagRecord* Find(uint32_t group, uint32_t tagid) const;
    TagRecord* FindOrCreate(uint32_t group, uint32_t tagid);
    // Starts loading the table slot where the key's search begins, so that a
    // FindOrCreate of it a little later does not wait on memory.
    void Prefetch(uint32_t group, uint32_t tagid) const {
        if (!slots_.empty()) __builtin_prefetch(&slots_[Home(Key(group, tagid))], 1);
    }
    void Erase(TagRecord* record);
    // Makes room for this many records in all without growing the table again.
    void Reserve(size_t records);
    void Clear();
    size_t Size() const { return size_; }

    template <typename Visit>
    void ForEach(Visit visit) const {
        for (const Slot& slot : slots_) {
            if (slot.record) visit(slot.record);
        }
    }

private:
    static uint64_t Key(uint32_t group, uint32_t tagid) { return (uint64_t{group} << 32) | tagid; }
    size_t Home(uint64_t key) const;
    void Grow(size_t capacity);

    // The key sits beside the pointer so probing never touches the records.
    struct Slot {
        uint64_t key;
        TagRecord* record;
    };
    std::vector<Slot> slots_;          // power-of-two size, at most half full
    std::deque<TagRecord> storage_;    // records, never moved
    std::vector<TagRecord*> free_;     // erased records ready for reuse
    size_t size_ = 0;
    int shift_ = 64;  // 64 minus log2 of the table size
};

}  // namespace tamber::tags
