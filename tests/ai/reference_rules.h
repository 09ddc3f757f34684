// A plain, slow transcription of the move generator, attack test and position test, kept
// to check the fast ones against: every destination is tried on a copy of the board, and
// attacks are found by putting each kind of piece on the square and looking at what it
// could capture.
#pragma once

#include "rules/structs.h"

uint8_t ref_legal_moves(const struct board *brd, coord pc, destination_list *list,
                        const coord *king_pos);
int ref_king_threatened(const struct board *brd, const coord *king_pos, coord pc);
int ref_check_stale(const struct board *brd, coord king_pos, uint8_t depth);
