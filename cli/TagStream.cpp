#include "cli/TagStream.h"

#include <cstdio>

#include "cli/TagSource.h"
#include "platform/fs/InputFile.h"

namespace tamber::cli {
using namespace tamber::platform;

Result<std::unique_ptr<TagStream>> TagStream::Open(const std::vector<std::string>& words) {
    std::unique_ptr<TagStream> stream(new TagStream);
    if (words.size() == 1) {
        Result<InputFile> input = OpenTagFile(words[0], stream->header_);
        if (!input) return std::move(input).TakeError();
        stream->owned_ = std::move(input->file);
        stream->file_ = stream->owned_.get();
    } else {
        Codex& codex = Codex::Instance();
        Result<TagRecord*> record = FindTagArgument(codex, words);
        if (!record) return std::move(record).TakeError();
        Result<std::FILE*> file = codex.OpenTagData(*record);
        if (!file)
            return Fail("couldn't read the data of " + TagIdText((*record)->group) + " " + TagIdText((*record)->tagid) +
                        ": " + file.error());
        stream->codex_ = &codex;
        stream->record_ = *record;
        stream->file_ = *file;
        // Opening a loose file refreshes the entry's size from the file itself.
        stream->header_ = codex.CurrentEntry(*record)->header;
    }
    stream->start_ = ftello(stream->file_);
    if (stream->start_ < 0) return Fail("'" + stream->header_.Name() + "' cannot be read in place");
    return stream;
}

TagStream::~TagStream() {
    if (codex_) codex_->CloseTagData(record_);
}

bool TagStream::ReadAt(uint64_t offset, uint8_t* out, size_t bytes) {
    if (offset > header_.size || bytes > header_.size - offset) return false;
    if (fseeko(file_, off_t(start_ + int64_t(offset)), SEEK_SET) != 0) return false;
    return bytes == 0 || std::fread(out, 1, bytes, file_) == bytes;
}

}  // namespace tamber::cli
