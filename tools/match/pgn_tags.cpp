#include "pgn_tags.h"

#include <sstream>

namespace {

// [Name "value"], the value's \" and \\ read back. False for other lines.
bool read_tag(const std::string &line, std::string *name, std::string *value) {
    if (line.size() < 4 || line[0] != '[') return false;
    const size_t quote = line.find('"');
    if (quote == std::string::npos) return false;
    *name = line.substr(1, line.find_first_of(" \t\"", 1) - 1);
    value->clear();
    for (size_t i = quote + 1; i < line.size(); i++) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            *value += line[++i];
        } else if (line[i] == '"') {
            return true;
        } else {
            *value += line[i];
        }
    }
    return false;
}

} // namespace

std::vector<game_tags> read_game_tags(const std::string &pgn) {
    std::vector<game_tags> games;
    std::istringstream in(pgn);
    std::string line, name, value;
    bool in_tags = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!read_tag(line, &name, &value)) {
            in_tags = false; // the tags of a game stand together, before its moves
            continue;
        }
        if (!in_tags) games.emplace_back();
        in_tags = true;
        if (name == "White")
            games.back().white = value;
        else if (name == "Black")
            games.back().black = value;
        else if (name == "Result")
            games.back().result = value;
    }
    return games;
}
