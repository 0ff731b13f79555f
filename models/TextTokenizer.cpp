#include "models/TextTokenizer.h"

namespace tamber::models {

namespace {

// NUL counts as whitespace too, so a token's length always matches its text.
bool IsSpace(char c) {
    return c == 0 || c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }

}  // namespace

void TextTokenizer::Tokenize(char* buffer, size_t size, uint32_t firstLine) {
    buffer_ = buffer;
    line_ = firstLine;
    tokens_.clear();
    size_t pos = 0;
    while (pos < size) {
        // One line: [lineStart, lineEnd), followed by its CR or LF (each counts as a line end).
        size_t lineStart = pos;
        size_t lineEnd = pos;
        while (lineEnd < size && !IsLineEnd(buffer[lineEnd])) ++lineEnd;
        size_t i = lineStart;
        while (i < lineEnd && IsSpace(buffer[i])) buffer[i++] = 0;
        if (i < lineEnd && buffer[i] == '#') {
            // Comment: blank the whole rest of the line so no later scan sees it.
            while (i < lineEnd) buffer[i++] = 0;
        }
        while (i < lineEnd) {
            if (IsSpace(buffer[i])) {
                buffer[i++] = 0;
                continue;
            }
            size_t start = i;
            while (i < lineEnd && !IsSpace(buffer[i])) ++i;
            tokens_.push_back(Token{buffer + start, uint32_t(i - start), uint32_t(start - lineStart), line_});
        }
        if (lineEnd < size) {
            buffer[lineEnd] = 0;
            ++line_;
            pos = lineEnd + 1;
        } else {
            pos = lineEnd;
        }
    }
}

}  // namespace tamber::models
