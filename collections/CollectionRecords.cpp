#include "collections/CollectionRecords.h"

namespace tamber::collections {

using namespace ByteSwap;

const uint16_t kCollectionHeaderDescriptor[] = {320, 2, kSwap32, 56, kZero8, 32, kSwap32, 56, kZero8,
                                                2, kSwap32, 64, kZero8};
const uint16_t kColourTableDescriptor[] = {2080, 1, kSwap32, 28, kZero8, 1024, kSwap16};
const uint16_t kHueChangeDescriptor[] = {128, 63, kBytes, 1, kZero8, 2, kSwap16, 32, kBytes, 10, kSwap16, 8, kBytes};
const uint16_t kBitmapRefDescriptor[] = {128, 63, kBytes, 1, kZero8, 2, kSwap32, 1, kZero32, 2, kSwap16,
                                         32, kZero8, 16, kBytes};
const uint16_t kViewRecordDescriptor[] = {64, 1, kSwap32, 8, kZero8, 2, kSwap16, 8, kZero8, 4, kSwap16,
                                          1, kSwap32, 2, kSwap16, 24, kZero8};
const uint16_t kSequenceRefDescriptor[] = {128, 63, kBytes, 1, kZero8, 2, kSwap32, 56, kZero8};
const uint16_t kFrameRecordDescriptor[] = {32, 3, kSwap32, 1, kSwap16, 1, kZero16, 16, kZero8};
const uint16_t kSequenceHeaderDescriptor[] = {64, 2, kSwap32, 8, kSwap16, 3, kSwap32, 2, kSwap16,
                                              3, kSwap32, 3, kSwap16, 6, kZero8};
const uint16_t kFrameEntryDescriptor[] = {46, 4, kSwap16, 38, kZero8};
const uint16_t kBitmapHeaderDescriptor[] = {52, 5, kSwap16, 4, kZero8, 2, kSwap16, 34, kZero8};

}  // namespace tamber::collections
