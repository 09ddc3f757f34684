// Lost output: a game whose standard output cannot be written stops with status 1 and
// says why on standard error, instead of playing on and ending as if all was well.
#pragma once

// Makes every exit of the process check that standard output was written; call once,
// before anything is printed.
void watch_output();

// Ends the process with the cause on standard error and status 1 when a write to standard
// output has failed; cheap, and silent when nothing failed.
void check_output();

// Flushes standard output, then check_output().
void flush_output();
