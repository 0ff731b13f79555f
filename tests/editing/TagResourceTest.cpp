// Open tags: sharing and counting, damaged payloads, new tags, saving.
#include <gtest/gtest.h>

#include "editing/TagResourceManager.h"
#include "platform/fs/AtomicFileWriter.h"
#include "tests/editing/EditingTestSupport.h"

using namespace tamber::editing;
using namespace tamber::platform;

namespace {

class TextResource : public TagResource {
public:
    using TagResource::TagResource;
    const char* GetClassName() const override { return "TextResource"; }
    void InitNew() override { Replace("new text"); }
    int ParsePayload(FILE* stream, const TagHeader& header) override { return ReadTextPayload(stream, header, text); }
    int WritePayload(FILE* stream, const TagHeader&) override { return WriteTextPayload(stream, text); }
    void Replace(const std::string& value) {
        text = value;
        NotifyContentChanged();
    }
    std::string text;
};

int contentEvents = 0;
void CountContentEvents(const CodexEvent& event, void*) {
    if (event.code == kCodexTagContentChanged) ++contentEvents;
}

}  // namespace

TEST(TagResource, AcquireShareAndRelease) {
    ScratchGame game;
    Codex& codex = Codex::Instance();
    TagRecord* record = MakeLooseTag("shared", std::string("TXT1") + "hello");
    TagRecord* damaged = MakeLooseTag("damaged", "junk");
    ASSERT_TRUE(record && damaged);
    const uint32_t tagid = record->tagid;

    TagResourceManager<TextResource> manager;
    EXPECT_EQ(manager.Acquire(kTestGroup, TagResourceManagerBase::kNoTag), nullptr);
    EXPECT_EQ(manager.Acquire(kTestGroup, FourCC("none")), nullptr);

    TextResource* first = manager.Acquire(kTestGroup, tagid);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text, "hello");
    EXPECT_STREQ(first->GetClassName(), "TextResource");
    TextResource* second = manager.Acquire(record);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->RefCount(), 2u);
    EXPECT_EQ(codex.FindAttachment(record, kAttachTagResource), first);

    // A damaged payload never enters the map and leaves no attachment behind.
    EXPECT_EQ(manager.Acquire(damaged), nullptr);
    EXPECT_EQ(manager.Count(), 1u);
    EXPECT_EQ(codex.FindAttachment(damaged, kAttachTagResource), nullptr);

    // Content replaced by one user reaches every listener.
    codex.AddListener(&CountContentEvents, nullptr);
    first->Replace("changed");
    codex.RemoveListener(&CountContentEvents, nullptr);
    EXPECT_EQ(contentEvents, 1);
    EXPECT_EQ(second->text, "changed");

    manager.Release(first);
    EXPECT_EQ(manager.Find(record), second);
    manager.Release(second);
    EXPECT_EQ(manager.Count(), 0u);
    EXPECT_EQ(codex.FindAttachment(record, kAttachTagResource), nullptr);
    EXPECT_EQ(LoosePayload(game.LoosePath("shared")), "TXT1hello");  // nothing saved
}

TEST(TagResource, CreateNewAndSave) {
    ScratchGame game;
    Codex& codex = Codex::Instance();
    ASSERT_NE(MakeLooseTag("taken", "TXT1old"), nullptr);
    const std::string takenBytes = FileBytes(game.LoosePath("taken"));

    TagResourceManager<TextResource> manager;
    EXPECT_EQ(manager.CreateNew(kTestGroup, "taken", TagResourceManagerBase::kNoTag), nullptr);
    EXPECT_EQ(FileBytes(game.LoosePath("taken")), takenBytes);

    TextResource* fresh = manager.CreateNew(kTestGroup, "fresh", FourCC("frsh"));
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->text, "new text");
    EXPECT_EQ(fresh->RefCount(), 1u);
    EXPECT_EQ(fresh->Header().Name(), "fresh");
    EXPECT_FALSE(std::filesystem::exists(game.LoosePath("fresh")));

    // A failed write keeps the object and leaves no file; a good one writes it.
    AtomicFileWriter::FailNextWriterAfter(70);
    EXPECT_EQ(fresh->Save(), 0);
    EXPECT_FALSE(std::filesystem::exists(game.LoosePath("fresh")));
    AtomicFileWriter::FailNextCommit();
    EXPECT_EQ(fresh->Save(), 0);
    EXPECT_FALSE(std::filesystem::exists(game.LoosePath("fresh")));
    EXPECT_NE(fresh->Save(), 0);
    EXPECT_EQ(LoosePayload(game.LoosePath("fresh")), "TXT1new text");
    EXPECT_EQ(fresh->Header().size, 12u);
    EXPECT_EQ(codex.FindTag(kTestGroup, FourCC("frsh")), fresh->Record());
    manager.Release(fresh);
    EXPECT_EQ(manager.Count(), 0u);
}
