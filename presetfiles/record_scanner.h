// Successive records at line starts of a text, found by a scanner that reads every
// byte once: linear time, a fixed amount of state and no recursion, whatever the
// length of a record, its separators or its digit runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "presetfiles/line_window.h"
#include "synth/pcm/sound_records.h"

namespace velt::corvane::presetfiles {

/// Most unsigned integers a record of any kind holds after its number.
constexpr int32_t kMaxRecordIntegers = 12;

/// The line grammar of one kind of record:
///   ^[ \t]*MARKER[0-9]+  ([, \t\n\r]+"NAME")?  ([, \t\n\r]+[0-9]+){integerCount}
///   ([, \t\n\r]+[0-9]+\.[0-9]+)?
/// where NAME is exactly 16 bytes of 0x20..0x7E (quotes included) and ^ is the start of
/// the text or the byte after a line feed. Nothing after the last field is looked at.
struct RecordShape {
    const char* marker;    ///< "@I:", "@S:" or "@:"
    bool quotedName;       ///< a quoted name follows the record number
    int32_t integerCount;  ///< 0..kMaxRecordIntegers
    bool decimal;          ///< a decimal number with digits on both sides of the point ends the record
};

/// The fields of one record that matched its shape.
struct RecordFields {
    int32_t number = 0;  ///< the record number
    char name[kPresetNameLength] = {};
    int32_t integers[kMaxRecordIntegers] = {};
    bool integersFit = true;  ///< false when the number or an integer exceeds 2147483647
    double decimal = 0.0;     ///< the decimal as the nearest double
    bool decimalFits = true;  ///< false when it is beyond the double range (too large or too small)
};

/// What a kind of record looks like and where its matches go.
class RecordGrammar {
public:
    virtual ~RecordGrammar() = default;
    virtual const RecordShape& shape() const = 0;
    /// Receives each record that matched, in text order.
    virtual void take(const RecordFields& fields) = 0;
};

/// Finds, from the start to the end of the source, the successive non-overlapping
/// records of the grammar's shape and hands each on. A UTF-8 byte-order mark at the
/// very start is skipped, so that the first line is a line start.
void scanRecords(TextSource& source, RecordGrammar& grammar);

}  // namespace velt::corvane::presetfiles
