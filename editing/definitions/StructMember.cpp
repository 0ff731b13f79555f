#include "editing/definitions/StructMember.h"

#include <tinyxml.h>

#include <algorithm>

#include "editing/definitions/DefinitionFiles.h"
#include "tags/ByteSwap.h"
#include "tags/FourCC.h"

namespace tamber::definitions {
using namespace tamber::tags;

namespace {

// Digits beyond this add nothing a 32-bit value can show and would overflow rounding.
constexpr int kMaxDigits = 9;

uint16_t SwapKindOfSize(int size) { return size == 1 ? ByteSwap::kBytes : size == 2 ? ByteSwap::kSwap16 : ByteSwap::kSwap32; }

}  // namespace

int VeskStructMember::ParseXml(const TiXmlElement& element) {
    if (const char* value = element.Attribute("name")) {
        name = value;
        hasName = true;
    }
    lowerBound = AttributeText(element, "lower_bound");
    runtimeCount = AttributeText(element, "runtime_count");
    return 1;
}

int EnumMember::ParseXml(const TiXmlElement& element) {
    VeskStructMember::ParseXml(element);
    for (const TiXmlElement* child = element.FirstChildElement("member"); child;
         child = child->NextSiblingElement("member")) {
        Item item;
        item.text = AttributeText(*child, "text");
        child->QueryIntAttribute("value", &item.value);
        items.push_back(std::move(item));
    }
    return 1;
}

int EnumMember::IndexOfValue(int64_t value) const {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].value == value) return int(i);
    }
    return -1;
}

int TagMember::ParseXml(const TiXmlElement& element) {
    VeskStructMember::ParseXml(element);
    const std::string text = AttributeText(element, "group");
    group = text.size() == 4 ? FourCCFromText(text) : 0xFFFFFFFF;
    return 1;
}

std::unique_ptr<StructMember> CreateStructMember(const TiXmlElement& element) {
    const MemberTypeInfo* info = FindMemberType(element.ValueStr());
    if (!info) return nullptr;
    std::unique_ptr<StructMember> member;
    if (info->type == MemberType::Tag) member = std::make_unique<TagMember>();
    else if (IsEnumType(info->type)) member = std::make_unique<EnumMember>();
    else member = std::make_unique<VeskStructMember>();
    if (member->ParseXml(element) != 1) return nullptr;

    member->type = info->type;
    int count = 1;
    element.QueryIntAttribute("count", &count);
    // A colour is always four words, whatever its count says.
    member->count = info->type == MemberType::Color ? 4 : count;
    int digits = 3;
    element.QueryIntAttribute("digits", &digits);
    member->digits = std::clamp(digits, 0, kMaxDigits);
    member->elementSize = info->size;
    member->swapKind = SwapKindOfSize(info->size);
    if (info->type == MemberType::Padding) member->swapKind = ByteSwap::kZero8;
    return member;
}

}  // namespace tamber::definitions
