#include "tags/TagRecord.h"

namespace tamber::tags {

TagRecord::~TagRecord() = default;

void TagRecord::CloseDataFile() { dataFile.reset(); }

void TagRecord::Reset() {
    CloseDataFile();
    localEntry.reset();
    entries = nullptr;
    attachments.clear();
    attachments.shrink_to_fit();
    write.reset();
    superseded.clear();
}

}  // namespace tamber::tags
