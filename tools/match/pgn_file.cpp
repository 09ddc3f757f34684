#include "pgn_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr size_t line_width = 79;

void add_tag(std::string *out, const char *name, const std::string &value) {
    *out += '[';
    *out += name;
    *out += " \"";
    for (char c : value) {
        if (c == '"' || c == '\\') *out += '\\';
        *out += c;
    }
    *out += "\"]\n";
}

// Adds a token to the movetext, breaking lines before they grow too long.
void add_token(std::string *text, size_t *line_length, const std::string &token) {
    if (*line_length > 0 && *line_length + 1 + token.size() > line_width) {
        *text += '\n';
        *line_length = 0;
    } else if (*line_length > 0) {
        *text += ' ';
        (*line_length)++;
    }
    *text += token;
    *line_length += token.size();
}

} // namespace

std::string format_pgn(const pgn_game &game) {
    std::string out;
    add_tag(&out, "Event", game.event);
    add_tag(&out, "Site", "?");
    add_tag(&out, "Date", game.date);
    add_tag(&out, "Round", game.round);
    add_tag(&out, "White", game.white);
    add_tag(&out, "Black", game.black);
    add_tag(&out, "Result", game.result);
    out += '\n';
    size_t line_length = 0;
    for (size_t i = 0; i < game.san.size(); i++) {
        if (i % 2 == 0) add_token(&out, &line_length, std::to_string(i / 2 + 1) + ".");
        add_token(&out, &line_length, game.san[i]);
    }
    if (!game.termination.empty()) {
        // An engine's message may hold a brace, which would end the comment early.
        std::string comment = game.termination;
        std::replace(comment.begin(), comment.end(), '}', ')');
        add_token(&out, &line_length, "{" + comment + "}");
    }
    add_token(&out, &line_length, game.result);
    out += "\n\n";
    return out;
}

bool write_file_safely(const std::string &path, const std::string &text, std::string *error) {
    const std::string temporary = path + ".tmp";
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) {
        *error = temporary + ": " + std::strerror(errno);
        return false;
    }
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
    const bool written = done == text.size() && fsync(fd) == 0;
    const int saved_errno = errno;
    if (close(fd) != 0 || !written) {
        *error = temporary + ": " + std::strerror(written ? errno : saved_errno);
        unlink(temporary.c_str());
        return false;
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        *error = path + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}
