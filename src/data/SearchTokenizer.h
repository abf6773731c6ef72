#pragma once

struct sqlite3;

// The name the full-text index gives its tokenizer in `tokenize=`.
inline constexpr char kSearchTokenizerName[] = "pairs";

// Registers, on one connection, the tokenizer that cuts text as util/SearchText describes:
// every two neighbouring characters of a substring run are one token, and the last character
// of the run is one more, so that one character is found as the start of a token and longer
// text as a phrase of pairs. A run that the query marks as open-ended gets no last token.
void registerSearchTokenizer(sqlite3 *db);
