#pragma once
// The user folder: where the player's settings, best results, own levels and screenshots live,
// apart from the shipped data (which may be installed read-only). Paths use "/".
#include <string>
#include <string_view>

// Selects the user folder ("" : none; then nothing is read from or written to one).
void set_user_dir(std::string_view dir);
// The folder in use (without a trailing slash), or "".
const std::string& user_dir();
// The path of `name` inside the user folder ("" when there is none).
std::string user_path(std::string_view name);
// Creates the folder and its parents (like mkdir -p); true when it exists as a folder after.
bool make_dirs(const std::string& path);
// True when `path` names an existing folder.
bool is_dir(const std::string& path);

// Where a file of the shipped data that the player may also keep a copy of is read: the user
// folder's `sub`/`name` when that file exists, else `name` in the shipped data.
std::string user_or_shipped(std::string_view sub, std::string_view name);
// Where such a file is written: the user folder's `sub`/`name` (the folder made on first use),
// or `name` beside the shipped data when no user folder is in use. "" when the user folder's
// `sub` cannot be made.
std::string user_write_path(std::string_view sub, std::string_view name);

// The folder that holds the shipped data for an executable in `exe_dir`: the executable's own
// folder when the data lies beside it (a build tree), else `exe_dir`/../share/games/steel_spree
// (an installed game); `exe_dir` itself when neither holds the data.
std::string data_dir_for_executable(const std::string& exe_dir);

// The XDG pictures folder named in `config_home`/user-dirs.dirs ("$HOME/..." expanded with
// `home`), or "" when the file names none. It is not checked for existence.
std::string xdg_pictures_dir(const std::string& home, const std::string& config_home);
