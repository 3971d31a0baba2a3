#pragma once
// Runs a TCP lookup on a worker thread while the calling thread watches for
// Ctrl-C: the first one interrupts the lookup (which then reports what has
// arrived), a second one ends the program at once.
class LookupState;

void RunInterruptible(LookupState& state);
