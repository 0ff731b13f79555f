#pragma once
// Dialogs of the demo game folder: `bina` tags with controls of many types,
// empty texts and a control of a type the editor does not know.
#include "demo/DemoGame.h"

namespace tamber::demo {

void AddDialogContent(DemoGame& game);

}  // namespace tamber::demo
