#include "shell/EditorInstall.h"

#include "collections/editor/X256Edit.h"
#include "dialogs/editor/DialogEdit.h"
#include "editing/TagEditorRegistry.h"
#include "models/viewer/GeomEdit.h"
#include "sounds/editor/SoundEdit.h"
#include "tags/FourCC.h"
#include "terrain/editor/DmapEdit.h"
#include "terrain/editor/DtexEdit.h"
#include "terrain/editor/MeshEdit.h"

namespace tamber::shell {
using namespace tamber::editing;
using namespace tamber::tags;

void InstallEditors() {
    SetTagEditorFactory(FourCC(".256"), &collections::editor::X256Edit::Create);
    SetTagEditorFactory(FourCC("dtex"), &terrain::editor::DtexEdit::Create);
    SetTagEditorFactory(FourCC("dmap"), &terrain::editor::DmapEdit::Create);
    SetTagEditorFactory(FourCC("mesh"), &terrain::editor::MeshEdit::Create);
    SetTagEditorFactory(FourCC("soun"), &sounds::editor::SoundEdit::Create);
    SetTagEditorFactory(FourCC("bina"), &dialogs::editor::DialogEdit::Create);
    SetTagEditorFactory(FourCC("geom"), &models::viewer::GeomEdit::Create);
}

}  // namespace tamber::shell
