#include "tags/TagIndex.h"

#include <algorithm>

namespace tamber::tags {

size_t TagIndex::Home(uint64_t key) const {
    // Fibonacci hashing: the top bits of the product spread nearby codes apart.
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> shift_);
}

TagRecord* TagIndex::Find(uint32_t group, uint32_t tagid) const {
    if (slots_.empty()) return nullptr;
    const uint64_t key = Key(group, tagid);
    for (size_t i = Home(key);; i = (i + 1) & (slots_.size() - 1)) {
        const Slot& slot = slots_[i];
        if (!slot.record) return nullptr;
        if (slot.key == key) return slot.record;
    }
}

void TagIndex::Grow(size_t capacity) {
    size_t size = 16;
    while (size < capacity * 2) size *= 2;
    if (size <= slots_.size()) return;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{0, nullptr});
    shift_ = 64;
    for (size_t s = size; s > 1; s /= 2) --shift_;
    for (const Slot& slot : old) {
        if (!slot.record) continue;
        size_t i = Home(slot.key);
        while (slots_[i].record) i = (i + 1) & (slots_.size() - 1);
        slots_[i] = slot;
    }
}

void TagIndex::Reserve(size_t records) { Grow(records); }

TagRecord* TagIndex::FindOrCreate(uint32_t group, uint32_t tagid) {
    if ((size_ + 1) * 2 > slots_.size()) Grow(std::max<size_t>(size_ + 1, slots_.size()));
    const uint64_t key = Key(group, tagid);
    size_t i = Home(key);
    for (; slots_[i].record; i = (i + 1) & (slots_.size() - 1)) {
        if (slots_[i].key == key) return slots_[i].record;
    }
    TagRecord* record;
    if (!free_.empty()) {
        record = free_.back();
        free_.pop_back();
        record->group = group;
        record->tagid = tagid;
    } else {
        record = &storage_.emplace_back(group, tagid);
    }
    slots_[i] = Slot{key, record};
    ++size_;
    return record;
}

void TagIndex::Erase(TagRecord* record) {
    if (!record || slots_.empty()) return;
    const size_t mask = slots_.size() - 1;
    size_t i = Home(Key(record->group, record->tagid));
    while (slots_[i].record && slots_[i].record != record) i = (i + 1) & mask;
    if (!slots_[i].record) return;
    // Backward-shift deletion keeps every probe chain unbroken.
    slots_[i] = Slot{0, nullptr};
    for (size_t j = (i + 1) & mask; slots_[j].record; j = (j + 1) & mask) {
        const size_t home = Home(slots_[j].key);
        const bool between = i <= j ? (i < home && home <= j) : (i < home || home <= j);
        if (!between) {
            slots_[i] = slots_[j];
            slots_[j] = Slot{0, nullptr};
            i = j;
        }
    }
    --size_;
    record->Reset();
    free_.push_back(record);
}

void TagIndex::Clear() {
    slots_.clear();
    shift_ = 64;
    free_.clear();
    storage_.clear();
    size_ = 0;
}

}  // namespace tamber::tags
