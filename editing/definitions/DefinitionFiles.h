#pragma once
// The program-wide list of structure definitions and `structedit` layouts, read
// from every XML file directly in the res folder whose document has a top-level
// `tamberxmlfile` element. Files are read in sorted name order; when two
// definitions share a name, lookups find the first.
#include <memory>
#include <string>
#include <vector>

#include "base/Result.h"
#include "editing/definitions/StructDefinition.h"

class TiXmlElement;

namespace tamber::definitions {


// Empties the lists and reads the folder's definition files (sub-folders are not
// entered; files that are not definition files are passed over). Returns the
// number of definitions; fails when the folder cannot be listed.
base::Result<int> LoadDefinitionFiles(const std::string& folder);
// Appends one document as if read from a file of that name; fails, saying why,
// when it is not a definition file. Struct definitions that cannot be built are
// skipped with a "Codex" channel line naming the file and the struct.
base::Status AddDefinitionDocument(const std::string& fileName, const std::string& text);
void ClearDefinitions();

const std::vector<std::unique_ptr<StructDefinition>>& StructDefinitions();
std::vector<std::string> StructDefinitionNames();
// The attribute's text, empty when the element has none.
std::string AttributeText(const TiXmlElement& element, const char* name);

// Exact, case-sensitive lookups; the first match, or nothing.
const StructDefinition* FindStruct(const std::string& name);
const StructMember* FindMember(const StructDefinition& definition, const std::string& name);
const TiXmlElement* FindStructEdit(const std::string& name);

}  // namespace tamber::definitions
