#include "data/SearchTokenizer.h"

#include "util/SearchText.h"

#include <sqlcipher/sqlite3.h>

#include <QChar>
#include <string>
#include <vector>

// The tokenizer interface of SQLite's FTS3/FTS4 module. Its header is not installed with the
// library, so the three structures it defines are declared here as the module expects them.
struct sqlite3_tokenizer_module;
struct sqlite3_tokenizer
{
    const sqlite3_tokenizer_module *module;
};
struct sqlite3_tokenizer_cursor
{
    sqlite3_tokenizer *tokenizer;
};
struct sqlite3_tokenizer_module
{
    int version;
    int (*create)(int argc, const char *const *argv, sqlite3_tokenizer **tokenizer);
    int (*destroy)(sqlite3_tokenizer *tokenizer);
    int (*open)(sqlite3_tokenizer *tokenizer, const char *input, int bytes, sqlite3_tokenizer_cursor **cursor);
    int (*close)(sqlite3_tokenizer_cursor *cursor);
    int (*next)(sqlite3_tokenizer_cursor *cursor, const char **token, int *bytes, int *startOffset, int *endOffset,
                int *position);
};

namespace {

using searchtext::CharClass;

struct Character
{
    char32_t folded;
    CharClass kind;
    int start; // byte offsets in the input
    int end;
};

struct Token
{
    std::string bytes;
    int start;
    int end;
};

struct Cursor : sqlite3_tokenizer_cursor
{
    std::vector<Token> tokens;
    size_t next = 0;
};

char32_t foldCodePoint(char32_t c)
{
    return c < 0x10000 ? searchtext::fold(char16_t(c)) : QChar::toCaseFolded(c);
}

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// Decodes UTF-8; a byte that starts no valid sequence is a separator of its own.
std::vector<Character> decode(const unsigned char *input, int size)
{
    std::vector<Character> characters;
    characters.reserve(size_t(size));
    int i = 0;
    while (i < size) {
        const int start = i;
        const unsigned char lead = input[i++];
        char32_t c = 0;
        int continuation = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            c = lead & 0x1F;
            continuation = 1;
        } else if ((lead & 0xF0) == 0xE0) {
            c = lead & 0x0F;
            continuation = 2;
        } else if ((lead & 0xF8) == 0xF0) {
            c = lead & 0x07;
            continuation = 3;
        } else {
            characters.push_back({0xFFFD, CharClass::Separator, start, i});
            continue;
        }
        bool valid = true;
        for (int k = 0; k < continuation; ++k) {
            if (i >= size || (input[i] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (input[i++] & 0x3F);
        }
        if (!valid || c > 0x10FFFF) {
            characters.push_back({0xFFFD, CharClass::Separator, start, i});
            continue;
        }
        const char32_t folded = foldCodePoint(c);
        characters.push_back({folded, searchtext::classOf(folded), start, i});
    }
    return characters;
}

std::vector<Token> tokenize(const unsigned char *input, int size)
{
    const std::vector<Character> characters = decode(input, size);
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < characters.size()) {
        const CharClass kind = characters[i].kind;
        if (kind == CharClass::Separator) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < characters.size() && characters[end].kind == kind)
            ++end;
        if (kind == CharClass::Cased) {
            Token word{{}, characters[i].start, characters[end - 1].end};
            for (size_t k = i; k < end; ++k)
                appendUtf8(word.bytes, characters[k].folded);
            tokens.push_back(std::move(word));
        } else {
            for (size_t k = i; k + 1 < end; ++k) {
                Token pair{{}, characters[k].start, characters[k + 1].end};
                appendUtf8(pair.bytes, characters[k].folded);
                appendUtf8(pair.bytes, characters[k + 1].folded);
                tokens.push_back(std::move(pair));
            }
            // The mark a query puts there ends its phrase or comes before its `*`; anywhere else
            // it is a character of the text like any other.
            const bool openEnd = end < characters.size() && characters[end].folded == searchtext::kOpenEnd
                                 && (end + 1 == characters.size() || characters[end + 1].folded == U'*');
            const Character &last = characters[end - 1];
            if (!openEnd || end - i == 1) {
                // Open-ended, the token reaches over the mark, so that a `*` after it makes
                // the query a prefix.
                Token single{{}, last.start, openEnd ? characters[end].end : last.end};
                appendUtf8(single.bytes, last.folded);
                tokens.push_back(std::move(single));
            }
        }
        i = end;
    }
    return tokens;
}

int createTokenizer(int, const char *const *, sqlite3_tokenizer **tokenizer)
{
    *tokenizer = new sqlite3_tokenizer{};
    return SQLITE_OK;
}

int destroyTokenizer(sqlite3_tokenizer *tokenizer)
{
    delete tokenizer;
    return SQLITE_OK;
}

int openCursor(sqlite3_tokenizer *, const char *input, int bytes, sqlite3_tokenizer_cursor **cursor)
{
    auto *opened = new Cursor{};
    if (input) {
        if (bytes < 0)
            bytes = int(std::char_traits<char>::length(input));
        opened->tokens = tokenize(reinterpret_cast<const unsigned char *>(input), bytes);
    }
    *cursor = opened;
    return SQLITE_OK;
}

int closeCursor(sqlite3_tokenizer_cursor *cursor)
{
    delete static_cast<Cursor *>(cursor);
    return SQLITE_OK;
}

int nextToken(sqlite3_tokenizer_cursor *cursor, const char **token, int *bytes, int *startOffset, int *endOffset,
              int *position)
{
    auto *c = static_cast<Cursor *>(cursor);
    if (c->next >= c->tokens.size())
        return SQLITE_DONE;
    const Token &t = c->tokens[c->next];
    *token = t.bytes.data();
    *bytes = int(t.bytes.size());
    *startOffset = t.start;
    *endOffset = t.end;
    *position = int(c->next++);
    return SQLITE_OK;
}

const sqlite3_tokenizer_module kModule = {0, createTokenizer, destroyTokenizer, openCursor, closeCursor, nextToken};

} // namespace

void registerSearchTokenizer(sqlite3 *db)
{
    // fts3_tokenizer() registers by address only when the connection allows it.
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_FTS3_TOKENIZER, 1, nullptr);
    const sqlite3_tokenizer_module *module = &kModule;
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT fts3_tokenizer(?, ?)", -1, &statement, nullptr) != SQLITE_OK)
        return;
    sqlite3_bind_text(statement, 1, kSearchTokenizerName, -1, SQLITE_STATIC);
    sqlite3_bind_blob(statement, 2, &module, sizeof(module), SQLITE_STATIC);
    sqlite3_step(statement);
    sqlite3_finalize(statement);
}
