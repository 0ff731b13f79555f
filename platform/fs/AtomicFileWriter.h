#pragma once
// Writes a file so that readers only ever see the old content or the complete new
// content: the data goes to a temporary file beside the target, which replaces the
// target by a rename once the caller commits. Abort, a failed commit or destruction
// without a commit remove the temporary and leave the target as it was.
#include <cstdint>
#include <cstdio>
#include <string>

namespace tamber::platform {

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file in the target's folder (which must exist). The
    // stream is open for reading and writing, positioned at 0. False on failure.
    bool Open(const std::string& target);
    FILE* File() const { return file_; }
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& TargetPath() const { return target_; }
    const std::string& TempPath() const { return temp_; }

    // Flushes, checks for any write error, makes the data durable (unless turned
    // off) and renames the temporary over the target. False leaves the target
    // untouched and no temporary behind.
    bool Commit();
    void Abort();

    // Durability costs a sync per file; bulk generators of throw-away data skip it.
    void SetDurable(bool durable) { durable_ = durable; }

    // Test hook: the next writer opened fails every write after this many bytes
    // (as a full disk would). A negative value disarms the hook.
    static void FailNextWriterAfter(int64_t bytes);
    // Test hook: the next commit fails just before the rename.
    static void FailNextCommit();
    // Test hook: the next Open fails as if the folder refused new files.
    static void FailNextOpen();

private:
    FILE* file_ = nullptr;
    std::string target_;
    std::string temp_;
    bool durable_ = true;
};

}  // namespace tamber::platform
