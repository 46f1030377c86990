#include "game/result_lines.h"

#include "game/best_results.h"
#include "game/play.h"
#include "game/state.h"
#include "graphics/font.h"
#include "runtime/user_dir.h"

#include <string>

namespace {

std::string game_line;

void PrintCentred(const std::string& text, double y) {
    double gw = 0, gh = 0;
    font_size(gw, gh);
    print_text(text.c_str(), (ScreenWidth - gw * double(text.size())) / 2, y);
}

} // namespace

void NoteRideStart(double exit_timer_before) {
    if (exit_timer_before != 0 || ExitTimer <= 0 || TestPlay != 0) return;
    RecordLevelTime(Level, TimerOption, TimeLeft);
}

void NoteGameEnd() {
    if (TestPlay != 0 || user_dir().empty()) {
        game_line.clear();
        return;
    }
    const bool new_best = RecordGameScore(TimerOption, Score);
    game_line = GameScoreLine(TimerOption, Score, new_best);
}

void DrawGameResultLine(double y) {
    if (!game_line.empty()) PrintCentred(game_line, y);
}

const char* GameResultLine() {
    return game_line.c_str();
}
