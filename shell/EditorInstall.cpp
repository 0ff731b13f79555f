#include "shell/EditorInstall.h"

#include "editing/TagEditorRegistry.h"
#include "tags/FourCC.h"

namespace tamber::shell {
using namespace tamber::editing;
using namespace tamber::tags;

void InstallEditors() {
    // One line an editor: SetTagEditorFactory(FourCC("grp "), &EditorClass::Create);
}

}  // namespace tamber::shell
