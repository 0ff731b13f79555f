#include "editing/definitions/StructValues.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editing/definitions/DefinitionFiles.h"

namespace tamber::definitions {

namespace {

// Lower bounds may name members that have bounds themselves; a chain this deep
// can only be a cycle, which counts as a bound of 0.
constexpr int kMaxBoundDepth = 32;

int64_t ReadWithBound(const StructView& view, const StructMember& member, int index, int depth);

int64_t BoundValue(const StructView& view, const StructMember& member, int index, int depth) {
    if (depth >= kMaxBoundDepth) return 0;
    const StructView* owner = nullptr;
    const StructMember* bound = FindMemberInViews(view, member.lowerBound, &owner);
    if (!bound || index >= bound->count) return 0;
    return ReadWithBound(*owner, *bound, index, depth + 1);
}

int64_t ReadWithBound(const StructView& view, const StructMember& member, int index, int depth) {
    const int64_t stored = LoadElement(view, member, index);
    if (member.lowerBound.empty()) return stored;
    return (stored != 0 ? stored - 1 : 0) + BoundValue(view, member, index, depth);
}

void StoreElement(const StructView& view, const StructMember& member, int index, int64_t value) {
    uint8_t* address = ElementAddress(view, member, index);
    if (!address) return;
    switch (member.elementSize) {
    case 1: {
        const uint8_t v = uint8_t(value);
        std::memcpy(address, &v, 1);
        break;
    }
    case 2: {
        const uint16_t v = uint16_t(value);
        std::memcpy(address, &v, 2);
        break;
    }
    case 4: {
        const uint32_t v = uint32_t(value);
        std::memcpy(address, &v, 4);
        break;
    }
    default:
        break;
    }
}

}  // namespace

const StructMember* FindMemberInViews(const StructView& view, const std::string& name, const StructView** owner) {
    for (const StructView* v = &view; v; v = v->outer) {
        if (!v->definition) continue;
        if (const StructMember* member = FindMember(*v->definition, name)) {
            if (owner) *owner = v;
            return member;
        }
    }
    return nullptr;
}

uint8_t* ElementAddress(const StructView& view, const StructMember& member, int index) {
    if (!view.data || index < 0 || index >= member.count) return nullptr;
    return view.data + member.offset + size_t(index) * size_t(member.elementSize);
}

int64_t LoadElement(const StructView& view, const StructMember& member, int index) {
    const uint8_t* address = ElementAddress(view, member, index);
    if (!address) return 0;
    const bool isUnsigned = member.IsUnsigned();
    switch (member.elementSize) {
    case 1: {
        uint8_t v;
        std::memcpy(&v, address, 1);
        return isUnsigned ? int64_t(v) : int64_t(int8_t(v));
    }
    case 2: {
        uint16_t v;
        std::memcpy(&v, address, 2);
        return isUnsigned ? int64_t(v) : int64_t(int16_t(v));
    }
    case 4: {
        uint32_t v;
        std::memcpy(&v, address, 4);
        return isUnsigned ? int64_t(v) : int64_t(int32_t(v));
    }
    default:
        return 0;
    }
}

int64_t ReadMemberInt(const StructView& view, const StructMember& member, int index) {
    return ReadWithBound(view, member, index, 0);
}

void WriteMemberInt(const StructView& view, const StructMember& member, int index, int64_t value) {
    if (member.lowerBound.empty()) {
        StoreElement(view, member, index, value);
        return;
    }
    const int64_t bound = BoundValue(view, member, index, 0);
    StoreElement(view, member, index, value == bound ? 0 : value - bound + 1);
}

int DisplayDigits(const StructMember& member) {
    if (member.type == MemberType::Angle || member.type == MemberType::AngularVelocity) return 0;
    return member.digits;
}

double RoundForDisplay(double value, int digits) {
    const double scale = std::pow(10.0, digits);
    double scaled = value * scale * 10.0;
    scaled += scaled < 0 ? -5.0 : 5.0;
    return std::trunc(scaled / 10.0) / scale;
}

double ReadMemberDisplay(const StructView& view, const StructMember& member, int index) {
    double value;
    if (member.type == MemberType::Real) {
        float f = 0;
        if (const uint8_t* address = ElementAddress(view, member, index)) std::memcpy(&f, address, 4);
        value = f;
    } else {
        const double factor = GetMemberTypeInfo(member.type).factor;
        value = double(ReadMemberInt(view, member, index)) * (factor != 0 ? factor : 1.0);
    }
    return RoundForDisplay(value, DisplayDigits(member));
}

void WriteMemberDisplay(const StructView& view, const StructMember& member, int index, double value) {
    if (member.type == MemberType::Real) {
        const float f = float(value);
        if (uint8_t* address = ElementAddress(view, member, index)) std::memcpy(address, &f, 4);
        return;
    }
    if (!std::isfinite(value)) return;
    const double factor = GetMemberTypeInfo(member.type).factor;
    const double stored = std::floor(value / (factor != 0 ? factor : 1.0) + 0.5);
    const int64_t integer = int64_t(std::clamp(stored, double(INT32_MIN), double(INT32_MAX)));
    WriteMemberInt(view, member, index, LimitToElement(member, integer));
}

int64_t LimitToElement(const StructMember& member, int64_t value) {
    const bool isUnsigned = member.IsUnsigned();
    switch (member.elementSize) {
    case 1:
        return isUnsigned ? std::clamp<int64_t>(value, 0, 255) : std::clamp<int64_t>(value, -128, 127);
    case 2:
        return isUnsigned ? std::clamp<int64_t>(value, 0, 65535) : std::clamp<int64_t>(value, -32768, 32767);
    default:
        return value;
    }
}

void WriteMemberLimited(const StructView& view, const StructMember& member, int index, int64_t value) {
    if (member.elementSize == 4) {
        value = member.IsUnsigned() ? std::clamp<int64_t>(value, 0, UINT32_MAX)
                                    : std::clamp<int64_t>(value, INT32_MIN, INT32_MAX);
    }
    WriteMemberInt(view, member, index, LimitToElement(member, value));
}

bool ReadMemberBit(const StructView& view, const StructMember& member, int index, int bit) {
    if (bit < 0 || bit >= 32) return false;
    return (uint64_t(ReadMemberInt(view, member, index)) >> bit) & 1;
}

void WriteMemberBit(const StructView& view, const StructMember& member, int index, int bit, bool set) {
    if (bit < 0 || bit >= 32) return;
    const uint64_t mask = uint64_t(1) << bit;
    const uint64_t value = uint64_t(ReadMemberInt(view, member, index));
    WriteMemberInt(view, member, index, int64_t(set ? value | mask : value & ~mask));
}

}  // namespace tamber::definitions
