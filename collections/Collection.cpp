#include "collections/Collection.h"

namespace tamber::collections {

Bitmap* Collection::GetBitmap(int index) const {
    return index >= 0 && index < BitmapCount() ? bitmaps[size_t(index)].get() : nullptr;
}

int Collection::IndexOfBitmap(const Bitmap* bitmap) const {
    for (size_t i = 0; i < bitmaps.size(); ++i)
        if (bitmaps[i].get() == bitmap)
            return int(i);
    return -1;
}

const std::string* Collection::SequenceName(int index) const {
    return index >= 0 && index < SequenceCount() ? &sequences[size_t(index)].name : nullptr;
}

const Shadow* Collection::GetShadow(int sequence, int frame) const {
    if (sequence < 0 || sequence >= SequenceCount())
        return nullptr;
    const auto& frames = sequences[size_t(sequence)].frames;
    return frame >= 0 && size_t(frame) < frames.size() ? &frames[size_t(frame)].shadow : nullptr;
}

const View* Collection::GetView(int sequence, int frame, int view) const {
    if (sequence < 0 || sequence >= SequenceCount())
        return nullptr;
    const auto& frames = sequences[size_t(sequence)].frames;
    if (frame < 0 || size_t(frame) >= frames.size())
        return nullptr;
    const auto& views = frames[size_t(frame)].views;
    return view >= 0 && size_t(view) < views.size() ? &views[size_t(view)] : nullptr;
}

}  // namespace tamber::collections
