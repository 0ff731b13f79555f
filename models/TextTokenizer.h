#pragma once
// Splits a text buffer in place into whitespace-separated tokens with line and
// column positions. Lines whose first non-blank character is '#' are comments.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamber::models {

struct Token {
    const char* text = nullptr;  // NUL-terminated, inside the tokenizer's buffer
    uint32_t length = 0;         // bytes
    uint32_t column = 0;         // byte offset from the start of its line, from 0
    uint32_t line = 0;           // from 1
};

class TextTokenizer {
public:
    // Tokenizes `buffer` (size bytes followed by a NUL) by overwriting every
    // whitespace character with NUL. The buffer must outlive the tokens.
    void Tokenize(char* buffer, size_t size, uint32_t firstLine = 1);

    const std::vector<Token>& Tokens() const { return tokens_; }

private:
    char* buffer_ = nullptr;
    uint32_t line_ = 1;
    std::vector<Token> tokens_;
};

}  // namespace tamber::models
