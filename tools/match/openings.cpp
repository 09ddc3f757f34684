#include "openings.h"
#include "rules/notation/position_replay.h"

#include <fstream>
#include <sstream>

bool load_openings(const std::string &path, std::vector<opening_line> *out, std::string *error) {
    std::ifstream in(path);
    if (!in) {
        *error = "cannot read " + path;
        return false;
    }
    out->clear();
    std::string text;
    for (int number = 1; std::getline(in, text); number++) {
        std::istringstream words(text);
        opening_line line;
        game_state game = new_game();
        for (std::string move; words >> move;) {
            if (line.empty() && move[0] == '#') break;
            std::string problem;
            if (!play_coordinates(&game, move, promotion_case::small_only, &problem)) {
                *error = path + " line " + std::to_string(number) + ": " + move + ": " + problem;
                return false;
            }
            line.push_back(move);
        }
        if (!line.empty()) out->push_back(line);
    }
    if (out->empty()) {
        *error = path + " holds no opening";
        return false;
    }
    return true;
}
