// Prints lines a careless or hostile GUI might send to the engine: real commands with
// random or broken arguments, unknown words, empty and long lines, binary bytes. The
// searches they ask for stay short (depths up to 3, no infinite search). The number of go
// commands goes to standard error. Usage: random_uci_lines SEED COUNT
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

std::mt19937 rng;

int pick(int n) {
    return static_cast<int>(rng() % static_cast<unsigned>(n));
}

template <size_t N> const char *one_of(const char *const (&items)[N]) {
    return items[pick(static_cast<int>(N))];
}

std::string number(int low, int high) {
    return std::to_string(low + pick(high - low + 1));
}

// Appends " word" to the line.
void add(std::string *line, const std::string &word) {
    *line += ' ';
    *line += word;
}

// Printable characters, but never a number: a junk depth must not become a real one.
std::string junk_word() {
    std::string w(1, static_cast<char>('A' + pick(58)));
    for (int n = pick(8); n > 0; n--) w += static_cast<char>(33 + pick(94));
    return w;
}

std::string square() {
    return std::string(1, static_cast<char>('a' + pick(8))) + static_cast<char>('1' + pick(8));
}

// Mostly moves a game might start with, so that replays get somewhere.
std::string some_move() {
    const char *const common[] = {"e2e4", "e7e5", "g1f3", "b8c6", "f1c4",  "g8f6",  "e1g1",
                                  "d2d4", "d7d5", "c2c4", "e8g8", "a7a8q", "b2b1n", "e5d6"};
    switch (pick(4)) {
    case 0:
        return square() + square();
    case 1:
        return junk_word();
    default:
        return one_of(common);
    }
}

std::string setoption_line() {
    const char *const names[] = {"Depth1", "Depth2",  "Blunders",   "Deadend",
                                 "Limit",  "Threads", "OwnBook",    "Seed",
                                 "Hash",   "depth1",  "Skill Level"};
    std::string line = "setoption";
    if (pick(8) != 0) line += " name";
    const std::string name = one_of(names);
    if (pick(10) != 0) add(&line, name);
    if (pick(8) == 0) return line;
    line += " value";
    std::string value;
    switch (pick(6)) {
    case 0:
        value = junk_word();
        break;
    case 1:
        value = number(-100000, 100000);
        // Depths beyond 3 and wide dead-end bounds would make searches long.
        if (name == "Depth1" || name == "Depth2" || name == "depth1" || name == "Deadend")
            value = "-" + value;
        break;
    case 2:
        value = pick(2) ? "true" : "false";
        break;
    default: // a value the option takes, within bounds that keep searches short
        if (name == "Deadend")
            value = number(0, 1988);
        else if (name == "Limit")
            value = number(400, 1000);
        else if (name == "Threads")
            value = number(1, 2);
        else if (name == "OwnBook")
            value = pick(2) ? "true" : "false";
        else if (name == "Seed" || name == "Hash")
            value = number(0, 99999);
        else
            value = number(0, 3);
    }
    add(&line, value);
    return line;
}

std::string position_line() {
    const char *const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 10",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 30",
        "4k3/1P6/8/8/8/8/6p1/4K2R w K - 0 40",
        "k7/1Q6/1K6/8/8/8/8/8 b - - 0 80",
        "8/8/8 w",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
        "4k3/8/8/8/8/8/4R3/4K3 w - - 0 1",
        "kkkk4/8/8/8/8/8/8/K7 w - - 0 1",
        "",
    };
    std::string line = "position";
    switch (pick(5)) {
    case 0:
        line += " fen";
        add(&line, one_of(fens));
        break;
    case 1:
        add(&line, junk_word());
        break;
    default:
        line += " startpos";
    }
    if (pick(4) != 0) {
        line += " moves";
        for (int n = pick(12); n > 0; n--) add(&line, some_move());
    }
    return line;
}

std::string go_line() {
    const char *const words[] = {"wtime", "btime", "winc",     "binc",   "movestogo",  "depth",
                                 "nodes", "mate",  "movetime", "ponder", "searchmoves"};
    std::string line = "go";
    for (int n = pick(5); n > 0; n--) {
        const std::string w = pick(6) ? one_of(words) : junk_word();
        add(&line, w);
        if (w == "depth")
            add(&line, pick(4) ? number(1, 3) : number(-300, 0));
        else if (w == "movetime")
            add(&line, number(-10, 60));
        else if (w == "searchmoves")
            add(&line, some_move());
        else if (pick(5))
            add(&line, pick(4) ? number(-100, 5000) : junk_word());
    }
    return line;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    rng.seed(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    const long count = std::strtol(argv[2], nullptr, 10);
    long go_count = 0;
    // Searches stay short: two plies, then three.
    std::puts("setoption name Depth1 value 2\nsetoption name Depth2 value 3");
    for (long i = 0; i < count; i++) {
        std::string line;
        switch (pick(16)) {
        case 0:
            break; // empty
        case 1: {  // binary, with NUL bytes and carriage returns
            for (int n = 1 + pick(30); n > 0; n--) {
                const char c = static_cast<char>(pick(256));
                line += c == '\n' ? ' ' : c; // one line stays one line
            }
            if (line[0] == 'g') line[0] = 'x'; // never a go by chance
            break;
        }
        case 2: // long
            for (int n = 500 + pick(5000); n > 0; n--) line += static_cast<char>('a' + pick(27));
            break;
        case 3:
            line = one_of({"uci", "isready", "ucinewgame", "stop", "debug on", "ponderhit",
                           "register later", "  isready  ", "UCI", "quiet"});
            break;
        case 4:
        case 5:
        case 6:
            line = setoption_line();
            break;
        case 7:
        case 8:
        case 9:
        case 10:
            line = position_line();
            break;
        case 11:
        case 12:
            line = go_line();
            go_count++;
            break;
        default:
            line = junk_word();
            add(&line, junk_word());
            if (line[0] == 'g') line[0] = 'x';
            break;
        }
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    std::fprintf(stderr, "%ld\n", go_count);
    return 0;
}
