#include "editing/definitions/DefinitionFiles.h"

#include <tinyxml.h>

#include <algorithm>
#include <filesystem>

#include "platform/fs/FileBytes.h"
#include "base/MessageLog.h"

namespace tamber::definitions {
using namespace tamber::platform;
using namespace tamber::base;

namespace {

// Definition files are small hand-written documents; anything far larger is not one.
constexpr size_t kMaxFileBytes = 4u << 20;
// The XML parser recurses once per nesting level; deeper documents are refused.
constexpr int kMaxNesting = 256;
constexpr size_t kParserPadding = 8;

struct DefinitionRoot {
    std::string file;
    std::unique_ptr<TiXmlElement> element;
};

struct Definitions {
    std::vector<DefinitionRoot> roots;
    std::vector<std::unique_ptr<StructDefinition>> structs;
};

Definitions& State() {
    static Definitions state;
    return state;
}

// An upper bound of the element nesting: every "<x" opens, every "</" and "/>"
// closes. Comments and text can only make the estimate larger.
bool NestingWithinLimit(const std::string& text) {
    int depth = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '<' && text[i + 1] != '/' && text[i + 1] != '?' && text[i + 1] != '!') {
            if (++depth > kMaxNesting) return false;
        } else if ((text[i] == '<' && text[i + 1] == '/') || (text[i] == '/' && text[i + 1] == '>')) {
            depth = std::max(depth - 1, 0);
        }
    }
    return true;
}

bool IsSkippedName(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return name == ".ds_store" || name == "thumbs.db" || name == "desktop.ini";
}

// Builds one definition; nothing (with a log line) when a member cannot be placed.
std::unique_ptr<StructDefinition> BuildDefinition(const std::string& file, const TiXmlElement& element,
                                                  const char* name) {
    auto definition = std::make_unique<StructDefinition>(name);
    for (const TiXmlElement* child = element.FirstChildElement(); child; child = child->NextSiblingElement()) {
        std::unique_ptr<StructMember> member = CreateStructMember(*child);
        if (!member) continue;
        if (member->type == MemberType::Substruct) {
            const char* nestedName = child->Attribute("struct");
            member->nested = nestedName ? FindStruct(nestedName) : nullptr;
            if (!member->nested) {
                LogMessage(0, "Codex", "WARNING: %s: struct '%s' skipped: its nested struct '%s' is not defined before it\n",
                           file.c_str(), name, nestedName ? nestedName : "");
                return nullptr;
            }
            member->elementSize = member->nested->Size();
        }
        if (!definition->AddMember(std::move(member))) {
            LogMessage(0, "Codex", "WARNING: %s: struct '%s' skipped: larger than %d bytes or a bad count\n",
                       file.c_str(), name, kMaxStructSize);
            return nullptr;
        }
    }
    return definition;
}

}  // namespace

std::string AttributeText(const TiXmlElement& element, const char* name) {
    const char* value = element.Attribute(name);
    return value ? value : "";
}

void ClearDefinitions() {
    State().structs.clear();
    State().roots.clear();
}

Status AddDefinitionDocument(const std::string& fileName, const std::string& text) {
    if (!NestingWithinLimit(text))
        return Fail("'" + fileName + "' is nested more than " + std::to_string(kMaxNesting) + " elements deep");
    // The parser steps over whole UTF-8 sequences, so a lead byte at the very end
    // would carry it past the terminator: zeros behind the text stop it there.
    std::string padded = text.substr(0, text.find('\0'));
    padded.append(kParserPadding, '\0');
    TiXmlDocument document;
    document.Parse(padded.c_str());
    if (document.Error())
        return Fail("'" + fileName + "' is not valid XML: " + document.ErrorDesc() + " (line " +
                    std::to_string(document.ErrorRow()) + ")");
    const TiXmlElement* top = document.FirstChildElement("tamberxmlfile");
    if (!top) return Fail("'" + fileName + "' has no top-level tamberxmlfile element");
    TiXmlNode* copy = top->Clone();
    if (!copy) return Fail("'" + fileName + "' could not be kept: out of memory");
    Definitions& state = State();
    state.roots.push_back({fileName, std::unique_ptr<TiXmlElement>(copy->ToElement())});
    const TiXmlElement& root = *state.roots.back().element;
    for (const TiXmlElement* element = root.FirstChildElement("struct"); element;
         element = element->NextSiblingElement("struct")) {
        const char* name = element->Attribute("name");
        if (!name) continue;
        if (auto definition = BuildDefinition(fileName, *element, name)) state.structs.push_back(std::move(definition));
    }
    return Ok();
}

Result<int> LoadDefinitionFiles(const std::string& folder) {
    ClearDefinitions();
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError) || IsSkippedName(it->path().filename().string())) continue;
        files.push_back(it->path());
    }
    if (error) return Fail("couldn't list the definitions folder '" + folder + "': " + error.message());
    std::sort(files.begin(), files.end(),
              [](const auto& a, const auto& b) { return a.filename().string() < b.filename().string(); });
    // The folder holds other files too: one that is not a definition file is passed over.
    for (const std::filesystem::path& path : files) {
        auto bytes = ReadFileBytes(path.string(), kMaxFileBytes);
        if (!bytes) continue;
        (void)AddDefinitionDocument(path.filename().string(), std::string(bytes->begin(), bytes->end()));
    }
    return int(State().structs.size());
}

const std::vector<std::unique_ptr<StructDefinition>>& StructDefinitions() { return State().structs; }

std::vector<std::string> StructDefinitionNames() {
    std::vector<std::string> names;
    for (const auto& definition : State().structs) names.push_back(definition->Name());
    return names;
}

const StructDefinition* FindStruct(const std::string& name) {
    for (const auto& definition : State().structs) {
        if (definition->Name() == name) return definition.get();
    }
    return nullptr;
}

const StructMember* FindMember(const StructDefinition& definition, const std::string& name) {
    for (const auto& member : definition.Members()) {
        if (member->hasName && member->name == name) return member.get();
    }
    return nullptr;
}

const TiXmlElement* FindStructEdit(const std::string& name) {
    for (const DefinitionRoot& root : State().roots) {
        for (const TiXmlElement* element = root.element->FirstChildElement("structedit"); element;
             element = element->NextSiblingElement("structedit")) {
            const char* target = element->Attribute("struct");
            if (target && name == target) return element;
        }
    }
    return nullptr;
}

}  // namespace tamber::definitions
