#include "shell/FileDrop.h"

#include "images/MediaFile.h"
#include "models/viewer/ModelImportCommands.h"
#include "platform/Os.h"
#include "terrain/editor/DtexCommands.h"
#include "tools/ArchiveBrowser.h"
#include "ui/WindowSystem.h"

namespace tamber::shell {
using namespace tamber::images;
using namespace tamber::platform;
using namespace tamber::tools;
using namespace tamber::ui;

void HandleDroppedFiles(const std::vector<std::string>& paths) {
    if (WS().OfferDroppedFiles(paths)) return;
    std::vector<std::string> archives;
    bool refused = false;
    for (const std::string& path : paths) {
        MediaFile file(path);
        file.kind = kMediaArchive;
        if (Identify(file)) archives.push_back(path);
        else if (!models::viewer::OfferDroppedModel(path) && !terrain::editor::OfferDroppedDetailTexture(path))
            refused = true;
    }
    if (refused) OsBeep();
    if (!archives.empty()) ArchiveBrowser::GetOrCreate()->AddArchives(archives);
}

}  // namespace tamber::shell
