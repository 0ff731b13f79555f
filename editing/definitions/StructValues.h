#pragma once
// Reading and writing the values of a record in memory form, member by member.
// A view is a definition with the bytes of one record; nested editors chain their
// views outward, so a lower bound is found in the member's own definition first
// and then in the enclosing ones.
#include <cstdint>

#include "editing/definitions/StructDefinition.h"

namespace tamber::definitions {

struct StructView {
    const StructDefinition* definition = nullptr;
    uint8_t* data = nullptr;  // Size() bytes
    const StructView* outer = nullptr;
};

// The named member in the view or, failing that, in the enclosing views; `owner`
// receives the view that holds it. Nothing when no view has it.
const StructMember* FindMemberInViews(const StructView& view, const std::string& name, const StructView** owner);

// The stored element, sign- or zero-extended; 0 for an element beyond the count.
int64_t LoadElement(const StructView& view, const StructMember& member, int index);
// The integer value with the lower-bound rule: stored 0 is the bound, stored n > 0
// is bound + n - 1. A bound that is not found, or has no such element, counts as 0.
int64_t ReadMemberInt(const StructView& view, const StructMember& member, int index);
void WriteMemberInt(const StructView& view, const StructMember& member, int index, int64_t value);
// The number shown: the float for `real`, else the integer times the type's factor,
// rounded half away from zero to DisplayDigits.
double ReadMemberDisplay(const StructView& view, const StructMember& member, int index);
// Converts a shown number back (factor, rounding, the element's range) and writes it.
void WriteMemberDisplay(const StructView& view, const StructMember& member, int index, double value);
// 1- and 2-byte values limited to the element's range (unsigned: negatives become 0).
int64_t LimitToElement(const StructMember& member, int64_t value);
// An entered integer, limited to the element's range (4-byte ones too), then written.
void WriteMemberLimited(const StructView& view, const StructMember& member, int index, int64_t value);
bool ReadMemberBit(const StructView& view, const StructMember& member, int index, int bit);
void WriteMemberBit(const StructView& view, const StructMember& member, int index, int bit, bool set);

// The member's digits; angles always show whole degrees.
int DisplayDigits(const StructMember& member);
double RoundForDisplay(double value, int digits);
// The element's bytes inside the record; nothing for an index beyond the count.
uint8_t* ElementAddress(const StructView& view, const StructMember& member, int index);

}  // namespace tamber::definitions
