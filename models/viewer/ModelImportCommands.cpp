#include "models/viewer/ModelImportCommands.h"

#include "editing/TagEdit.h"
#include "models/import/ModelImport.h"
#include "tags/Codex.h"
#include "ui/choosers/FileDialogs.h"
#include "ui/widgets/MessageBoxWindow.h"

namespace tamber::models::viewer {
using namespace tamber::base;
using namespace tamber::editing;
using namespace tamber::models::import;
using namespace tamber::tags;
using namespace tamber::ui::choosers;
using namespace tamber::ui::widgets;

void ImportModelFromFile() {
    std::string path;
    int format = kModelFormatLwo;
    if (!OpenFileOfKind(kFileKindModel, "Import Model", path, &format)) return;
    ImportModelFile(path);
}

void ImportModelFile(const std::string& path) {
    if (ModelFileTypeOf(path) == ModelFileType::kUnsupported) {
        MessageBox("Error", kUnsupportedModelFormat, {"OK"});
        return;
    }
    // Failures are reported to the "Model Import" log, which shows itself.
    Result<ModelTags> tags = import::ImportModelFile(Codex::Instance(), path, "", true);
    if (tags) OpenTagEditor(tags->geometry);
}

bool OfferDroppedModel(const std::string& path) {
    if (ModelFileTypeOf(path) == ModelFileType::kUnsupported) return false;
    ImportModelFile(path);
    return true;
}

}  // namespace tamber::models::viewer
