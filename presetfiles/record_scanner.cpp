#include "presetfiles/record_scanner.h"

#include <cstring>

namespace velt::corvane::presetfiles {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The tokens of one match; false when their number is not what the grammar expects.
bool collectTokens(const char* first, const char* last, const RecordGrammar& grammar,
                   Token (&tokens)[kMaxRecordTokens]) {
    int32_t count = 0;
    const std::cregex_iterator end;
    for (std::cregex_iterator it(first, last, grammar.tokenPattern()); it != end; ++it) {
        if (count == kMaxRecordTokens) return false;
        tokens[count].text = (*it)[0].first;
        tokens[count].length = static_cast<size_t>((*it)[0].length());
        ++count;
    }
    return count == grammar.tokenCount();
}

}  // namespace

bool parseDecimal(const Token& token, int32_t& value) {
    int64_t v = 0;
    for (size_t i = 0; i < token.length; ++i) {
        const char c = token.text[i];
        if (!isDigit(c)) return false;
        v = v * 10 + (c - '0');
        if (v > INT32_MAX) return false;
    }
    value = static_cast<int32_t>(v);
    return token.length > 0;
}

void scanRecords(TextSource& source, RecordGrammar& grammar) {
    LineWindow window(source);
    const char* marker = grammar.marker();
    const size_t markerLength = std::strlen(marker);
    do {
        // The pattern's leading [ \t]* can only take these blanks, so matching
        // from the marker gives the same match and keeps the window for the fields.
        window.skipBlanks();
        if (window.look(markerLength + 1) < markerLength + 1) continue;
        const char* first = window.data();
        if (std::memcmp(first, marker, markerLength) != 0 || !isDigit(first[markerLength])) continue;

        // One byte beyond the bound: a match no longer than the bound then ends
        // before the window does or at the end of the text, so it is complete.
        const size_t length = window.look(kMaxRecordChars + 1);
        first = window.data();
        std::cmatch match;
        if (!std::regex_search(first, first + length, match, grammar.recordPattern(),
                               std::regex_constants::match_continuous)) {
            continue;
        }
        const size_t matched = static_cast<size_t>(match.length(0));
        if (matched > kMaxRecordChars) continue;

        Token tokens[kMaxRecordTokens];
        if (collectTokens(first, first + matched, grammar, tokens)) grammar.take(tokens);
        // Searching goes on after the match; it ends in a digit, never in a line feed.
        window.skip(matched);
    } while (window.nextLine());
}

}  // namespace velt::corvane::presetfiles
