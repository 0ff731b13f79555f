#include "TagTestSupport.h"

#include "platform/fs/AtomicFileWriter.h"
#include "tags/TagOperations.h"
#include "tags/TagPrompts.h"

using namespace tamber::platform;
using namespace tamber::tags;

namespace {

const uint32_t kUnit = FourCC("unit");
const uint32_t kText = FourCC("text");

class TagOperationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageLog::Instance().Clear();
        ASSERT_TRUE(WriteTestArchive(dir / "tags/base.dng", 3, 0,
                                     {{kUnit, FourCC("swor"), "sword", "blade"},
                                      {kUnit, FourCC("shie"), std::string(31, 'l'), "long"}}));
        codex.Init(dir.Path());
    }
    std::string Units(const std::string& name) const { return dir / ("local/units/" + name); }
    // Saves data as the record's loose file, the way an editor does.
    Status Save(TagRecord* record, const TagHeader& header, const std::string& data, const std::string* name = nullptr) {
        Result<FILE*> f = BeginTagWrite(codex, record, header, name);
        if (!f) return std::move(f).TakeError();
        const bool written = std::fwrite(data.data(), 1, data.size(), *f) == data.size();
        return FinishTagWrite(codex, record, nullptr, written);
    }
    // CreateTag's record, with its header in `header`.
    TagRecord* Create(std::optional<uint32_t> tagid, const std::string& name, bool overwrite, TagHeader& header,
                      std::string* reason = nullptr) {
        Result<NewTag> created = CreateTag(codex, kUnit, tagid, name, overwrite);
        if (!created) {
            if (reason) *reason = created.error();
            return nullptr;
        }
        header = created->header;
        return created->record;
    }
    std::vector<std::string> FilesUnder(const std::string& folder) const {
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
            if (e.is_regular_file()) files.push_back(e.path().string());
        }
        std::sort(files.begin(), files.end());
        return files;
    }

    ScratchFolder dir;
    Codex codex;
};

}  // namespace

TEST_F(TagOperationsTest, CreateTagReasonsAndTagids) {
    TagHeader header;
    TagRecord* swordTwo = Create(std::nullopt, "sword two", false, header);
    ASSERT_TRUE(swordTwo);
    EXPECT_EQ(FourCC("swtw"), header.tagid);
    EXPECT_EQ(1, header.version);
    EXPECT_EQ(255, header.ownerIndex);
    EXPECT_EQ("sword two", header.Name());
    ASSERT_TRUE(Save(swordTwo, header, "two"));

    // swor is taken by the archive, so a name that suggests it counts up.
    TagRecord* third = Create(std::nullopt, "sword", false, header);
    ASSERT_TRUE(third);
    EXPECT_EQ(FourCC("swos"), header.tagid);
    EXPECT_EQ("", CodexLog());

    std::string reason;
    EXPECT_EQ(nullptr, Create(FourCC("swor"), "blade", false, header, &reason));
    EXPECT_EQ("A file with the same tagid already exists", reason);
    EXPECT_EQ("CreateTag(name='blade', tagid='swor', type='Units', allow_overwrite='False') failed because "
              "'A file with the same tagid already exists'.\n",
              CodexLog());
    // Overwriting an archived tag makes a loose override.
    EXPECT_TRUE(Create(FourCC("swor"), "blade", true, header));

    MessageLog::Instance().Clear();
    EXPECT_EQ(nullptr, Create(FourCC("abcd"), "sword two", false, header, &reason));
    EXPECT_EQ("A file with the same name already exists", reason);
    // Allowed: its tagid is taken over, and the old file stays until the new one replaces it.
    TagRecord* replaced = Create(FourCC("abcd"), "sword two", true, header);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(FourCC("swtw"), header.tagid);
    EXPECT_EQ("two", ReadFileText(Units("sword two")).substr(64));
    ASSERT_TRUE(Save(replaced, header, "again"));
    EXPECT_EQ("again", ReadFileText(Units("sword two")).substr(64));

    // A loose tag that is open cannot be overwritten.
    int user;
    codex.AttachToTag(replaced, kAttachTagResource, &user);
    EXPECT_EQ(nullptr, Create(FourCC("swtw"), "other", true, header, &reason));
    EXPECT_EQ("An existing file could not be overwritten", reason);
    codex.DetachFromTag(replaced, kAttachTagResource, &user);

    // Asking: "Don't Overwrite" refuses, "Overwrite" replaces.
    ScriptedTagPrompts prompts;
    MessageLog::Instance().Clear();
    EXPECT_FALSE(CreateTagAsking(codex, prompts, kUnit, FourCC("swtw"), "again"));
    ASSERT_EQ(1u, prompts.asked.size());
    EXPECT_EQ("Overwrite Tag?", prompts.asked[0].title);
    EXPECT_EQ((std::vector<std::string>{"Overwrite", "Don't Overwrite"}), prompts.asked[0].buttons);
    EXPECT_EQ("", CodexLog());
    prompts.Push(0);
    EXPECT_TRUE(CreateTagAsking(codex, prompts, kUnit, FourCC("swtw"), "again"));
}

TEST_F(TagOperationsTest, OverwritingKeepsTheOldTagUntilTheNewOneIsComplete) {
    TagHeader header;
    TagRecord* old = Create(std::nullopt, "old name", false, header);
    ASSERT_TRUE(old);
    ASSERT_TRUE(Save(old, header, "old data"));
    codex.RefreshLocalFolder(true);
    const std::string before = ReadFileText(Units("old name"));

    // The same tagid under a new name: a write that fails leaves the old tag whole.
    TagRecord* again = Create(old->tagid, "new name", true, header);
    ASSERT_EQ(old, again);
    AtomicFileWriter::FailNextWriterAfter(70);
    const Status failed = Save(again, header, std::string(100000, 'n'));
    ASSERT_FALSE(failed);
    EXPECT_NE(std::string::npos, failed.error().find("No space left on device")) << failed.error();
    EXPECT_EQ((std::vector<std::string>{Units("old name")}), FilesUnder(dir / "local"));
    EXPECT_EQ(before, ReadFileText(Units("old name")));
    EXPECT_EQ("old data", ReadTagData(codex, old));

    // Completed, the new file takes the new name and the old file goes.
    again = Create(old->tagid, "new name", true, header);
    ASSERT_TRUE(Save(again, header, "new data"));
    EXPECT_EQ((std::vector<std::string>{Units("new name")}), FilesUnder(dir / "local"));
    codex.RefreshLocalFolder(true);
    EXPECT_EQ("new data", ReadTagData(codex, codex.FindTag(kUnit, old->tagid)));
}

TEST_F(TagOperationsTest, SavesReplaceTheFileAtomicallyAndRescan) {
    TagHeader header;
    TagRecord* record = Create(std::nullopt, "knight", false, header);
    ASSERT_TRUE(record);
    header.user = 0xABCD;
    ASSERT_TRUE(Save(record, header, "version one"));
    EXPECT_TRUE(codex.IsChanged());
    EventRecorder recorder;
    codex.AddListener(EventRecorder::Callback, &recorder);
    codex.RefreshLocalFolder(false);
    EXPECT_EQ(std::vector<int>{kCodexTagAdded}, recorder.Codes());
    EXPECT_FALSE(codex.IsChanged());
    EXPECT_EQ("version one", ReadTagData(codex, record));
    const TagEntry* entry = codex.CurrentEntry(record);
    EXPECT_EQ(kLooseIdentifier, entry->header.identifier);
    EXPECT_EQ(64u, entry->header.offset);
    EXPECT_EQ(11u, entry->header.size);
    EXPECT_EQ(0xABCDu, entry->header.user);
    EXPECT_EQ(255, entry->header.foundationIndex);

    // A write that fails part-way leaves the previous file and entry, and no temporary.
    const std::string before = ReadFileText(Units("knight"));
    AtomicFileWriter::FailNextWriterAfter(70);
    Result<FILE*> f = BeginTagWrite(codex, record, header);
    ASSERT_TRUE(f);
    const std::string big(100000, 'x');
    const bool written = std::fwrite(big.data(), 1, big.size(), *f) == big.size();
    EXPECT_FALSE(FinishTagWrite(codex, record, nullptr, written));
    EXPECT_EQ(before, ReadFileText(Units("knight")));
    EXPECT_EQ((std::vector<std::string>{Units("knight")}), FilesUnder(dir / "local"));
    EXPECT_EQ("version one", ReadTagData(codex, record));

    // A write abandoned by its caller, and a failed commit, leave it too.
    f = BeginTagWrite(codex, record, header);
    ASSERT_TRUE(f);
    std::fputs("half", *f);
    EXPECT_FALSE(FinishTagWrite(codex, record, nullptr, false));
    AtomicFileWriter::FailNextCommit();
    EXPECT_FALSE(Save(record, header, "never"));
    EXPECT_EQ(before, ReadFileText(Units("knight")));
    EXPECT_EQ((std::vector<std::string>{Units("knight")}), FilesUnder(dir / "local"));

    // A file that cannot be created keeps the existing loose tag.
    AtomicFileWriter::FailNextOpen();
    MessageLog::Instance().Clear();
    EXPECT_FALSE(BeginTagWrite(codex, record, header));
    EXPECT_EQ("couldn't open tag file 'knight' for writing: couldn't write '" + Units("knight") +
                  "': Permission denied\n",
              CodexLog());
    EXPECT_EQ(before, ReadFileText(Units("knight")));
    EXPECT_TRUE(codex.FindTag(kUnit, record->tagid));

    // The "ixo made this" placeholder takes the file's name; a save after a header
    // rename still writes the tag's existing file.
    SetTagName(header, "ixo made this");
    ASSERT_TRUE(Save(record, header, "version two"));
    EXPECT_EQ("knight", codex.CurrentEntry(record)->header.Name());
    EXPECT_EQ("version two", ReadTagData(codex, record));
    codex.RemoveListener(EventRecorder::Callback, &recorder);
}

TEST_F(TagOperationsTest, OldVersionLooseFilesSaveAsCurrent) {
    WriteOldLooseTag(Units("relic"), kUnit, FourCC("reli"), "relic", 4, "relic");
    codex.RefreshLocalFolder(true);
    TagRecord* relic = codex.FindTag(kUnit, FourCC("reli"));
    ASSERT_TRUE(relic);
    const std::string data = ReadTagData(codex, relic);
    EXPECT_EQ("relic", data);
    ASSERT_TRUE(Save(relic, codex.CurrentEntry(relic)->header, data));
    const std::string bytes = ReadFileText(Units("relic"));
    ASSERT_EQ(69u, bytes.size());
    EXPECT_EQ("vsk2", bytes.substr(60, 4));
    EXPECT_EQ(4, bytes[57]);
    codex.RefreshLocalFolder(false);
    EXPECT_EQ("relic", ReadTagData(codex, relic));
}

TEST_F(TagOperationsTest, CopyAndDuplicateTags) {
    TagRecord* sword = codex.FindTag(kUnit, FourCC("swor"));
    ASSERT_TRUE(sword);
    ASSERT_TRUE(CopyTagToLocal(codex, sword));
    EXPECT_FALSE(CopyTagToLocal(codex, sword));
    EXPECT_EQ("blade", ReadFileText(Units("sword")).substr(64));
    codex.RefreshLocalFolder(false);

    TagRecord* copy = DuplicateTag(codex, sword).value();
    ASSERT_TRUE(copy);
    EXPECT_EQ("sword copy", codex.CurrentEntry(copy)->header.Name());
    EXPECT_EQ("blade", ReadTagData(codex, copy));
    TagRecord* copy1 = DuplicateTag(codex, sword).value();
    ASSERT_TRUE(copy1);
    EXPECT_EQ("sword copy 1", codex.CurrentEntry(copy1)->header.Name());
    EXPECT_NE(copy->tagid, copy1->tagid);

    TagRecord* shield = codex.FindTag(kUnit, FourCC("shie"));
    TagRecord* longCopy = DuplicateTag(codex, shield).value();
    ASSERT_TRUE(longCopy);
    EXPECT_EQ(std::string(31, 'l'), codex.CurrentEntry(longCopy)->header.Name());  // "%s copy" cut to 31
    TagRecord* longCopy1 = DuplicateTag(codex, shield).value();
    ASSERT_TRUE(longCopy1);
    EXPECT_EQ(std::string(24, 'l') + " copy 1", codex.CurrentEntry(longCopy1)->header.Name());

    const std::string given = "given name";
    TagRecord* named = DuplicateTag(codex, sword, &given).value();
    ASSERT_TRUE(named);
    EXPECT_EQ("given name", codex.CurrentEntry(named)->header.Name());
}

TEST_F(TagOperationsTest, ChangeTagInfoOnArchivedAndLooseTags) {
    TagRecord* sword = codex.FindTag(kUnit, FourCC("swor"));
    const std::string archiveBytes = ReadFileText(dir / "tags/base.dng");
    TagRecord* changed = ChangeTagInfo(codex, sword, FourCC("newi"), nullptr).value();
    ASSERT_TRUE(changed);
    EXPECT_EQ(FourCC("newi"), changed->tagid);
    EXPECT_EQ("sword copy", codex.CurrentEntry(changed)->header.Name());
    EXPECT_EQ("blade", ReadTagData(codex, changed));
    EXPECT_EQ(archiveBytes, ReadFileText(dir / "tags/base.dng"));
    EXPECT_EQ("blade", ReadTagData(codex, codex.FindTag(kUnit, FourCC("swor"))));

    // Renaming an open tag keeps its record.
    const std::string name = "war:axe";
    int window = 0;
    codex.AttachToTag(changed, kAttachTagInfo, &window);
    TagRecord* renamed = ChangeTagInfo(codex, changed, std::nullopt, &name).value();
    ASSERT_EQ(changed, renamed);
    codex.DetachFromTag(changed, kAttachTagInfo, &window);
    EXPECT_EQ("war_axe", codex.CurrentEntry(renamed)->header.Name());
    EXPECT_TRUE(std::filesystem::exists(Units("war_axe")));
    EXPECT_FALSE(std::filesystem::exists(Units("sword copy")));
    EXPECT_EQ("blade", ReadTagData(codex, renamed));
    EXPECT_EQ(renamed, ChangeTagInfo(codex, renamed, std::nullopt, nullptr).value());

    // Renaming onto another tag's file never replaces it.
    TagHeader header;
    TagRecord* other = Create(std::nullopt, "other", false, header);
    ASSERT_TRUE(Save(other, header, "other data"));
    codex.RefreshLocalFolder(false);
    MessageLog::Instance().Clear();
    const std::string clash = "other";
    EXPECT_FALSE(ChangeTagInfo(codex, renamed, std::nullopt, &clash));
    EXPECT_EQ("ChangeTagInfo: rename('" + Units("war_axe") + "','" + Units("other") + "') failed.\n", CodexLog());
    EXPECT_EQ("other data", ReadFileText(Units("other")).substr(64));

    // Both at once.
    const std::string both = "battle axe";
    TagRecord* moved = ChangeTagInfo(codex, renamed, FourCC("baax"), &both).value();
    ASSERT_TRUE(moved);
    EXPECT_EQ(nullptr, codex.FindTag(kUnit, FourCC("newi")));
    EXPECT_EQ("battle axe", codex.CurrentEntry(moved)->header.Name());
    EXPECT_EQ("blade", ReadTagData(codex, moved));

    // A change of an archived tag that fails takes its copy away again.
    EXPECT_FALSE(ChangeTagInfo(codex, codex.FindTag(kUnit, FourCC("swor")), std::nullopt, &both));
    EXPECT_FALSE(std::filesystem::exists(Units("sword copy")));
    EXPECT_FALSE(codex.CurrentEntry(codex.FindTag(kUnit, FourCC("swor")))->IsLoose());
}

TEST_F(TagOperationsTest, DeleteLocalTag) {
    TagRecord* sword = codex.FindTag(kUnit, FourCC("swor"));
    EXPECT_FALSE(DeleteLocalTag(codex, sword));  // no loose copy
    ASSERT_TRUE(CopyTagToLocal(codex, sword));
    codex.RefreshLocalFolder(false);
    int user;
    codex.AttachToTag(sword, kAttachTagResource, &user);
    EXPECT_FALSE(DeleteLocalTag(codex, sword));
    EXPECT_TRUE(std::filesystem::exists(Units("sword")));
    codex.DetachFromTag(sword, kAttachTagResource, &user);
    EventRecorder recorder;
    codex.AddListener(EventRecorder::Callback, &recorder);
    EXPECT_TRUE(DeleteLocalTag(codex, sword));
    EXPECT_FALSE(std::filesystem::exists(Units("sword")));
    EXPECT_EQ(std::vector<int>{kCodexTagChanged}, recorder.Codes());
    EXPECT_EQ(nullptr, sword->localEntry);
    EXPECT_EQ(codex.FindArchiveByName("base.dng"), codex.CurrentEntry(sword)->archive);

    TagHeader header;
    TagRecord* lone = Create(std::nullopt, "lone", false, header);
    ASSERT_TRUE(Save(lone, header, "x"));
    recorder.events.clear();
    EXPECT_TRUE(DeleteLocalTag(codex, lone));
    EXPECT_EQ(std::vector<int>{kCodexTagRemoved}, recorder.Codes());
    EXPECT_EQ(nullptr, codex.FindTag(kUnit, FourCC("lone")));
    codex.RemoveListener(EventRecorder::Callback, &recorder);
}

TEST_F(TagOperationsTest, DisassembleArchiveStaysInsideItsFolder) {
    ASSERT_TRUE(WriteTestArchive(dir / "hostile.dng", 6, 0,
                                 {{kUnit, FourCC("dots"), "..", "dots"},
                                  {kUnit, FourCC("dot1"), ".", "dot"},
                                  {kUnit, FourCC("esc1"), "../../escape", "escape"},
                                  {FourCC("../."), FourCC("grp1"), "evil group", "group"},
                                  {kText, FourCC("fine"), "fine", "fine data"}}));
    Archive* hostile = codex.LoadArchive(dir / "hostile.dng");
    ASSERT_TRUE(hostile);
    const std::string out = dir / "out";
    EXPECT_TRUE(DisassembleArchive(hostile, out));
    EXPECT_EQ((std::vector<std::string>{out + "/.._/evil group", out + "/text/fine", out + "/units/.._.._escape",
                                        out + "/units/_"}),
              FilesUnder(out));
    const std::string fine = ReadFileText(out + "/text/fine");
    TagHeader h;
    ASSERT_TRUE(ValidateTagHeader(h, reinterpret_cast<const uint8_t*>(fine.data()), fine.size()));
    EXPECT_EQ(FourCC("fine"), h.tagid);
    EXPECT_EQ(kLooseIdentifier, h.identifier);
    EXPECT_EQ(255, h.ownerIndex);
    EXPECT_EQ("fine data", fine.substr(64));
    EXPECT_FALSE(std::filesystem::exists(dir / "escape"));

    // A group folder that is a link out of the destination is not written through, and says so.
    const std::string linked = dir / "linked";
    std::filesystem::create_directories(dir / "elsewhere");
    std::filesystem::create_directories(linked);
    std::filesystem::create_directory_symlink(dir / "elsewhere", linked + "/text");
    std::vector<std::string> failures;
    const Status unpacked = DisassembleArchive(hostile, linked, [&](const std::string&, const Status& written) {
        if (!written) failures.push_back(written.error());
    });
    EXPECT_EQ("1 of 5 tags could not be written", unpacked.error());
    ASSERT_EQ(1u, failures.size());
    EXPECT_EQ("'" + linked + "/text' leads out of '" + linked + "' through a symbolic link; nothing is written through it",
              failures[0]);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "elsewhere"));
    EXPECT_TRUE(std::filesystem::exists(linked + "/units/_"));
}
