// The text boards (chess symbols, turned for Black) and the side panel's move list. The
// boards are read back as a person reads them, by their file letters and rank digits, and
// must show the position its FEN gives; the panel's numbering must agree with the PGN
// writer's.
#include "game/records/pgn_text.h"
#include "game/running_game.h"
#include "game/view/board_printout.h"
#include "game/view/panel_text.h"
#include "game/view/unicode_board.h"
#include "game/view/view.h"
#include "rules/board_queries.h"
#include "rules/move_generation.h"
#include "rules/move_piece.h"
#include "rules/notation/san.h"
#include "rules/position_rules.h"
#include "tests/support/board_builder.h"
#include "tests/support/run_captured.h"

#include <gtest/gtest.h>

#include "rules/notation/notation.h"

#include <random>
#include <sstream>

namespace {

// The positions along a random legal game from the usual start: every kind of piece of
// both sides, moved pawns, captures, castling and, now and then, an ascension.
std::vector<game_state> random_game(unsigned seed, int plies) {
    std::mt19937 rng(seed);
    game_state game = new_game();
    std::vector<game_state> positions;
    side_move_list list;
    for (int i = 0; i < plies; i++) {
        side_legal_moves(game.board, game.game_status.turn, &list);
        if (list.count == 0) break;
        const san_move m = list.moves[rng() % unsigned(list.count)];
        play_half_move(&game, m.src, m.dst, m.ascend);
        positions.push_back(game);
    }
    return positions;
}

std::string placement(const game_state &game) {
    const std::string fen = format_fen(position_of(game, 1));
    return fen.substr(0, fen.find(' '));
}

// One square as printed: what stands in it, and how it is marked.
struct shown_square {
    char piece = '?';    // FEN letter, or ' ' for an empty square
    std::string marking; // "[]", "." or "" in plain text; the background code in colour
};

// What a person reads off a printed board: squares by the labels around them.
struct read_board {
    shown_square squares[board_size][board_size]; // [row][col]: row 0 is rank 8
    std::string error;
};

constexpr const char *symbols[] = {"♔", "♕", "♖", "♗", "♘", "♙", "♚", "♛", "♜", "♝", "♞", "♟"};
constexpr char symbol_letters[] = "KQRBNPkqrbnp";

std::vector<std::string> lines_of(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The Unicode board: a line of file letters, eight rank lines each with its digit at both
// ends, the letters again. A cell is " x ", "[x]", " . ", or a colour code and " x ".
read_board read_unicode(const std::string &text) {
    read_board out;
    const std::vector<std::string> lines = lines_of(text);
    if (lines.size() != 10 || lines[0] != lines[9]) {
        out.error = "not ten lines between two equal lines of letters";
        return out;
    }
    std::string files;
    for (char c : lines[0])
        if (c != ' ') files += c;
    if (files.size() != board_size) {
        out.error = "file letters: " + lines[0];
        return out;
    }
    for (int i = 1; i <= board_size; i++) {
        std::string line = lines[size_t(i)];
        const char rank = line[0];
        if (rank < '1' || rank > '8' || line.substr(line.size() - 2) != std::string(" ") + rank) {
            out.error = "rank digits: " + line;
            return out;
        }
        line = line.substr(2, line.size() - 4);
        const bool coloured = line.find('\033') != std::string::npos;
        size_t at = 0;
        for (int cell = 0; cell < board_size; cell++) {
            shown_square sq;
            if (coloured) {
                const size_t code = line.find("\033[30;", at);
                const size_t m = line.find('m', code);
                if (code != at || m == std::string::npos) break;
                sq.marking = line.substr(code + 5, m - code - 5);
                at = m + 1;
            }
            // One character between the brackets or blanks: a symbol takes three bytes.
            const char open = line[at];
            const size_t length = static_cast<unsigned char>(line[at + 1]) >= 0xE0 ? 3 : 1;
            const std::string inside = line.substr(at + 1, length);
            const char close = line[at + 1 + length];
            if ((open == '[') != (close == ']')) break;
            if (!coloured) sq.marking = open == '[' ? "[]" : inside == "." ? "." : "";
            sq.piece = inside == " " || inside == "." ? ' ' : '?';
            for (int s = 0; s < 12; s++)
                if (inside == symbols[s]) sq.piece = symbol_letters[s];
            at += length + 2;
            const int row = '8' - rank, col = files[size_t(cell)] - 'a';
            if (!on_board(row, col)) break;
            out.squares[row][col] = sq;
        }
        if (coloured && line.compare(at, std::string::npos, "\033[0m") != 0) {
            out.error = "colours not reset at the line's end: " + lines[size_t(i)];
            return out;
        }
    }
    return out;
}

// The framed board: "  x  " file letters, then "R " and five characters a square.
read_board read_framed(const std::string &text) {
    read_board out;
    const std::vector<std::string> lines = lines_of(text);
    if (lines.size() < 9) {
        out.error = "fewer than nine lines";
        return out;
    }
    for (int i = 1; i <= board_size; i++) {
        const std::string &line = lines[size_t(i)];
        for (int cell = 0; cell < board_size; cell++) {
            const std::string frame = line.substr(2 + size_t(cell) * 5, 5);
            shown_square sq;
            char letter = frame[2];
            if (letter == 'H') letter = 'N';
            if (letter == 'h') letter = 'n';
            sq.piece = letter;
            sq.marking = frame.substr(0, 2) + frame.substr(3, 2);
            const int row = '8' - line[0], col = lines[0][2 + size_t(cell) * 5] - 'a';
            if (!on_board(row, col)) {
                out.error = "labels: " + line;
                return out;
            }
            out.squares[row][col] = sq;
        }
    }
    return out;
}

std::string placement_of(const read_board &b) {
    std::string fen;
    for (int row = 0; row < board_size; row++) {
        int empty = 0;
        for (int col = 0; col < board_size; col++) {
            const char piece = b.squares[row][col].piece;
            if (piece == ' ') {
                empty++;
                continue;
            }
            if (empty) fen += char('0' + empty);
            empty = 0;
            fen += piece;
        }
        if (empty) fen += char('0' + empty);
        if (row + 1 < board_size) fen += '/';
    }
    return fen;
}

// A piece of the side to move with somewhere to go, and its destinations.
struct selection {
    coord square = no_square;
    destination_list moves{};
};

selection some_selection(const game_state &game, unsigned pick) {
    selection sel;
    coord king = find_king(&game.board, game.game_status.turn);
    std::vector<coord> movable;
    for (uint8_t row = 0; row < board_size; row++)
        for (uint8_t col = 0; col < board_size; col++) {
            const uint8_t tile = game.board.tiles[row][col];
            destination_list list;
            if (tile != 0 && is_black(tile) == (game.game_status.turn != 0) &&
                legal_moves(&game.board, {row, col}, &list, &king) != 0)
                movable.push_back({row, col});
        }
    if (movable.empty()) return sel;
    sel.square = movable[pick % movable.size()];
    legal_moves(&game.board, sel.square, &sel.moves, &king);
    return sel;
}

bool is_marked(const selection &sel, int row, int col) {
    return (sel.square == coord{uint8_t(row), uint8_t(col)}) ||
           move_in_list(sel.moves.squares, sel.moves.count, uint8_t(row), uint8_t(col));
}

} // namespace

TEST(UnicodeBoard, ReadsBackAsThePositionEitherWayUpWithOrWithoutColours) {
    int boards = 0;
    for (unsigned seed = 1; seed <= 6; seed++)
        for (const game_state &game : random_game(seed, 120)) {
            const selection sel = some_selection(game, seed + game.turn_count);
            for (bool flipped : {false, true})
                for (bool colours : {false, true}) {
                    const std::string text =
                        unicode_board_text(game.board, sel.moves.squares, sel.moves.count,
                                           sel.square.row, sel.square.col, flipped, colours);
                    const read_board b = read_unicode(text);
                    ASSERT_EQ(b.error, "") << text;
                    ASSERT_EQ(placement_of(b), placement(game)) << text;
                    // Rank 8 at the top, or rank 1 when turned.
                    ASSERT_EQ(text.substr(0, 4), flipped ? "   h" : "   a");
                    ASSERT_EQ(text.find('\033') != std::string::npos, colours);
                    for (int row = 0; row < board_size; row++)
                        for (int col = 0; col < board_size; col++) {
                            const bool dark = (row + col) % 2 == 1;
                            const bool marked = is_marked(sel, row, col);
                            const bool chosen = sel.square == coord{uint8_t(row), uint8_t(col)};
                            const std::string &m = b.squares[row][col].marking;
                            if (colours)
                                ASSERT_EQ(m, chosen   ? "104"
                                             : marked ? "42"
                                             : dark   ? "43"
                                                      : "107")
                                    << text;
                            else
                                ASSERT_EQ(m, marked                                    ? "[]"
                                             : dark && game.board.tiles[row][col] == 0 ? "."
                                                                                       : "")
                                    << text;
                        }
                    boards++;
                }
        }
    EXPECT_GT(boards, 2000);
}

TEST(UnicodeBoard, ASelectionOffTheBoardOrAnEmptyListMarksNothing) {
    const game_state game = new_game();
    const coord list[] = {{5, 4}};
    for (bool colours : {false, true}) {
        const std::string marked = unicode_board_text(game.board, list, 1, 200, 3, false, colours);
        const std::string unmarked =
            unicode_board_text(game.board, list, 0, unsigned(-1), unsigned(-1), false, colours);
        EXPECT_NE(marked, unmarked); // e3 in the list
        EXPECT_EQ(unicode_board_text(game.board, nullptr, 0, 3, 200, false, colours), unmarked);
        EXPECT_EQ(unmarked.find(colours ? "104m" : "["), std::string::npos);
    }
}

TEST(FramedBoard, TurnedForBlackItStillReadsBackWithItsFrames) {
    for (const game_state &game : random_game(7, 80)) {
        const selection sel = some_selection(game, game.turn_count);
        const captured_run run = run_captured([&] {
            running_game game_run;
            game_run.view.flipped = true;
            draw_board(&game_run, game.board, sel.moves.squares, sel.moves.count, sel.square.row,
                       sel.square.col);
        });
        const read_board b = read_framed(run.output);
        ASSERT_EQ(b.error, "") << run.output;
        ASSERT_EQ(placement_of(b), placement(game)) << run.output;
        ASSERT_EQ(run.output.substr(0, 3), "  h");
        ASSERT_EQ(run.output.substr(run.output.find('\n') + 1, 1), "1");
        for (int row = 0; row < board_size; row++)
            for (int col = 0; col < board_size; col++)
                ASSERT_EQ(b.squares[row][col].marking, is_marked(sel, row, col) ? "[[]]"
                                                       : (row + col) % 2        ? "[  ]"
                                                                                : "]  [")
                    << run.output;
    }
}

namespace {

// The panel's move lines as the PGN writer numbers the same moves: "12. " before White's
// move, and Black's reply on the same line when the line stays within the panel's width;
// "12..." before a Black move that opens the movetext or does not fit beside White's.
std::vector<std::string> pgn_numbered(const std::string &fen, const std::vector<std::string> &san) {
    pgn_game pgn;
    pgn.tags = {{"SetUp", "1"}, {"FEN", fen}};
    pgn.moves = san;
    const std::string text = format_pgn(pgn);
    std::istringstream movetext(text.substr(text.find("\n\n") + 2));
    std::vector<std::string> lines;
    std::string number;
    bool white = true;
    for (std::string token; movetext >> token;) {
        if (token == "*") break;
        const size_t dot = token.find('.');
        if (dot != std::string::npos) {
            number = token.substr(0, dot);
            white = token.size() - dot == 1;
            continue;
        }
        const bool joins = !white && !lines.empty() && lines.back().rfind(number + ". ", 0) == 0;
        if (joins && lines.back().size() + 1 + token.size() <= panel_line_chars)
            lines.back() += " " + token;
        else
            lines.push_back(number + (white ? ". " : "...") + token);
        white = !white;
    }
    return lines;
}

std::vector<std::string> panel_lines(const view_state &view) {
    side_panel panel;
    view_panel(view, &panel);
    std::vector<std::string> lines;
    for (unsigned i = 0; i < panel.move_count; i++) lines.push_back(panel.moves[i]);
    return lines;
}

struct panel_game {
    game_state live;
    game_record record;
    game_options options;
    view_state view;
    screen window;
};

// Random moves played as the turn loop plays them, each told to the panel; `live` stands at
// the half-move being played (the loop has counted it).
void play_random(panel_game *g, unsigned seed, int plies, std::vector<std::string> *san) {
    std::mt19937 rng(seed);
    side_move_list list;
    for (int i = 0; i < plies; i++) {
        game_state &live = g->live;
        side_legal_moves(live.board, live.game_status.turn, &list);
        if (list.count == 0) return;
        const san_move m = list.moves[rng() % unsigned(list.count)];
        const game_state before = live;
        san->push_back(format_san(live.board, live.game_status.turn, m.src, m.dst, m.ascend));
        play_half_move(&live, m.src, m.dst, m.ascend);
        view_move_played(&g->view, before, m);
        g->record.moves.push_back({m, san->back(), {}});
    }
}

// The game as the panel shows it, the window open and PANEL given.
void start_panel(panel_game *g) {
    g->options.panel = true;
    view_start(&g->view, &g->window, g->options, &g->live, g->record);
}

} // namespace

TEST(SidePanel, NumbersMovesAsTheScoreSheetFromAnyStartAndKeepsTheLastOnes) {
    for (const char *fen : {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
                            "r3k2r/pppq1ppp/2np1n2/4p3/2B1P3/2NP1N2/PPPQ1PPP/R3K2R b KQkq - 3 9",
                            "4k3/P7/8/8/8/8/7p/4K3 w - - 0 99"}) {
        const fen_position start = position_from_fen(fen);
        panel_game g{game_from_position(start, half_move_number(start.fullmoves, start.turn)),
                     {},
                     {},
                     {},
                     {}};
        g.record.first_fullmove = start.fullmoves;
        g.record.first_turn = start.turn;
        start_panel(&g);
        EXPECT_EQ(panel_lines(g.view).size(), 0u);
        std::vector<std::string> san;
        play_random(&g, 11, 30, &san);
        std::vector<std::string> expected = pgn_numbered(fen, san);
        ASSERT_GE(expected.size(), panel_move_lines) << fen;
        expected.erase(expected.begin(), expected.end() - panel_move_lines);
        EXPECT_EQ(panel_lines(g.view), expected) << fen;

        side_panel panel;
        view_panel(g.view, &panel);
        EXPECT_STREQ(panel.heading, g.live.game_status.turn ? "Black to move" : "White to move");
        const last_move_squares last = view_last_move(g.view);
        EXPECT_EQ(last.from, g.record.moves.back().move.src);
        EXPECT_EQ(last.to, g.record.moves.back().move.dst);

        // A resumed game starts with the same lines.
        panel_game resumed{g.live, g.record, {}, {}, {}};
        start_panel(&resumed);
        EXPECT_EQ(panel_lines(resumed.view), expected) << fen;
    }
}

TEST(SidePanel, TakenBackMovesLeaveTheListAndTheMarks) {
    panel_game g{new_game(), {}, {}, {}, {}};
    start_panel(&g);
    std::vector<std::string> san;
    play_random(&g, 5, 6, &san);
    const game_state after_six = g.live; // White to move in half-move 7
    play_random(&g, 6, 4, &san);
    const std::string usual = format_fen(position_of(new_game(), 1));
    ASSERT_EQ(panel_lines(g.view), pgn_numbered(usual, san));

    // Back to half-move 7, as a take-back restores the game: the later moves are gone.
    g.live = after_six;
    std::vector<std::string> six(san.begin(), san.begin() + 6);
    EXPECT_EQ(panel_lines(g.view), pgn_numbered(usual, six));
    EXPECT_EQ(view_last_move(g.view).to, g.record.moves[5].move.dst);

    // Another move in their place replaces them.
    std::vector<std::string> replay = six;
    play_random(&g, 99, 1, &replay);
    const std::vector<std::string> lines = panel_lines(g.view);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines.back(), "4. " + replay.back());
    EXPECT_EQ(score_sheet_line(24, "Nc6"), "12...Nc6");
}

TEST(SidePanel, ARowTooWideForThePanelPutsBlacksMoveOnALineOfItsOwn) {
    const auto rows = [](std::vector<panel_move> moves) {
        std::vector<std::string> texts;
        for (const score_sheet_row &r : score_sheet_rows(moves, 1000)) texts.push_back(r.text);
        return texts;
    };
    // 13 characters fit; 14 do not. The latest move starts at 8 in the shared line.
    EXPECT_EQ(rows({{1, "Nbd2", {}, {}}, {2, "Qxe4+", {}, {}}}),
              std::vector<std::string>{"1. Nbd2 Qxe4+"});
    EXPECT_EQ(score_sheet_rows({{1, "Nbd2", {}, {}}, {2, "Qxe4+", {}, {}}}, 1000)[0].last_move_from,
              8u);
    EXPECT_EQ(rows({{23, "Nbd2", {}, {}}, {24, "Qxe4+", {}, {}}, {25, "O-O-O#", {}, {}}}),
              (std::vector<std::string>{"12. Nbd2", "12...Qxe4+", "13. O-O-O#"}));
    EXPECT_EQ(rows({{199, "exd8=Q+", {}, {}}, {200, "Kxd8", {}, {}}}),
              (std::vector<std::string>{"100. exd8=Q+", "100...Kxd8"}));
    // The panel's lines hold whole rows: the latest in its colour from where its move starts.
    side_panel panel;
    const std::vector<panel_move> moves = {{1, "e4", {}, {}}, {2, "c5", {}, {}}};
    fill_panel_moves(moves, 3, 0, &panel);
    ASSERT_EQ(panel.move_count, 1);
    EXPECT_STREQ(panel.moves[0], "1. e4 c5");
    EXPECT_EQ(panel.latest_from, 6);
    fill_panel_moves(moves, 2, 1, &panel); // c5 taken back
    EXPECT_STREQ(panel.moves[0], "1. e4");
    EXPECT_EQ(panel.latest_from, 0);
}
