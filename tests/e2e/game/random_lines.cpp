// Prints lines a careless or hostile person might type: squares, claims, empty lines,
// long lines, upper case, binary bytes and NUL bytes. Usage: random_lines SEED COUNT
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char **argv) {
    if (argc != 3) return 2;
    std::mt19937 rng(static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10)));
    const long count = std::strtol(argv[2], nullptr, 10);
    const auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    for (long i = 0; i < count; i++) {
        std::string line;
        switch (pick(12)) {
        case 0:
            break; // empty
        case 10:
        case 11: // a plausible move, so that games get somewhere
            line = std::string(1, static_cast<char>('a' + pick(8))) + "2781"[pick(4)] + '\n' +
                   static_cast<char>('a' + pick(8)) + "3456"[pick(4)];
            break;
        case 1:
            line = pick(2) ? "draw" : "DRAW now";
            break;
        case 2: // long
            for (int n = 60 + pick(200); n > 0; n--) line += static_cast<char>('a' + pick(26));
            break;
        case 3: // binary, with NUL bytes
            for (int n = 1 + pick(20); n > 0; n--) line += static_cast<char>(pick(256));
            break;
        case 4:
            line = std::string(1, static_cast<char>('A' + pick(8))) + char('1' + pick(8));
            break;
        case 5:
            line = std::string(1, "qkbrQx"[pick(6)]);
            break;
        default: // a square, sometimes with more after it
            line = std::string(1, static_cast<char>('a' + pick(9))) + char('0' + pick(10));
            if (pick(4) == 0) line += "e4 extra";
        }
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
    }
    return 0;
}
