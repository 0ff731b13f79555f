#pragma once
// Collections that structure editors keep loaded to list sequence names, one per
// (editor, `tag` member). A loaded collection is attached to its tag record with
// kind `sedi`, shared by every editor that shows it, and deleted when the last one
// lets it go.
#include <cstdint>

namespace tamber::collections { class Collection; }
namespace tamber::definitions { class StructMember; }

namespace tamber::editing {
using namespace tamber::collections;
using namespace tamber::definitions;

// Whether a `tag` member's group names a collection (`.256`, or `core` references).
bool IsCollectionGroup(uint32_t group);
// The collection a member value names: for `core`, the collection tagid stored at
// the start of the reference tag's payload. Nothing when it cannot be read. The
// entry is reused while the group and tagid stay the same.
Collection* CachedCollection(const void* editor, const StructMember* member, uint32_t group, uint32_t tagid);
// Drops the editor's entries (when it is destroyed).
void DropCachedCollections(const void* editor);
// Entries held for an editor (tests).
int CachedCollectionCount(const void* editor);

}  // namespace tamber::editing
