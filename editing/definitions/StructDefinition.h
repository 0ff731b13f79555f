#pragma once
// A structure definition: the members of a fixed-size big-endian record, its size,
// and the byte-swap descriptor (built on first use) that reads and writes it.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/Result.h"
#include "editing/definitions/StructMember.h"

namespace tamber::definitions {

// A descriptor's size word holds at most 15 bits, so no record can be larger.
constexpr int kMaxStructSize = 0x7FFF;

class StructDefinition {
public:
    explicit StructDefinition(std::string name) : name_(std::move(name)) {}

    const std::string& Name() const { return name_; }
    int Size() const { return size_; }
    const std::vector<std::unique_ptr<StructMember>>& Members() const { return members_; }

    // Places the member after the previous ones. False (member dropped) when the
    // record would grow beyond kMaxStructSize or the count is out of 0..kMaxStructSize.
    bool AddMember(std::unique_ptr<StructMember> member);
    // Size word, then a (count, kind) run per member that has bytes; a substruct
    // run is kind 32 followed by the nested definition's whole descriptor.
    const std::vector<uint16_t>& Descriptor() const;

private:
    std::string name_;
    int size_ = 0;
    std::vector<std::unique_ptr<StructMember>> members_;
    mutable std::vector<uint16_t> descriptor_;
};

// Read or write exactly one record of the definition's size (memory form in buffer).
base::Status ReadRecord(const StructDefinition& definition, void* buffer, FILE* stream);
base::Status WriteRecord(const StructDefinition& definition, const void* buffer, FILE* stream);
// The same over bytes in memory: disk form to memory form and back.
void UnpackRecord(const StructDefinition& definition, void* buffer, const void* disk);
void PackRecord(const StructDefinition& definition, void* disk, const void* buffer);

}  // namespace tamber::definitions
