#include "game/turns/take_back.h"

bool take_back(turn_history *turns, game_state *live, game_record *record) {
    for (size_t i = turns->size() - 1; i-- > 0;) {
        const game_status &status = (*turns)[i].game.game_status;
        if (status.turn ? status.black_ai : status.white_ai) continue;
        *live = (*turns)[i].game;
        record_truncate(record, (*turns)[i].record_size);
        turns->resize(i);
        return true;
    }
    return false;
}

game_moves moves_of_game(const turn_history &turns, const game_record &record,
                         const game_state &now) {
    game_moves game{now, {}, now};
    if (turns.empty()) return game;
    game.start = turns.front().game;
    for (size_t i = turns.front().record_size; i < record.moves.size(); i++)
        game.moves.push_back(record.moves[i].move);
    return game;
}
