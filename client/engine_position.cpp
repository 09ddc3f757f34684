#include "client/engine_position.h"
#include "rules/move_piece.h"
#include "rules/notation/notation.h"
#include "rules/notation/position_replay.h"
#include "rules/position_rules.h"

#include <algorithm>

namespace {

constexpr std::string_view usual_start = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";

bool is_move_number(std::string_view word) {
    const size_t digits = word.find_first_not_of("0123456789");
    return digits > 0 && digits != std::string_view::npos &&
           word.find_first_not_of('.', digits) == std::string_view::npos;
}

} // namespace

engine_position position_of_game(const game_state &game) {
    const uint32_t fullmoves = std::max<uint32_t>(1, (game.turn_count + 1) / 2);
    return {format_fen(position_of(game, fullmoves)), {}};
}

bool replay_position(const engine_position &position, replayed_position *out,
                     std::string *problem) {
    replayed_position r;
    if (position.start_fen.empty()) {
        r.game = new_game();
        r.game.turn_count = 1; // as the game counts its first half-move
    } else {
        fen_position start;
        std::string error;
        if (!read_start_fen(position.start_fen, &start, &error)) {
            *problem = "not a usable position: " + error;
            return false;
        }
        r.start_fen = format_fen(start);
        if (r.start_fen == usual_start) r.start_fen.clear();
        r.game = game_from_start(start);
    }
    r.start = r.game;
    std::string why; // the client names only the move
    const size_t played =
        play_coordinate_moves(&r.game, position.moves, promotion_case::either, &why, &r.moves);
    if (played < position.moves.size()) {
        *problem = "move " + std::to_string(played + 1) + " '" + position.moves[played] +
                   "' is not a legal move in coordinates";
        return false;
    }
    *out = std::move(r);
    return true;
}

move_reading read_engine_move(const game_state &game, std::string_view text, bool any_notation,
                              san_move *out) {
    san_move m;
    if (read_coordinates(text, promotion_case::either, &m)) {
        if (!legal_in(game, m, nullptr)) return move_reading::illegal;
        *out = m;
        return move_reading::legal;
    }
    if (!any_notation) return move_reading::unreadable;
    std::string error;
    if (parse_san(game.board, game.game_status.turn, text, &m, &error)) {
        *out = m;
        return move_reading::legal;
    }
    return error == "not a move" ? move_reading::unreadable : move_reading::illegal;
}

void play_legal_move(game_state *game, const san_move &m) {
    play_half_move(game, m.src, m.dst, m.ascend);
}

std::vector<std::string> variation_in_san(game_state game, const std::vector<std::string> &words,
                                          bool any_notation) {
    std::vector<std::string> san;
    for (const std::string &word : words) {
        if (is_move_number(word)) continue;
        san_move m;
        if (read_engine_move(game, word, any_notation, &m) != move_reading::legal) break;
        san.push_back(format_san(game.board, game.game_status.turn, m.src, m.dst, m.ascend));
        play_legal_move(&game, m);
    }
    return san;
}
