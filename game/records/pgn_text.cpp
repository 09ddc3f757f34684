#include "game/records/pgn_text.h"
#include "rules/notation/notation.h"

#include <cctype>
#include <cstdio>

namespace {

constexpr std::size_t max_line_length = 79;
constexpr std::string_view seven_tag_roster[] = {"Event", "Site",  "Date",  "Round",
                                                 "White", "Black", "Result"};
constexpr std::string_view unknown_date = "????.??.??";
constexpr std::string_view unknown_value = "?";
constexpr std::string_view results[] = {"1-0", "0-1", "1/2-1/2", "*"};
constexpr std::size_t fen_side_field = 1, fen_fullmove_field = 5;
constexpr std::size_t longest_move_number = 9; // keeps the number within 32 bits

bool is_result(std::string_view s) {
    for (std::string_view r : results)
        if (s == r) return true;
    return false;
}

bool is_control(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

bool is_space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool all_digits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// Tag values live on one line between quotes: escape the escape and the quote, and turn
// control characters (a newline would end the tag) into spaces.
std::string escaped(std::string_view value) {
    std::string out;
    for (char c : value) {
        if (c == '\\' || c == '"') out += '\\';
        out += is_control(c) ? ' ' : c;
    }
    return out;
}

std::vector<std::string> words_of(std::string_view text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (is_space(c) || is_control(c)) {
            if (!word.empty()) words.push_back(word), word.clear();
        } else {
            word += c == '}' ? ')' : c; // a brace would end the comment early
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// Where the movetext's numbering starts: the FEN tag's full-move number and side to move.
void numbering_start(const pgn_game &game, unsigned long *fullmove, bool *black_first) {
    *fullmove = 1;
    *black_first = false;
    const std::string *fen = pgn_tag_value(game, "FEN");
    if (!fen) return;
    const std::vector<std::string> fields = words_of(*fen);
    if (fields.size() > fen_side_field) *black_first = fields[fen_side_field] == "b";
    if (fields.size() > fen_fullmove_field && all_digits(fields[fen_fullmove_field]) &&
        fields[fen_fullmove_field].size() <= longest_move_number) {
        const unsigned long n = std::stoul(fields[fen_fullmove_field]);
        if (n > 0) *fullmove = n;
    }
}

// A comment's words in braces, as tokens of the movetext. A command such as "[%clk 0:04:53.2]"
// stays one token, so that no line break falls inside it: readers look for it whole.
void add_comment_tokens(const std::string &comment, std::vector<std::string> *tokens) {
    std::vector<std::string> words = words_of(comment);
    if (words.empty()) return;
    words.front() = "{" + words.front();
    words.back() += "}";
    bool in_command = false;
    for (const std::string &word : words) {
        if (in_command)
            tokens->back() += " " + word;
        else
            tokens->push_back(word);
        const std::size_t open = word.rfind("[%");
        if (open != std::string::npos) in_command = true;
        if (in_command && word.find(']', open == std::string::npos ? 0 : open) != std::string::npos)
            in_command = false;
    }
}

std::vector<std::string> movetext_tokens(const pgn_game &game) {
    unsigned long number;
    bool black = false;
    numbering_start(game, &number, &black);
    std::vector<std::string> tokens;
    for (std::size_t i = 0; i < game.moves.size(); i++) {
        if (!black)
            tokens.push_back(std::to_string(number) + ".");
        else if (i == 0)
            tokens.push_back(std::to_string(number) + "...");
        tokens.push_back(game.moves[i]);
        if (i < game.move_comments.size()) add_comment_tokens(game.move_comments[i], &tokens);
        if (black) number++;
        black = !black;
    }
    add_comment_tokens(game.final_comment, &tokens);
    tokens.push_back(is_result(game.result) ? game.result : "*");
    return tokens;
}

} // namespace

const std::string *pgn_tag_value(const pgn_game &game, std::string_view name) {
    for (const pgn_tag &tag : game.tags)
        if (tag.name == name) return &tag.value;
    return nullptr;
}

std::string format_pgn(const pgn_game &game) {
    std::string out;
    const auto tag_line = [&](std::string_view name, std::string_view value) {
        out += '[';
        out += name;
        out += " \"" + escaped(value) + "\"]\n";
    };
    for (std::string_view name : seven_tag_roster) {
        const std::string *value = pgn_tag_value(game, name);
        if (name == "Result")
            tag_line(name, is_result(game.result) ? game.result : "*");
        else if (value)
            tag_line(name, *value);
        else
            tag_line(name, name == "Date" ? unknown_date : unknown_value);
    }
    for (const pgn_tag &tag : game.tags) {
        bool in_roster = false;
        for (std::string_view name : seven_tag_roster) in_roster |= tag.name == name;
        if (!in_roster) tag_line(tag.name, tag.value);
    }
    out += '\n';

    std::string line;
    for (const std::string &token : movetext_tokens(game)) {
        if (!line.empty() && line.size() + 1 + token.size() > max_line_length) {
            out += line + '\n';
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += token;
    }
    out += line + "\n\n";
    return out;
}

namespace {

struct pgn_reader {
    std::string_view text;
    std::size_t pos = 0;
    int line = 1;
    bool more_follows = false;    // the text is a piece of a longer one
    mutable bool starved = false; // the end of the piece was met before the game's end

    bool at_end() const {
        if (pos < text.size()) return false;
        starved = more_follows;
        return true;
    }
    char peek() const { return text[pos]; }
    void advance() {
        if (text[pos] == '\n') line++;
        pos++;
    }
    bool at_line_start() const { return pos == 0 || text[pos - 1] == '\n'; }
    void skip_to_line_end() {
        while (!at_end() && peek() != '\n') advance();
    }
};

std::string at_line(int line, const std::string &what) {
    return "line " + std::to_string(line) + ": " + what;
}

std::string quoted(std::string_view word) {
    std::string out(1, '\'');
    out += shown_text(word);
    out += '\'';
    return out;
}

std::string shown(char c) {
    if (!is_control(c) && static_cast<unsigned char>(c) < 0x80) return std::string("'") + c + "'";
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(c));
    return hex;
}

bool is_word_char(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("_+#=:-/.!?").find(c) != std::string_view::npos;
}

bool is_blank_in_line(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

bool read_tag(pgn_reader &r, pgn_tag *tag, std::string *error) {
    const int line = r.line;
    r.advance(); // '['
    while (!r.at_end() && is_blank_in_line(r.peek())) r.advance();
    std::string name;
    while (!r.at_end() && (std::isalnum(static_cast<unsigned char>(r.peek())) || r.peek() == '_'))
        name += r.peek(), r.advance();
    if (name.empty()) {
        *error = at_line(line, "a tag pair without a name");
        return false;
    }
    while (!r.at_end() && is_blank_in_line(r.peek())) r.advance();
    if (r.at_end() || r.peek() != '"') {
        *error = at_line(line, "the tag " + shown_text(name) + " has no value in quotes");
        return false;
    }
    r.advance();
    std::string value;
    for (;;) {
        if (r.at_end() || r.peek() == '\n') {
            *error = at_line(line, "the value of the tag " + shown_text(name) + " is not closed");
            return false;
        }
        char c = r.peek();
        r.advance();
        if (c == '"') break;
        if (c == '\\' && !r.at_end() && (r.peek() == '\\' || r.peek() == '"')) {
            c = r.peek();
            r.advance();
        }
        value += c;
    }
    while (!r.at_end() && is_blank_in_line(r.peek())) r.advance();
    if (r.at_end() || r.peek() != ']') {
        *error = at_line(line, "the tag " + shown_text(name) + " is not closed with ']'");
        return false;
    }
    r.advance();
    *tag = pgn_tag{name, value};
    return true;
}

void add_comment(std::string *comments, std::string_view text) {
    for (const std::string &word : words_of(text)) {
        if (!comments->empty()) *comments += ' ';
        *comments += word;
    }
}

// Move numbers ("12.", "12...", also glued to the move as in "12.e4") and the marks
// "!", "?" are not part of the move.
std::string_view move_of_word(std::string_view word) {
    std::size_t digits = 0;
    while (digits < word.size() && std::isdigit(static_cast<unsigned char>(word[digits]))) digits++;
    if (digits == word.size()) return {};
    if (word.find_first_not_of('.') == std::string_view::npos) return {}; // "12. ... e5"
    if (digits > 0 && word[digits] == '.') {
        word.remove_prefix(digits);
        while (!word.empty() && word.front() == '.') word.remove_prefix(1);
    }
    while (!word.empty() && (word.back() == '!' || word.back() == '?')) word.remove_suffix(1);
    if (word == "e.p." || word == "ep") return {}; // "exd6 e.p."
    return word;
}

bool starts_like_a_move(std::string_view move) {
    return std::string_view("abcdefghKQRBNPO0o").find(move.front()) != std::string_view::npos;
}

pgn_piece read_game(pgn_reader &r, pgn_game *next_game, std::string *error) {
    const std::string_view text = r.text;
    pgn_game game;
    game.result.clear();
    bool in_movetext = false, found_game = false;
    int depth = 0, variation_line = 0;
    std::string comments; // those after the last move of the main line

    while (game.result.empty() && !r.at_end()) {
        const char c = r.peek();
        const int line = r.line;
        if (is_space(c)) {
            r.advance();
        } else if (c == '%' && r.at_line_start()) {
            r.skip_to_line_end();
        } else if (c == ';') {
            const std::size_t start = r.pos + 1;
            r.skip_to_line_end();
            if (depth == 0) add_comment(&comments, text.substr(start, r.pos - start));
        } else if (c == '{') {
            const std::size_t start = r.pos + 1;
            while (!r.at_end() && r.peek() != '}') r.advance();
            if (r.at_end()) {
                *error = at_line(line, "a comment is not closed with '}'");
                return pgn_piece::broken;
            }
            if (depth == 0) add_comment(&comments, text.substr(start, r.pos - start));
            r.advance();
        } else if (c == '[') {
            if (in_movetext) break; // the next game's tags: this one lacks its result
            pgn_tag tag;
            if (!read_tag(r, &tag, error)) return pgn_piece::broken;
            game.tags.push_back(tag);
            found_game = true;
        } else if (c == '(') {
            if (depth++ == 0) variation_line = line;
            in_movetext = found_game = true;
            r.advance();
        } else if (c == ')') {
            if (depth == 0) {
                *error = at_line(line, "')' without '('");
                return pgn_piece::broken;
            }
            depth--;
            r.advance();
        } else if (c == '$') {
            r.advance();
            if (r.at_end() || !std::isdigit(static_cast<unsigned char>(r.peek()))) {
                *error = at_line(line, "'$' without a number");
                return pgn_piece::broken;
            }
            while (!r.at_end() && std::isdigit(static_cast<unsigned char>(r.peek()))) r.advance();
        } else if (c == '*') {
            r.advance();
            in_movetext = found_game = true;
            if (depth == 0) game.result.assign(1, '*');
        } else if (is_word_char(c)) {
            const std::size_t start = r.pos;
            while (!r.at_end() && is_word_char(r.peek())) r.advance();
            const std::string_view word = text.substr(start, r.pos - start);
            in_movetext = found_game = true;
            if (depth > 0) continue;
            if (is_result(word)) {
                game.result = word;
                continue;
            }
            const std::string_view move = move_of_word(word);
            if (move.empty()) continue;
            if (!starts_like_a_move(move)) {
                *error = at_line(line, quoted(word) + " is not a move");
                return pgn_piece::broken;
            }
            if (!game.moves.empty()) game.move_comments.back() = comments;
            game.moves.emplace_back(move);
            game.move_comments.emplace_back();
            comments.clear();
        } else {
            *error = at_line(line, "unexpected character " + shown(c));
            return pgn_piece::broken;
        }
    }
    if (depth > 0) {
        *error = at_line(variation_line, "a variation is not closed with ')'");
        return pgn_piece::broken;
    }
    if (!found_game) return pgn_piece::none;
    if (game.result.empty()) {
        const std::string *tag = pgn_tag_value(game, "Result");
        game.result = tag && is_result(*tag) ? *tag : "*";
    }
    game.final_comment = comments;
    if (!game.moves.empty()) game.move_comments.back() = comments;
    *next_game = std::move(game);
    return pgn_piece::game;
}

} // namespace

pgn_piece parse_next_pgn(std::string_view text, bool more_follows, std::size_t *pos, int *line,
                         pgn_game *next_game, std::string *error) {
    pgn_reader r{text, *pos, *line, more_follows};
    const pgn_piece result = read_game(r, next_game, error);
    if (r.starved) return pgn_piece::need_more;
    *pos = r.pos;
    *line = r.line;
    return result;
}

bool parse_pgn(std::string_view text, pgn_game *first_game, std::string *error) {
    constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
    if (text.substr(0, byte_order_mark.size()) == byte_order_mark)
        text.remove_prefix(byte_order_mark.size());
    std::size_t pos = 0;
    int line = 1;
    switch (parse_next_pgn(text, false, &pos, &line, first_game, error)) {
    case pgn_piece::game:
        return true;
    case pgn_piece::none:
        *error = "no game found";
        return false;
    default:
        return false;
    }
}
