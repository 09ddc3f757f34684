#include "engine/position_command.h"
#include "rules/notation/position_replay.h"

#include <span>
#include <utility>

namespace {

// A FEN position the GUI sends, or the problem with it as the engine reports it.
bool position_from_fen(const std::string &fen, game_state *out, std::string *problem,
                       std::string *note) {
    fen_position pos;
    std::string error;
    if (!read_start_fen(fen, &pos, &error, note)) {
        *problem = "position: bad FEN '" + shown(fen) + "': " + error;
        return false;
    }
    *out = game_from_start(pos);
    return true;
}

} // namespace

bool set_up_position(const word_list &words, size_t from, game_state *game, std::string *problem,
                     game_moves *replayed) {
    const size_t moves_at = find_word(words, from, {"moves"});
    game_state next;
    std::string note; // about a start that is used all the same
    if (from < words.size() && words[from] == "startpos") {
        if (from + 1 < words.size() && moves_at != from + 1) {
            *problem = "position: unexpected '" + shown(words[from + 1]) + "' after startpos";
            return false;
        }
        next = new_game();
    } else if (from < words.size() && words[from] == "fen") {
        if (!position_from_fen(join_words(words, from + 1, moves_at), &next, problem, &note))
            return false;
    } else {
        *problem = "position: expected startpos or fen";
        if (from < words.size()) *problem += ", not '" + shown(words[from]) + "'";
        return false;
    }
    *problem = note.empty() ? "" : "position: " + note;
    game_moves reached{next, {}, {}};
    if (moves_at < words.size()) {
        const std::span<const std::string> moves(words.begin() + moves_at + 1, words.end());
        std::string why;
        const size_t played =
            play_coordinate_moves(&next, moves, promotion_case::small_only, &why, &reached.moves);
        if (played < moves.size()) {
            if (!problem->empty()) *problem += "; ";
            *problem += "position: move " + std::to_string(played + 1) + " " + why +
                        "; the moves stop before it";
        }
    }
    *game = next;
    if (replayed) {
        reached.now = next;
        *replayed = std::move(reached);
    }
    return true;
}
