#pragma once
// vek-cli: runs one lookup on the engine and prints its report.
// Returns the exit status: 0 reply or resolver result, 1 failure report,
// 2 bad usage.
int RunCli(int argc, char** argv);
