// Input: an XML definition document, a zero byte, then payload bytes. Every
// definition the document yields reads the payload as a record (from memory and
// through a file), and every element of every member is read and written back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editing/definitions/DefinitionFiles.h"
#include "editing/definitions/StructValues.h"
#include "platform/fs/UniqueFile.h"

using namespace tamber::definitions;

namespace {

constexpr size_t kMaxDefinitions = 32;
constexpr int kMaxElements = 64;

void ExerciseMembers(const StructView& view, int depth) {
    if (depth > 4) return;
    for (const auto& member : view.definition->Members()) {
        const int elements = std::min(member->count, kMaxElements);
        for (int i = 0; i < elements; ++i) {
            if (member->type == MemberType::Substruct && member->nested) {
                const StructView nested{member->nested, ElementAddress(view, *member, i), &view};
                ExerciseMembers(nested, depth + 1);
                continue;
            }
            const double shown = ReadMemberDisplay(view, *member, i);
            WriteMemberDisplay(view, *member, i, shown);
            WriteMemberLimited(view, *member, i, ReadMemberInt(view, *member, i));
            WriteMemberBit(view, *member, i, i % 33, ReadMemberBit(view, *member, i, 3));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        ClearDefinitions();
        return 0;
    }
    const uint8_t* end = static_cast<const uint8_t*>(std::memchr(data, 0, size));
    const size_t textSize = end ? size_t(end - data) : size;
    const std::string text(reinterpret_cast<const char*>(data), textSize);
    const uint8_t* payload = end ? end + 1 : data + size;
    const size_t payloadSize = size_t(data + size - payload);

    ClearDefinitions();
    (void)AddDefinitionDocument("fuzz.xml", text);
    size_t visited = 0;
    for (const auto& definition : StructDefinitions()) {
        if (++visited > kMaxDefinitions) break;
        FindStructEdit(definition->Name());
        std::vector<uint8_t> record(size_t(definition->Size()) + 1, 0);
        if (payloadSize >= size_t(definition->Size())) UnpackRecord(*definition, record.data(), payload);
        if (const tamber::platform::UniqueFile file{std::tmpfile()}) {
            std::fwrite(payload, 1, payloadSize, file.get());
            std::rewind(file.get());
            (void)ReadRecord(*definition, record.data(), file.get());
            (void)WriteRecord(*definition, record.data(), file.get());
        }
        const StructView view{definition.get(), record.data(), nullptr};
        ExerciseMembers(view, 0);
    }
    ClearDefinitions();
    return 0;
}
