#pragma once
// One member of a structure definition: a run of `count` elements of one type at a
// fixed offset of the record. VeskStructMember reads the attributes every member
// has; EnumMember adds the items of an enumeration and TagMember the tag group.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editing/definitions/MemberType.h"

class TiXmlElement;

namespace tamber::definitions {

class StructDefinition;

class StructMember {
public:
    virtual ~StructMember() = default;
    StructMember() = default;
    StructMember(const StructMember&) = delete;
    StructMember& operator=(const StructMember&) = delete;

    virtual const char* GetClassName() const { return "Object"; }
    // Reads the member's own attributes; 1 on success.
    virtual int ParseXml(const TiXmlElement& element) { return (void)element, 1; }

    int ByteSize() const { return elementSize * count; }
    bool IsUnsigned() const { return GetMemberTypeInfo(type).isUnsigned; }

    MemberType type = MemberType::Padding;
    std::string name;
    bool hasName = false;
    int offset = 0;
    int elementSize = 0;
    int count = 1;
    int digits = 3;
    std::string lowerBound;    // empty: none
    std::string runtimeCount;  // empty: none
    uint16_t swapKind = 0;
    const StructDefinition* nested = nullptr;  // substruct only
};

class VeskStructMember : public StructMember {
public:
    int ParseXml(const TiXmlElement& element) override;
};

class EnumMember : public VeskStructMember {
public:
    struct Item {
        std::string text;
        int value = 0;
    };
    int ParseXml(const TiXmlElement& element) override;
    // Index of the first item with this value, -1 when none has it.
    int IndexOfValue(int64_t value) const;

    std::vector<Item> items;
};

class TagMember : public VeskStructMember {
public:
    int ParseXml(const TiXmlElement& element) override;

    uint32_t group = 0xFFFFFFFF;
};

// Makes the member for a child element of a `struct` element; nothing when the
// element's name is not a member type. Substruct members get no nested definition
// here (the loader resolves it).
std::unique_ptr<StructMember> CreateStructMember(const TiXmlElement& element);

}  // namespace tamber::definitions
