#pragma once
// Error codes, the error log and the one way out of the program.
//
// Codes: 0 normal end; 3 an image that exists but cannot be read (fatal) or a line file that
// cannot be opened (recorded); 7 an array store that cannot be allocated (fatal) or a line number
// above 255 (recorded); 8 an array used before it was dimensioned; 9 an array index out of range.
#include <string_view>

// Records a non-fatal failure; the program goes on. Returns the code.
double set_error_code(double code);
// The last recorded code (0 when none).
double last_error_code();
void set_error_line(double line, double aux);

// Ends the program with `code` as its exit status; the reason goes to the error log.
[[noreturn]] void runtime_error(double code);
// Normal end of the program (exit status 0): runs the end hooks, writes back the stores.
[[noreturn]] void runtime_end();
// Shared tail of both: runs the end hooks (last registered first) and exits with `status`.
[[noreturn]] void runtime_exit(int status);

// Registers a function that runtime_end calls before the process exits (devices, stores).
void at_runtime_end(void (*fn)());

// Debug mode adds the end-of-run report to the log (off in the game).
void set_debug_mode(bool on);

// The error log: ErrorLog.txt in the user's temporary directory (TMPDIR, else /tmp).
// Each entry is one line ending in CR LF; a log that cannot be opened is skipped silently.
void error_log(std::string_view line);
// Starts the log anew (deletes the file).
void error_log_restart();
// Logs "Missing file: NAME" for a data file a load did not find, once per name in a run, so a
// bare or damaged data folder says what is missing without filling the log.
void log_missing_file(std::string_view name);
// Full path of the log file.
const char* error_log_path();
