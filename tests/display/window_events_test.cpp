#include "display/board_view.h"
#include "display/dbuff.h"
#include "display/sdlfuncs.h"
#include "display/window_wait.h"
#include "display_test_support.h"

#include <cstdlib>
#include <gtest/gtest.h>

// These tests open the window on SDL's dummy video driver and feed it pushed events.
namespace {

class WindowEvents : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_EQ(init_screen_sdl(test_screen(), "Vartok"), 0);
    }
    void SetUp() override {
        reset_display_state();
        SDL_PumpEvents(); // the window's own start-up events are not part of the tests
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }
};

// SDL ends a poll cycle with a marker event; events pushed after it would first meet the
// marker. Dropping it models keys that arrived before the game polls.
void push_event(SDL_Event &e) {
    SDL_PushEvent(&e);
    SDL_FlushEvent(SDL_POLLSENTINEL);
}

void push_key(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = scancode;
    e.key.keysym.sym = sym;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    push_event(e);
}

void press(SDL_Scancode scancode) {
    push_key(SDL_KEYDOWN, scancode, SDL_GetKeyFromScancode(scancode));
}

void push_text(const char *text) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, text, sizeof e.text.text);
    push_event(e);
}

void push_quit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    push_event(e);
}

TEST_F(WindowEvents, WindowHasTheGameSizeAndTitle) {
    ASSERT_NE(test_screen()->window, nullptr);
    int w, h;
    SDL_GetWindowSize(test_screen()->window, &w, &h);
    EXPECT_EQ(w, window_width);
    EXPECT_EQ(h, window_height);
    EXPECT_STREQ(SDL_GetWindowTitle(test_screen()->window), "Vartok");
}

TEST_F(WindowEvents, KeypressReportsScancodesOfPressedKeysOnly) {
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_UNKNOWN);
    press(SDL_SCANCODE_RIGHT);
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_RIGHT);
    push_key(SDL_KEYUP, SDL_SCANCODE_RIGHT, SDLK_RIGHT);
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_UNKNOWN);
    press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_RETURN);
}

TEST_F(WindowEvents, KeycodeGivesTypedTextAndTheThreeControlKeys) {
    EXPECT_EQ(poll_keycode(test_screen()), 0);
    press(SDL_SCANCODE_Q);
    push_text("q");
    EXPECT_EQ(poll_keycode(test_screen()), 0); // the key-down of a letter says nothing
    EXPECT_EQ(poll_keycode(test_screen()), 'q');
    press(SDL_SCANCODE_RETURN);
    press(SDL_SCANCODE_BACKSPACE);
    press(SDL_SCANCODE_ESCAPE);
    press(SDL_SCANCODE_DOWN);
    EXPECT_EQ(poll_keycode(test_screen()), 13);
    EXPECT_EQ(poll_keycode(test_screen()), 8);
    EXPECT_EQ(poll_keycode(test_screen()), 27);
    EXPECT_EQ(poll_keycode(test_screen()), 0);
    push_text("\xc3\xa9"); // é: its first UTF-8 byte, negative
    EXPECT_EQ(poll_keycode(test_screen()), int32_t(int8_t(0xc3)));
}

// A close is remembered for the rest of the run: each check runs in a process of its own.
TEST_F(WindowEvents, ClosingTheWindowIsToldToTheGame) {
    EXPECT_FALSE(window_closed(test_screen()));
    EXPECT_EXIT(
        {
            push_quit();
            const bool told =
                poll_keycode(test_screen()) == key_window_closed && window_closed(test_screen());
            std::exit(told ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            push_quit();
            const bool told = poll_keypress(test_screen()) == SDL_SCANCODE_UNKNOWN &&
                              window_closed(test_screen());
            std::exit(told ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(WindowEvents, PresentedFrameHasTheGameColours) {
    fill_screen(test_screen(), 1);
    put_pixel(test_screen(), 5, 0, 9);
    update_screen(test_screen());
    auto *words = static_cast<uint32_t *>(test_screen()->surface->pixels);
    EXPECT_EQ(words[0], 0x0000A000u);
    EXPECT_EQ(words[5], 0x5F5FFF00u);
    EXPECT_EQ(words[63999], 0x0000A000u);
}

TEST_F(WindowEvents, WaitingReturnsForAPendingEventWithoutTakingIt) {
    press(SDL_SCANCODE_DOWN);
    wait_for_window_event(test_screen());
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_DOWN);
}

// Long work keeps the window alive at its own pace: long enough for several pumps.
void pump_during_long_work() {
    const Uint32 start = SDL_GetTicks();
    while (SDL_GetTicks() - start < 300) {
        pump_window_events(test_screen());
        SDL_Delay(5);
    }
}

TEST_F(WindowEvents, PumpingDuringLongWorkKeepsKeysQueued) {
    press(SDL_SCANCODE_UP);
    press(SDL_SCANCODE_RETURN);
    pump_during_long_work();
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_UP);
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_RETURN);
}

TEST_F(WindowEvents, ClosingTheWindowDuringLongWorkIsSeenAtOnce) {
    EXPECT_EXIT(
        {
            press(SDL_SCANCODE_UP);
            push_quit();
            SDL_Delay(60); // past the pump's interval: the next pump looks at the queue
            const bool seen = !pump_window_events(test_screen()) && window_closed(test_screen()) &&
                              !pump_window_events(test_screen());
            std::exit(seen ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(WindowEvents, AnUncoveredWindowIsRepaintedDuringLongWork) {
    fill_screen(test_screen(), 1);
    update_screen(test_screen());
    fill_screen(test_screen(), 4); // what the frame buffer holds now is shown only on a repaint
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_EXPOSED;
    e.window.windowID = SDL_GetWindowID(test_screen()->window);
    push_event(e);
    pump_during_long_work();
    EXPECT_EQ(static_cast<uint32_t *>(test_screen()->surface->pixels)[0], 0xA0000000u);
}

// The clock's wait: it ends at its timeout when nothing comes, at once when an event is
// queued, and leaves the event for the game.
TEST_F(WindowEvents, AWaitWithATimeoutEndsAtTheTimeoutOrAtAnEvent) {
    Uint64 start = SDL_GetTicks64();
    EXPECT_FALSE(wait_for_event_within(test_screen()->window, 30));
    const Uint64 waited = SDL_GetTicks64() - start;
    EXPECT_GE(waited, 30u);
    EXPECT_LT(waited, 1030u);
    EXPECT_FALSE(wait_for_event_within(test_screen()->window, 0));
    press(SDL_SCANCODE_UP);
    start = SDL_GetTicks64();
    EXPECT_TRUE(wait_for_event_within(test_screen()->window, 10000));
    EXPECT_TRUE(wait_for_event_within(test_screen()->window, -1));
    EXPECT_LT(SDL_GetTicks64() - start, 1000u);
    EXPECT_EQ(poll_keypress(test_screen()), SDL_SCANCODE_UP);
}

// The board drawn with the cursor after each step, as the game redraws it.
void draw_with_cursor(void *, unsigned row, unsigned col) {
    draw_board_view(test_screen(), nullptr, 0, row, col);
    present_board_view(test_screen());
}

TEST_F(WindowEvents, TileCursorMovesWithinTheBoardAndConfirmsWithReturn) {
    tile_cursor cursor;
    const tile_redraw redraw{nullptr, draw_with_cursor};
    uint8_t row = 99, col = 99;
    press(SDL_SCANCODE_RETURN);
    select_tile(test_screen(), &cursor, redraw, &row, &col); // starts on h1
    EXPECT_EQ(row, 7);
    EXPECT_EQ(col, 7);

    // e2: one up and three left; a key that means nothing and a right arrow against the
    // edge change nothing.
    for (SDL_Scancode k : {SDL_SCANCODE_UP, SDL_SCANCODE_LEFT, SDL_SCANCODE_X, SDL_SCANCODE_LEFT,
                           SDL_SCANCODE_LEFT, SDL_SCANCODE_RETURN})
        press(k);
    select_tile(test_screen(), &cursor, redraw, &row, &col);
    EXPECT_EQ(row, 6);
    EXPECT_EQ(col, 4);
    EXPECT_EQ(count_colour(106, 146, 20, 20, colour_cursor), 400u); // cursor drawn on e2

    // The next choice starts on the square just confirmed; the board's edges hold.
    for (int i = 0; i < 9; i++) press(SDL_SCANCODE_UP);
    for (int i = 0; i < 9; i++) press(SDL_SCANCODE_RIGHT);
    press(SDL_SCANCODE_RETURN);
    select_tile(test_screen(), &cursor, redraw, &row, &col);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 7);
    EXPECT_EQ(cursor.old_row, 0);
    EXPECT_EQ(cursor.old_col, 7);

    // The bottom and left edges hold as well.
    for (int i = 0; i < 9; i++) press(SDL_SCANCODE_DOWN);
    for (int i = 0; i < 9; i++) press(SDL_SCANCODE_LEFT);
    press(SDL_SCANCODE_RETURN);
    select_tile(test_screen(), &cursor, redraw, &row, &col);
    EXPECT_EQ(row, 7);
    EXPECT_EQ(col, 0);
    EXPECT_EQ(count_colour(10, 170, 20, 20, colour_cursor), 400u); // cursor drawn on a1
}

TEST_F(WindowEvents, OnATurnedBoardTheArrowsFollowThePicture) {
    // Black at the bottom: h1 is the top-left square of the picture, a8 the bottom-right.
    test_screen()->flipped = true;
    tile_cursor cursor; // on h1
    const tile_redraw redraw{nullptr, draw_with_cursor};
    uint8_t row = 99, col = 99;
    // Down and right on the picture: from h1 to g2, drawn in the picture's second row and
    // column.
    for (SDL_Scancode k : {SDL_SCANCODE_DOWN, SDL_SCANCODE_RIGHT, SDL_SCANCODE_RETURN}) press(k);
    select_tile(test_screen(), &cursor, redraw, &row, &col);
    EXPECT_EQ(row, 6);
    EXPECT_EQ(col, 6);
    EXPECT_EQ(count_colour(34, 26, 20, 20, colour_cursor), 400u);

    // Up and left hold at the picture's top-left corner, h1.
    for (int i = 0; i < 3; i++) press(SDL_SCANCODE_UP);
    for (int i = 0; i < 3; i++) press(SDL_SCANCODE_LEFT);
    press(SDL_SCANCODE_RETURN);
    select_tile(test_screen(), &cursor, redraw, &row, &col);
    EXPECT_EQ(row, 7);
    EXPECT_EQ(col, 7);
    EXPECT_EQ(count_colour(10, 2, 20, 20, colour_cursor), 400u);

    // Down and right hold at the bottom-right corner, a8.
    for (int i = 0; i < 9; i++) press(SDL_SCANCODE_DOWN);
    for (int i = 0; i < 9; i++) press(SDL_SCANCODE_RIGHT);
    press(SDL_SCANCODE_RETURN);
    select_tile(test_screen(), &cursor, redraw, &row, &col);
    EXPECT_EQ(row, 0);
    EXPECT_EQ(col, 0);
    EXPECT_EQ(count_colour(178, 170, 20, 20, colour_cursor), 400u);
    test_screen()->flipped = false;
}

namespace {

// A press of a mouse button at (x, y) of the 640x400 window.
void click_at(int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = button;
    e.button.state = SDL_PRESSED;
    e.button.x = x;
    e.button.y = y;
    push_event(e);
}

// The middle of the square at picture row `row`, column `col`, in window pixels.
void click_picture_square(int row, int col) {
    click_at((8 + col * 24 + 12) * 2, (row * 24 + 12) * 2);
}

int redraws = 0;
void count_redraw(void *, unsigned row, unsigned col) {
    redraws++;
    draw_with_cursor(nullptr, row, col);
}

} // namespace

TEST_F(WindowEvents, AClickTakesASquareAsTheCursorAndReturnWouldWhereTheWordsAskForIt) {
    tile_cursor cursor;
    const tile_redraw redraw{nullptr, count_redraw};
    tile_extras extras;
    extras.clicks = true;
    uint8_t row = 99, col = 99;
    SDL_Scancode key;
    // Off the board (the labels, the panel) and with the right button: nothing; then e2.
    click_at(4, 100);
    click_at(450, 100);
    click_picture_square(6, 4);
    redraws = 0;
    click_picture_square(6, 4);
    click_at((8 + 4 * 24 + 12) * 2, (6 * 24 + 12) * 2, SDL_BUTTON_RIGHT);
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, extras, &row, &col, &key),
              tile_choice::chosen);
    EXPECT_EQ(row, 6);
    EXPECT_EQ(col, 4);
    EXPECT_EQ(redraws, 1); // the cursor moved there once
    EXPECT_EQ(count_colour(106, 146, 20, 20, colour_cursor), 400u);
    // A click on the cursor's own square takes it without a redraw; the cursor remembers it.
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, extras, &row, &col, &key),
              tile_choice::chosen);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(cursor.old_row, 6);
    EXPECT_EQ(cursor.old_col, 4);

    // On a turned board the picture's top-left square is h1; a click's last pixel row of a8.
    test_screen()->flipped = true;
    click_picture_square(0, 0);
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, extras, &row, &col, &key),
              tile_choice::chosen);
    EXPECT_EQ((coord{row, col}), (coord{7, 7}));
    click_at((8 + 7 * 24 + 23) * 2 + 1, (7 * 24 + 23) * 2 + 1);
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, extras, &row, &col, &key),
              tile_choice::chosen);
    EXPECT_EQ((coord{row, col}), (coord{0, 0}));
    test_screen()->flipped = false;

    // Without the words a click does nothing, and select_tile never takes one.
    click_picture_square(0, 0);
    press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, {}, &row, &col, &key),
              tile_choice::chosen);
    EXPECT_EQ((coord{row, col}), (coord{0, 0}));
    click_picture_square(7, 7);
    press(SDL_SCANCODE_RETURN);
    EXPECT_EQ(select_tile(test_screen(), &cursor, redraw, &row, &col), tile_choice::chosen);
    EXPECT_EQ((coord{row, col}), (coord{0, 0}));
}

TEST_F(WindowEvents, EscapeAndTheCallersKeysAreHandedBackOnlyWhereAsked) {
    tile_cursor cursor;
    const tile_redraw redraw{nullptr, count_redraw};
    uint8_t row = 99, col = 99;
    SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
    constexpr SDL_Scancode keys[] = {SDL_SCANCODE_U, SDL_SCANCODE_H};
    tile_extras extras;
    extras.escape = true;
    extras.keys = keys;
    extras.key_count = 2;
    press(SDL_SCANCODE_UP);
    press(SDL_SCANCODE_ESCAPE);
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, extras, &row, &col, &key),
              tile_choice::given_up);
    EXPECT_EQ(cursor.old_row, 7); // nothing taken
    press(SDL_SCANCODE_H);
    EXPECT_EQ(choose_tile(test_screen(), &cursor, redraw, extras, &row, &col, &key),
              tile_choice::key);
    EXPECT_EQ(key, SDL_SCANCODE_H);

    // Without them Escape and H are keys that move nothing: each redraws, as always.
    redraws = 0;
    for (SDL_Scancode k :
         {SDL_SCANCODE_ESCAPE, SDL_SCANCODE_H, SDL_SCANCODE_U, SDL_SCANCODE_RETURN})
        press(k);
    EXPECT_EQ(select_tile(test_screen(), &cursor, redraw, &row, &col), tile_choice::chosen);
    EXPECT_EQ(redraws, 3);
    EXPECT_EQ(row, 7);
    EXPECT_EQ(col, 7);
}

TEST(SquareAtPixel, TheBoardsSquaresAndNothingElse) {
    coord sq;
    EXPECT_FALSE(square_at_pixel(7, 0, false, &sq));   // the rank digits
    EXPECT_FALSE(square_at_pixel(8, 192, false, &sq)); // the file letters
    EXPECT_FALSE(square_at_pixel(200, 0, false, &sq)); // the panel
    ASSERT_TRUE(square_at_pixel(8, 0, false, &sq));
    EXPECT_EQ(sq, (coord{0, 0}));
    ASSERT_TRUE(square_at_pixel(199, 191, false, &sq));
    EXPECT_EQ(sq, (coord{7, 7}));
    ASSERT_TRUE(square_at_pixel(31, 24, true, &sq)); // picture (1, 0) of a turned board: h7
    EXPECT_EQ(sq, (coord{6, 7}));
}

// Opens the window where no video device exists; exits 3 when that fails cleanly.
[[noreturn]] void open_without_video() {
    // Close a window left open by the tests before.
    if (test_screen()->surface) SDL_FreeSurface(test_screen()->surface);
    if (test_screen()->renderer) SDL_DestroyRenderer(test_screen()->renderer);
    if (test_screen()->window) SDL_DestroyWindow(test_screen()->window);
    SDL_Quit();
    test_screen()->window = nullptr;
    test_screen()->renderer = nullptr;
    test_screen()->surface = nullptr;
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    int result = init_screen_sdl(test_screen(), "Vartok");
    pump_window_events(test_screen()); // all harmless without a window
    wait_for_window_event(test_screen());
    update_screen(test_screen());
    std::exit(result == 1 && test_screen()->window == nullptr && test_screen()->renderer == nullptr
                  ? 3
                  : 4);
}

TEST(WindowFailure, NoVideoDeviceReportsAndLeavesNoWindow) {
    // In a child process: the main test process keeps its dummy window.
    EXPECT_EXIT(open_without_video(), ::testing::ExitedWithCode(3), "");
}

} // namespace
