#pragma once
// Writes a file so that readers only ever see the old content or the complete new
// content: the data goes to a temporary file beside the target, which replaces the
// target by a rename once the caller commits. Abort, a failed commit or destruction
// without a commit remove the temporary and leave the target as it was.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "base/Result.h"

namespace tamber::platform {
using namespace tamber::base;

class AtomicFileWriter {
public:
    AtomicFileWriter();
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file in the target's folder (which must exist), after
    // removing temporaries that killed writes left in that folder. The stream is
    // open for reading and writing, positioned at 0.
    Status Open(const std::string& target);
    FILE* File() const { return file_; }
    bool IsOpen() const { return file_ != nullptr; }
    const std::string& TargetPath() const { return target_; }
    const std::string& TempPath() const { return temp_; }

    // Writes all bytes at the current position; the failure names the system's reason.
    Status Write(const void* data, size_t size);
    // The failure of an earlier write through File(), with the system's reason.
    Error WriteFailure() const;

    // Flushes, checks for any write error, makes the data durable (unless turned
    // off), renames the temporary over the target and syncs the folder. A failure
    // before the rename leaves the target untouched and no temporary behind.
    Status Commit();
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

    struct Stream;  // the descriptor under File() and the last error its writes met

private:
    FILE* file_ = nullptr;
    std::unique_ptr<Stream> stream_;
    std::string target_;
    std::string temp_;
    bool durable_ = true;
};

}  // namespace tamber::platform
