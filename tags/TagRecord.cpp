#include "tags/TagRecord.h"

namespace tamber::tags {

TagRecord::~TagRecord() {
    CloseDataFile();
    delete localEntry;
}

void TagRecord::CloseDataFile() {
    if (dataFile) {
        std::fclose(dataFile);
        dataFile = nullptr;
    }
}

void TagRecord::Reset() {
    CloseDataFile();
    delete localEntry;
    localEntry = nullptr;
    entries = nullptr;
    attachments.clear();
    attachments.shrink_to_fit();
    write.reset();
}

}  // namespace tamber::tags
