// Reads arbitrary bytes as a `bina` payload; what reads must write back and
// read again to the same dialog.
#include <cstdint>

#include "dialogs/DialogPayload.h"

using namespace tamber::dialogs;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tamber::base::Result<Dialog> dialog = ReadDialogPayload(data, size);
    if (!dialog) return 0;
    tamber::base::Result<std::vector<uint8_t>> written = WriteDialogPayload(*dialog);
    if (!written) __builtin_trap();
    tamber::base::Result<Dialog> again = ReadDialogPayload(written->data(), written->size());
    if (!again || again->controls.size() != dialog->controls.size()) __builtin_trap();
    for (size_t i = 0; i < dialog->controls.size(); ++i) {
        const DialogControl& a = dialog->controls[i];
        const DialogControl& b = again->controls[i];
        if (a.type != b.type || a.id != b.id || a.text != b.text || a.left != b.left || a.bottom != b.bottom)
            __builtin_trap();
        DialogControlRowText(a);
    }
    return 0;
}
