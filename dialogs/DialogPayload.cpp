#include "dialogs/DialogPayload.h"

#include <algorithm>
#include <cstring>

#include "dialogs/ControlTypes.h"
#include "tags/ByteSwap.h"

namespace tamber::dialogs {
using namespace tamber::base;
using namespace tamber::tags;

namespace {

using namespace ByteSwap;

struct alignas(8) DiskHeader {
    uint16_t version;
    uint16_t count;
    int16_t top, left, bottom, right;
};
static_assert(sizeof(DiskHeader) == 16);  // 12 bytes on disk, padded in memory

struct alignas(8) DiskControl {
    uint32_t type;
    uint8_t cleared4[2];
    uint16_t id;
    uint8_t cleared8[8];
    int16_t top, left, bottom, right;
};
static_assert(sizeof(DiskControl) == 24);

const uint16_t kHeaderDescriptor[] = {12, 6, kSwap16};
const uint16_t kControlDescriptor[] = {24, 1, kSwap32, 2, kZero8, 1, kSwap16, 8, kZero8, 4, kSwap16};
constexpr size_t kHeaderBytes = 12;

int16_t Clamp16(int32_t value) { return int16_t(std::clamp(value, -32768, 32767)); }

}  // namespace

uint16_t Dialog::NextControlId() const {
    uint32_t largest = 0;
    for (const DialogControl& control : controls) largest = std::max<uint32_t>(largest, control.id);
    return uint16_t(std::min<uint32_t>(largest + 1, 0xFFFF));
}

Result<Dialog> ReadDialogPayload(const uint8_t* data, size_t size) {
    if (size < kHeaderBytes) return Fail("couldn't read the dialog: its header is cut short");
    DiskHeader header;
    UnpackRecords(&header, data, 1, kHeaderDescriptor);
    const size_t count = header.count;
    if (count > (size - kHeaderBytes) / sizeof(DiskControl))
        return Fail("couldn't read the dialog: the data ends before its " + std::to_string(count) + " controls");
    std::vector<DiskControl> records(count);
    UnpackRecords(records.data(), data + kHeaderBytes, count, kControlDescriptor);

    Dialog dialog;
    dialog.version = header.version;
    dialog.top = header.top;
    dialog.left = header.left;
    dialog.bottom = header.bottom;
    dialog.right = header.right;
    dialog.controls.resize(count);
    size_t position = kHeaderBytes + count * sizeof(DiskControl);
    for (size_t i = 0; i < count; ++i) {
        const DiskControl& record = records[i];
        DialogControl& control = dialog.controls[i];
        control.type = record.type;
        control.id = record.id;
        control.top = record.top;
        control.left = record.left;
        control.bottom = record.bottom;
        control.right = record.right;
        const void* end = std::memchr(data + position, 0, size - position);
        if (!end)
            return Fail("couldn't read the dialog: the data ends in the text of control " + std::to_string(i + 1));
        const size_t length = size_t(static_cast<const uint8_t*>(end) - (data + position));
        control.text.assign(reinterpret_cast<const char*>(data + position), length);
        position += length + 1;
    }
    return dialog;
}

Result<std::vector<uint8_t>> WriteDialogPayload(const Dialog& dialog) {
    if (dialog.controls.size() > 0xFFFF)
        return Fail("couldn't write the dialog: it has " + std::to_string(dialog.controls.size()) +
                    " controls, more than the 65535 a dialog holds");
    DiskHeader header{dialog.version, uint16_t(dialog.controls.size()), Clamp16(dialog.top), Clamp16(dialog.left),
                      Clamp16(dialog.bottom), Clamp16(dialog.right)};
    std::vector<DiskControl> records(dialog.controls.size());
    for (size_t i = 0; i < records.size(); ++i) {
        const DialogControl& control = dialog.controls[i];
        records[i] = DiskControl{control.type, {}, control.id, {}, Clamp16(control.top), Clamp16(control.left),
                                 Clamp16(control.bottom), Clamp16(control.right)};
    }
    std::vector<uint8_t> out(kHeaderBytes + records.size() * sizeof(DiskControl));
    PackRecords(out.data(), &header, 1, kHeaderDescriptor);
    PackRecords(out.data() + kHeaderBytes, records.data(), records.size(), kControlDescriptor);
    for (const DialogControl& control : dialog.controls) {
        // A text ends at its first NUL, as it will when read back.
        const char* text = control.text.c_str();
        out.insert(out.end(), text, text + std::strlen(text) + 1);
    }
    return out;
}

std::string DialogControlRowText(const DialogControl& control) {
    std::string row = std::to_string(control.id) + " | " + ControlTypeText(control.type);
    if (!control.text.empty()) row += " | text:\"" + control.text + "\"";
    return row;
}

}  // namespace tamber::dialogs
