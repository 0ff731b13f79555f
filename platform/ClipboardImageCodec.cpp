#include "platform/ClipboardImageCodec.h"

namespace tamber::platform {

namespace {

ClipboardImageCodec& Installed() {
    static ClipboardImageCodec codec;
    return codec;
}

}  // namespace

void OsSetClipboardPngCodec(ClipboardImageCodec codec) { Installed() = std::move(codec); }

const ClipboardImageCodec& OsClipboardPngCodec() { return Installed(); }

}  // namespace tamber::platform
