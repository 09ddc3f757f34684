// Lost output: a game whose standard output cannot be written stops with status 1 and
// says why on standard error, instead of playing on and ending as if all was well.
#pragma once

// False, with the cause on standard error, when a write to standard output has failed;
// the game is then to end with status 1. Cheap, and silent when nothing failed.
bool check_output();

// Flushes standard output, then check_output().
bool flush_output();

// The exit status of a run that wants to end with `status`: 1 instead when what it printed
// last cannot reach standard output (reported on standard error). Call once, at the end.
int output_exit_status(int status);
