#include "editing/definitions/MemberType.h"

#include <iterator>

namespace tamber::definitions {

namespace {

constexpr double kTick = 1.0 / 30.0;
constexpr double kWorld = 1.0 / 512.0;
constexpr double kSixteen = 1.0 / 65536.0;
constexpr double kEight = 1.0 / 256.0;

constexpr MemberTypeInfo kTypes[] = {
    {MemberType::Padding, "padding", 1, true, 0},
    {MemberType::Substruct, "substruct", 0, false, 0},
    {MemberType::Real, "real", 4, false, 1},
    {MemberType::Tag, "tag", 4, true, 0},
    {MemberType::Long, "long", 4, false, 1},
    {MemberType::ULong, "ulong", 4, true, 1},
    {MemberType::LongTime, "long_time", 4, false, kTick},
    {MemberType::LongWorld, "long_world", 4, false, kWorld},
    {MemberType::Fixed, "fixed", 4, false, kSixteen},
    {MemberType::Short, "short", 2, false, 1},
    {MemberType::Word, "word", 2, true, 1},
    {MemberType::ShortTime, "short_time", 2, false, kTick},
    {MemberType::ShortWorld, "short_world", 2, false, kWorld},
    {MemberType::ShortEnum, "short_enum", 2, false, 0},
    {MemberType::SequenceIndex, "sequence_index", 2, false, 0},
    {MemberType::FixedFraction, "fixed_fraction", 2, true, kSixteen},
    {MemberType::ShortFixed, "short_fixed", 2, false, kEight},
    {MemberType::AngularVelocity, "angular_velocity", 2, false, 360.0 * 30.0 / 65536.0},
    {MemberType::Angle, "angle", 2, false, 360.0 / 65536.0},
    {MemberType::Char, "char", 1, false, 1},
    {MemberType::Byte, "byte", 1, true, 1},
    {MemberType::ByteEnum, "byte_enum", 1, false, 0},
    {MemberType::ShortFixedFraction, "short_fixed_fraction", 1, true, kEight},
    {MemberType::Color, "color", 2, true, 0},
};

}  // namespace

const MemberTypeInfo* FindMemberType(const std::string& keyword) {
    for (const MemberTypeInfo& info : kTypes) {
        if (keyword == info.keyword) return &info;
    }
    return nullptr;
}

const MemberTypeInfo& GetMemberTypeInfo(MemberType type) {
    static_assert(std::size(kTypes) == size_t(MemberType::Color) + 1);
    return kTypes[size_t(type)];
}

bool IsDecimalType(MemberType type) {
    switch (type) {
    case MemberType::Real:
    case MemberType::LongTime:
    case MemberType::LongWorld:
    case MemberType::Fixed:
    case MemberType::ShortTime:
    case MemberType::ShortWorld:
    case MemberType::FixedFraction:
    case MemberType::ShortFixed:
    case MemberType::AngularVelocity:
    case MemberType::Angle:
    case MemberType::ShortFixedFraction:
        return true;
    default:
        return false;
    }
}

bool IsIntegerType(MemberType type) {
    switch (type) {
    case MemberType::Long:
    case MemberType::ULong:
    case MemberType::Short:
    case MemberType::Word:
    case MemberType::Char:
    case MemberType::Byte:
        return true;
    default:
        return false;
    }
}

bool IsEnumType(MemberType type) { return type == MemberType::ShortEnum || type == MemberType::ByteEnum; }

}  // namespace tamber::definitions
