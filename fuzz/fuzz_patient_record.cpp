// SPDX-License-Identifier: GPL-3.0-or-later
// The stored patient record: anything but 544 bytes is refused and leaves the
// record alone; 544 bytes come back out byte for byte.
#include "FuzzInput.h"

#include "model/PatientRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    PatientRecord record;
    record.idNumber = 42;
    const bool ok = record.fromBytes(bytes);
    if (size != std::size_t(PatientRecord::kStoredSize)) {
        FUZZ_CHECK(!ok);
        FUZZ_CHECK(record == PatientRecord{.idNumber = 42});
        return 0;
    }
    FUZZ_CHECK(ok);
    FUZZ_CHECK(record.toBytes() == bytes);
    // Fields filled to their width have no terminator; reading them must stop at the edge.
    FUZZ_CHECK(record.nameText().size() <= PatientRecord::kNameUnits);
    FUZZ_CHECK(record.physicianText().size() <= PatientRecord::kPhysicianUnits);
    FUZZ_CHECK(record.note1Text().size() <= PatientRecord::kNoteUnits);
    FUZZ_CHECK(record.note2Text().size() <= PatientRecord::kNoteUnits);
    FUZZ_CHECK(record.commentsText().size() <= PatientRecord::kCommentsUnits);
    return 0;
}
