#include "collections/CollectionOptimizer.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "collections/BitmapCrop.h"

namespace tamber::collections {

using namespace tamber::base;

namespace {

constexpr size_t kMaxNameLength = 63;

// " was" or "s were" after "bitmap", by count.
const char* WasOrWere(long long count) { return count == 1 ? " was" : "s were"; }

template <typename... Args>
std::string Format(const char* format, Args... args) {
    char text[512];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

// Calls `visit` with every bitmap reference of the sequences: each view's sets
// (the second only when the view has one) and each frame's shadow.
void ForEachReference(Collection& collection, const std::function<void(std::shared_ptr<Bitmap>&)>& visit) {
    for (Sequence& sequence : collection.sequences)
        for (Frame& frame : sequence.frames) {
            if (frame.shadow.bitmap) visit(frame.shadow.bitmap);
            for (View& view : frame.views) {
                if (view.sets[0].bitmap) visit(view.sets[0].bitmap);
                if (view.HasSecondSet() && view.sets[1].bitmap) visit(view.sets[1].bitmap);
            }
        }
}

// Points every reference to a key of `to` at its value.
void Redirect(Collection& collection, const std::unordered_map<const Bitmap*, std::shared_ptr<Bitmap>>& to) {
    if (to.empty()) return;
    ForEachReference(collection, [&](std::shared_ptr<Bitmap>& reference) {
        const auto found = to.find(reference.get());
        if (found != to.end()) reference = found->second;
    });
}

uint64_t RoundUpToPowerOfTwo(uint64_t n) {
    uint64_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

std::string Truncated(std::string name) {
    if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
    return name;
}

}  // namespace

void RemoveBitmaps(Collection& collection, const std::vector<bool>& remove) {
    std::unordered_set<const Bitmap*> removed;
    std::vector<std::shared_ptr<Bitmap>> kept;
    for (size_t i = 0; i < collection.bitmaps.size(); ++i) {
        if (i < remove.size() && remove[i])
            removed.insert(collection.bitmaps[i].get());
        else
            kept.push_back(collection.bitmaps[i]);
    }
    if (removed.empty()) return;
    collection.bitmaps = std::move(kept);
    ForEachReference(collection, [&](std::shared_ptr<Bitmap>& reference) {
        if (removed.count(reference.get())) reference.reset();
    });
}

OptimizeReport DeleteUnusedBitmaps(Collection& collection) {
    std::unordered_set<const Bitmap*> used;
    ForEachReference(collection, [&](std::shared_ptr<Bitmap>& reference) { used.insert(reference.get()); });
    std::vector<bool> remove(collection.bitmaps.size());
    int count = 0;
    for (size_t i = 0; i < remove.size(); ++i)
        if (!used.count(collection.bitmaps[i].get())) {
            remove[i] = true;
            ++count;
        }
    RemoveBitmaps(collection, remove);
    return {count > 0, "", Format("%d unused bitmap%s removed.", count, WasOrWere(count))};
}

OptimizeReport MergeIdenticalBitmaps(Collection& collection) {
    // Bitmaps that may be identical share a bucket; each bucket lists indices in order.
    struct Key {
        int16_t width, height;
        uint16_t flags;
        size_t hash;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const {
            return k.hash ^ (size_t(uint16_t(k.width)) << 1) ^ (size_t(uint16_t(k.height)) << 17) ^
                   (size_t(k.flags) << 33);
        }
    };
    auto keyOf = [](const Bitmap& b) {
        const std::string_view data(reinterpret_cast<const char*>(b.encoded.data()), b.encoded.size());
        return Key{b.width, b.height, b.flags, std::hash<std::string_view>{}(data)};
    };
    std::unordered_map<Key, std::vector<size_t>, KeyHash> buckets;
    for (size_t i = 0; i < collection.bitmaps.size(); ++i) buckets[keyOf(*collection.bitmaps[i])].push_back(i);

    // Each duplicate goes to the first identical bitmap; that one has no earlier twin
    // of its own, so one pass of redirection settles every reference.
    std::unordered_map<const Bitmap*, std::shared_ptr<Bitmap>> to;
    std::vector<bool> remove(collection.bitmaps.size());
    int count = 0;
    for (auto& [key, indices] : buckets) {
        for (size_t a = 0; a < indices.size(); ++a) {
            if (remove[indices[a]]) continue;
            const std::shared_ptr<Bitmap>& first = collection.bitmaps[indices[a]];
            for (size_t b = a + 1; b < indices.size(); ++b) {
                const std::shared_ptr<Bitmap>& later = collection.bitmaps[indices[b]];
                if (remove[indices[b]] || later->encoded != first->encoded) continue;
                remove[indices[b]] = true;
                to[later.get()] = first;
                ++count;
            }
        }
    }
    Redirect(collection, to);
    RemoveBitmaps(collection, remove);
    return {count > 0, "", Format("%d bitmap%s deleted after merging.", count, WasOrWere(count))};
}

OptimizeReport CropAllBitmaps(Collection& collection) {
    long long cropped = 0, removedPixels = 0, deleted = 0;
    std::vector<bool> remove(collection.bitmaps.size());
    std::unordered_map<const Bitmap*, ResizedBitmap> resized;
    std::vector<std::shared_ptr<Bitmap>> replaced;  // keeps the keys above valid until the references move
    for (size_t i = collection.bitmaps.size(); i-- > 0;) {
        const std::shared_ptr<Bitmap> bitmap = collection.bitmaps[i];
        if (IsCropExempt(*bitmap)) continue;
        const std::optional<PixelRect> bounds = OpaqueBounds(*bitmap);
        if (!bounds) {
            remove[i] = true;
            removedPixels += (long long)bitmap->PixelCount();
            ++cropped;
            ++deleted;
            continue;
        }
        if (bounds->Width() == bitmap->width && bounds->Height() == bitmap->height) continue;
        Result<std::shared_ptr<Bitmap>> cut = CutBitmap(*bitmap, *bounds);
        if (!cut) continue;  // pixels that cannot be stored again stay as they are
        resized[bitmap.get()] = {*cut, {bounds->left, bounds->top, bitmap->width - bounds->right,
                                        bitmap->height - bounds->bottom}};
        replaced.push_back(bitmap);
        collection.bitmaps[i] = *cut;
        removedPixels += (long long)bitmap->PixelCount() - (long long)(*cut)->PixelCount();
        ++cropped;
    }
    MoveViewsToResizedBitmaps(collection, resized);
    RemoveBitmaps(collection, remove);
    std::string text = Format("%lld bitmap%s cropped (%lld pixels removed).", cropped, WasOrWere(cropped), removedPixels);
    if (deleted > 0)
        text += Format("\n Additionally, %lld bitmap%s removed due to being completely transparent.", deleted,
                       WasOrWere(deleted));
    return {cropped > 0, "", text};
}

OptimizeReport AutoRenameBitmaps(Collection& collection) {
    std::unordered_map<const Bitmap*, std::shared_ptr<Bitmap>> renamed;  // old object -> renamed copy
    for (const Sequence& sequence : collection.sequences) {
        const int frames = int(sequence.frames.size());
        const int views = sequence.header.viewCount;
        const int drawn = sequence.header.flags & kSequenceMirroring ? views / 2 + 1 : views;
        for (int f = 0; f < frames; ++f) {
            const Frame& frame = sequence.frames[size_t(f)];
            for (int v = 0; v < drawn && v < int(frame.views.size()); ++v) {
                const Bitmap* bitmap = frame.views[size_t(v)].Shown(collection.displaySet).bitmap.get();
                if (!bitmap || renamed.count(bitmap) || collection.IndexOfBitmap(bitmap) < 0) continue;
                auto copy = std::make_shared<Bitmap>(*bitmap);
                const char* name = sequence.name.c_str();
                if (drawn > 1 && frames == 1)
                    copy->name = Truncated(Format("%s %.2d", name, v));
                else if (drawn > 1)
                    copy->name = Truncated(Format("%s %.2d~%.2d", name, f, v));
                else if (frames > 1)
                    copy->name = Truncated(Format("%s %.2d", name, f));
                else
                    copy->name = Truncated(sequence.name);
                renamed[bitmap] = std::move(copy);
            }
        }
    }
    if (renamed.empty()) return {};
    for (auto& bitmap : collection.bitmaps)
        if (const auto found = renamed.find(bitmap.get()); found != renamed.end()) bitmap = found->second;
    Redirect(collection, renamed);
    return {true, "Rename operation", Format("%d Bitmaps Renamed.", int(renamed.size()))};
}

RuntimeSize ComputeRuntimeSize(const Collection& collection) {
    RuntimeSize size;
    for (const auto& bitmap : collection.bitmaps) {
        const uint64_t w = uint64_t(std::max<int16_t>(bitmap->width, 0)), h = uint64_t(std::max<int16_t>(bitmap->height, 0));
        size.area += w * h;
        size.po2Area += RoundUpToPowerOfTwo(w) * RoundUpToPowerOfTwo(h);
    }
    return size;
}

OptimizeReport RuntimeSizeReport(const Collection& collection) {
    const RuntimeSize size = ComputeRuntimeSize(collection);
    const double mb = 1048576.0;
    return {false, "Information",
            Format("Approximate texture cache consumption, by format:\n16 bit po2 => %.2lf MB\n16 bit npo2 => %.2lf "
                   "MB\n32 bit po2 => %.2lf MB\n32 bit npo2 => %.2lf MB\n",
                   2.0 * double(size.po2Area) / mb, 2.0 * double(size.area) / mb, 4.0 * double(size.po2Area) / mb,
                   4.0 * double(size.area) / mb)};
}

}  // namespace tamber::collections
