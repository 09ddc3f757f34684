// Positions given to engines and the moves they answer with, checked by the rules.
#include "client/engine_position.h"

#include <gtest/gtest.h>

namespace {

using strings = std::vector<std::string>;

game_state game_at(const std::string &fen, const strings &moves = {}) {
    replayed_position r;
    std::string problem;
    EXPECT_TRUE(replay_position({fen, moves}, &r, &problem)) << problem;
    return r.game;
}

move_reading reading(const game_state &game, const std::string &text, bool any_notation = false) {
    san_move m;
    return read_engine_move(game, text, any_notation, &m);
}

} // namespace

TEST(EnginePosition, ReplaysAndRefusesBadPositions) {
    replayed_position r;
    std::string problem;
    ASSERT_TRUE(replay_position({"", {"e2e4", "e7e5", "g1f3"}}, &r, &problem));
    EXPECT_EQ(r.moves.size(), 3u);
    EXPECT_EQ(format_fen(position_of(r.game, 2)),
              "rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2");
    // A FEN of the usual start is the usual start.
    ASSERT_TRUE(replay_position({"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {}},
                                &r, &problem));
    EXPECT_EQ(r.start_fen, "");

    EXPECT_FALSE(replay_position({"", {"e2e4", "e2e4"}}, &r, &problem));
    EXPECT_NE(problem.find("move 2 'e2e4'"), std::string::npos) << problem;
    EXPECT_FALSE(replay_position({"", {"e2e4", "Nf6"}}, &r, &problem)) << "coordinates only";
    EXPECT_FALSE(replay_position({"8/8/8/8/8/8/8/8 w - - 0 1", {}}, &r, &problem));
    // White to move while Black stands in check: no game reaches it.
    EXPECT_FALSE(replay_position({"4k3/8/8/8/8/8/8/4RK2 w - - 0 1", {}}, &r, &problem));
    // The start is rewritten: what follows a FEN never reaches an engine.
    if (replay_position({"8/8/8/8/8/8/8/K6k w - - 0 1\nquit", {}}, &r, &problem)) {
        EXPECT_EQ(r.start_fen, "8/8/8/8/8/8/8/K6k w - - 0 1");
    }
}

TEST(EnginePosition, TheGameAsAFenComesBack) {
    const game_state game = game_at("", {"d2d4", "g8f6", "c2c4", "e7e6", "b1c3", "f8b4"});
    const engine_position p = position_of_game(game);
    EXPECT_TRUE(p.moves.empty());
    EXPECT_EQ(p.start_fen, "rnbqk2r/pppp1ppp/4pn2/8/1bPP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 2 4");
    // Read back, it is the same position (the FEN has no has-moved flags to compare).
    EXPECT_EQ(position_of_game(game_at(p.start_fen)).start_fen, p.start_fen);
}

TEST(EnginePosition, EngineMovesAreCheckedByTheRules) {
    const game_state start = game_at("");
    EXPECT_EQ(reading(start, "e2e4"), move_reading::legal);
    EXPECT_EQ(reading(start, "e2e5"), move_reading::illegal);
    EXPECT_EQ(reading(start, "e7e5"), move_reading::illegal) << "not the side to move";
    EXPECT_EQ(reading(start, "e2e4 "), move_reading::unreadable);
    EXPECT_EQ(reading(start, "E2E4"), move_reading::unreadable);
    EXPECT_EQ(reading(start, "0000"), move_reading::unreadable);
    EXPECT_EQ(reading(start, "(none)"), move_reading::unreadable);
    EXPECT_EQ(reading(start, "Nf3"), move_reading::unreadable) << "SAN only where allowed";
    EXPECT_EQ(reading(start, "Nf3", true), move_reading::legal);
    EXPECT_EQ(reading(start, "Nf5", true), move_reading::illegal);

    // Castling is the king's two-square move, or O-O where SAN is allowed.
    const game_state castle = game_at("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    EXPECT_EQ(reading(castle, "e1g1"), move_reading::legal);
    EXPECT_EQ(reading(castle, "e1c1"), move_reading::legal);
    EXPECT_EQ(reading(castle, "e1h1"), move_reading::illegal);
    EXPECT_EQ(reading(castle, "O-O"), move_reading::unreadable);
    san_move m;
    ASSERT_EQ(read_engine_move(castle, "O-O-O", true, &m), move_reading::legal);
    EXPECT_EQ(coordinate_text(m), "e1c1");

    // A ascension names its piece, in either case; a plain move names none.
    const game_state ascend = game_at("8/4P1k1/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(reading(ascend, "e7e8"), move_reading::illegal);
    ASSERT_EQ(read_engine_move(ascend, "e7e8N", false, &m), move_reading::legal);
    EXPECT_EQ(m.ascend, type_knight);
    EXPECT_EQ(coordinate_text(m), "e7e8n");
    EXPECT_EQ(reading(ascend, "e1e2q"), move_reading::illegal);
    EXPECT_EQ(reading(ascend, "e7e8k"), move_reading::unreadable);

    // En passant: the pawn beside.
    const game_state passant = game_at("", {"e2e4", "a7a6", "e4e5", "d7d5"});
    EXPECT_EQ(reading(passant, "e5d6"), move_reading::legal);
}

TEST(EnginePosition, VariationsInSanStopAtTheFirstWrongMove) {
    const game_state start = game_at("");
    EXPECT_EQ(variation_in_san(start, {"e2e4", "e7e5", "g1f3", "b8c6", "f1b5"}, false),
              (strings{"e4", "e5", "Nf3", "Nc6", "Bb5"}));
    // Move numbers are passed over; SAN read where allowed; the line stops at a bad word.
    EXPECT_EQ(variation_in_san(start, {"1.", "d4", "1...", "Nf6", "c4", "xx", "e6"}, true),
              (strings{"d4", "Nf6", "c4"}));
    EXPECT_EQ(variation_in_san(start, {"d4", "d5"}, false), strings{});
    EXPECT_EQ(variation_in_san(start, {"e2e4", "e2e4"}, false), (strings{"e4"}));
    // Checks and mates are marked.
    const game_state mate = game_at("6k1/5ppp/8/8/8/8/8/3QK3 w - - 0 1");
    EXPECT_EQ(variation_in_san(mate, {"d1d8"}, false), (strings{"Qd8#"}));
}
