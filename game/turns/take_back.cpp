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
