#include "pgn_tags.h"
#include "game/records/pgn_text.h"

#include <string_view>

namespace {

std::string tag_or_empty(const pgn_game &game, std::string_view name) {
    const std::string *value = pgn_tag_value(game, name);
    return value ? *value : std::string();
}

} // namespace

bool read_game_tags(const std::string &pgn, std::vector<game_tags> *games, std::string *error) {
    constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";
    std::size_t pos = pgn.starts_with(byte_order_mark) ? byte_order_mark.size() : 0;
    int line = 1;
    for (;;) {
        pgn_game game;
        switch (parse_next_pgn(pgn, false, &pos, &line, &game, error)) {
        case pgn_piece::game:
            games->push_back({tag_or_empty(game, "White"), tag_or_empty(game, "Black"),
                              tag_or_empty(game, "Result")});
            break;
        case pgn_piece::none:
            return true;
        default: // the whole text is given, so nothing more can follow
            return false;
        }
    }
}
