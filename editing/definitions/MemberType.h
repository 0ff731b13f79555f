#pragma once
// The member types of structure definitions: keyword, element size, signedness,
// display factor and byte-swap kind.
#include <cstdint>
#include <string>

namespace tamber::definitions {

enum class MemberType : uint8_t {
    Padding,
    Substruct,
    Real,
    Tag,
    Long,
    ULong,
    LongTime,
    LongWorld,
    Fixed,
    Short,
    Word,
    ShortTime,
    ShortWorld,
    ShortEnum,
    SequenceIndex,
    FixedFraction,
    ShortFixed,
    AngularVelocity,
    Angle,
    Char,
    Byte,
    ByteEnum,
    ShortFixedFraction,
    Color,
};

struct MemberTypeInfo {
    MemberType type;
    const char* keyword;
    int size;          // element size in bytes; 0 for substruct (the nested definition's)
    bool isUnsigned;
    double factor;     // display = stored integer x factor; 0 where no number is shown
};

// Nothing for a keyword outside the type table.
const MemberTypeInfo* FindMemberType(const std::string& keyword);
const MemberTypeInfo& GetMemberTypeInfo(MemberType type);
// Numbers shown in decimal text boxes (real and the scaled integer types).
bool IsDecimalType(MemberType type);
// Plain integers, shown as "%d" or used as bit sets.
bool IsIntegerType(MemberType type);
bool IsEnumType(MemberType type);

}  // namespace tamber::definitions
