// Temporary files of crash-safe writes are removed when SIGINT, SIGTERM or SIGHUP end the
// process in the middle of a write; the signal then ends the process as it would have.
#pragma once

// Takes the three signals where their action is the default one (an ignored signal stays
// ignored, another handler is left in place).
void install_temp_file_cleanup();

// Gives the signals taken back their default action, so that a library that takes them
// only from the default (the window's) may do so; install again afterwards.
void uninstall_temp_file_cleanup();

// mkostemp(template_path, O_CLOEXEC), with the file made known to the handler before any
// of the three signals can come; returns the descriptor, or -1 with errno set.
int make_guarded_temp_file(char *template_path);

// The temporary file is gone (renamed or removed): the handler forgets it.
void forget_guarded_temp_file();
