// What cuts a game short from outside the game itself.
#pragma once

#include <cstdint>

enum class interruption : uint8_t {
    none,
    end_of_input,  // standard input closed ("End of input." has been printed)
    lost_output,   // standard output cannot be written (reported on standard error)
    window_closed, // the person closed the window
    time_up,       // the person's clock ran out while the game waited for them
};
