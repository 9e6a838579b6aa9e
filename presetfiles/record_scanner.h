// Successive record matches at line starts of a text, found with a record
// pattern inside windows of bounded length, and the tokens of each match.
#pragma once

#include <cstddef>
#include <cstdint>
#include <regex>

#include "presetfiles/line_window.h"

namespace velt::corvane::presetfiles {

/// Longest record, counted from its marker to the end of its last field, that
/// the import reads; the pattern matcher recurses once per character, so a
/// longer record (absurd padding or digit runs) is skipped rather than risking
/// the stack.
constexpr size_t kMaxRecordChars = 512;

/// Most tokens a record of any kind holds.
constexpr int32_t kMaxRecordTokens = 14;

/// One token of a matched record: a view into the scanned text.
struct Token {
    const char* text = nullptr;
    size_t length = 0;
};

/// What a kind of record looks like and where its matches go.
class RecordGrammar {
public:
    virtual ~RecordGrammar() = default;
    /// Literal text that every match begins with after its leading blanks.
    virtual const char* marker() const = 0;
    /// The record pattern; it starts with ^[ \t]* and must match at a line start.
    virtual const std::regex& recordPattern() const = 0;
    /// The pattern whose successive matches in a record are its tokens.
    virtual const std::regex& tokenPattern() const = 0;
    /// Number of tokens every match of the record pattern yields.
    virtual int32_t tokenCount() const = 0;
    /// Receives the tokens of one match, in text order.
    virtual void take(const Token* tokens) = 0;
};

/// Finds, from the start to the end of the source, the successive
/// non-overlapping matches of the grammar's record pattern, where ^ matches at
/// the start and after each line feed, and hands each match's tokens on.
void scanRecords(TextSource& source, RecordGrammar& grammar);

/// Decimal value of a run of digits; false when it exceeds 2147483647.
bool parseDecimal(const Token& token, int32_t& value);

}  // namespace velt::corvane::presetfiles
