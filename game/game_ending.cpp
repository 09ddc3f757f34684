#include "game/game_ending.h"
#include "game/running_game.h"
#include "game/view/messages.h"
#include "game/view/view.h"

#include <cstdio>

namespace {

constexpr int interrupted_status = 1;

} // namespace

game_ending finished_game(const game_outcome &outcome, const std::string &message,
                          bool acknowledge) {
    game_ending ending;
    ending.finished = true;
    ending.outcome = outcome;
    ending.message = message;
    ending.acknowledge = acknowledge;
    return ending;
}

game_ending interrupted_game(interruption cause) {
    game_ending ending;
    ending.cause = cause;
    // Closing the window is how a person leaves a graphical game: not a failure.
    ending.status = cause == interruption::window_closed ? 0 : interrupted_status;
    return ending;
}

int close_game(running_game *run, const game_ending &ending, game_record *record) {
    if (ending.finished && record) record_end(record, ending.outcome);
    if (ending.finished) view_game_over(&run->view, ending.outcome.result);
    if (ending.message.empty()) return ending.status;
    if (!ending.acknowledge) {
        std::puts(ending.message.c_str());
        if (!run->graphics || !ending.box_in_window) return ending.status;
        set_input_deadline(&run->input,
                           no_deadline); // the clock that fell no longer bounds the wait
    }
    const interruption cut = show_dialog_nokey(run, ending.message.c_str());
    return cut == interruption::none ? ending.status : interrupted_game(cut).status;
}
