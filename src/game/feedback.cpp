#include "game/feedback.h"

#include "game/state.h"
#include "graphics/device.h"
#include "graphics/font.h"
#include "runtime/line_files.h"
#include "runtime/text.h"

#include <algorithm>

GameBanner Banner;
std::vector<double> SoundsStarted;

namespace {

std::vector<double> noted_sounds;

constexpr double kCardMs = 2500, kCardFadeMs = 1000;
constexpr double kSolvedMs = 3000, kSolvedFadeMs = 500;
// The banner's top: below the worker, above the lower edge with room for a third line.
constexpr double kBannerTop = 410;

// How visible the banner is now: 1, falling to 0 over its fade, 0 once it is over.
double BannerAlpha() {
    if (Banner.text.empty()) return 0;
    const double age = FrameClock - Banner.since;
    if (age < 0 || age >= Banner.duration) return 0;
    const double left = Banner.duration - age;
    return Banner.fade > 0 && left < Banner.fade ? left / Banner.fade : 1;
}

} // namespace

void ShowBanner(const std::string& text, const std::string& subtitle, double duration,
                double fade) {
    Banner = GameBanner{text, subtitle, FrameClock, duration, fade};
}

void ClearBanner() {
    Banner = GameBanner{};
}

std::string BannerText() {
    return BannerAlpha() > 0 ? Banner.text : std::string();
}

double DrawTextBox(const std::vector<std::string>& lines, double top, double alpha) {
    double gw = 8, gh = 8;
    font_size(gw, gh);
    size_t longest = 0;
    for (const std::string& l : lines)
        longest = std::max(longest, l.size());
    const double pad = 12, gap = 6;
    const double w = gw * double(longest) + 2 * pad;
    const double h = gh * double(lines.size()) + gap * double(lines.size() - 1) + 2 * pad;
    const double x = (ScreenWidth - w) / 2;
    set_alpha_mode(-0.7 * alpha);
    draw_rect(x, top, x + w, top + h, 0);
    set_alpha_mode(-alpha);
    draw_rect(x, top, x + w, top + 2, 16777215);
    draw_rect(x, top + h - 2, x + w, top + h, 16777215);
    double y = top + pad;
    for (const std::string& l : lines) {
        print_text(l.c_str(), (ScreenWidth - gw * double(l.size())) / 2, y);
        y += gh + gap;
    }
    set_alpha_mode(0);
    return h;
}

void DrawBanner() {
    const double a = BannerAlpha();
    if (a <= 0) return;
    std::vector<std::string> lines{Banner.text};
    if (!Banner.subtitle.empty()) lines.push_back(Banner.subtitle);
    DrawTextBox(lines, kBannerTop, a);
}

std::string LevelName(double n) {
    const RtString file = "levelnames.txt";
    if (n < 1 || n > 256 || file_exists(file) == 0) return "";
    const RtString line = line_read(file, n - 1);
    const std::string s = line.c_str();
    if (s == "NO_DATA" || s == "NO_FILE") return "";
    // Only what the fonts can print.
    std::string name;
    for (char c : s)
        if (c >= 32 && c < 127) name += c;
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

std::string LevelTitle(double n) {
    const std::string title = std::string("Level ") + str_from_number(n).c_str();
    const std::string name = LevelName(n);
    return name.empty() ? title : title + " - " + name;
}

void ShowTitleCard(const std::string& subtitle) {
    ShowBanner(LevelTitle(Level), subtitle, kCardMs, kCardFadeMs);
}

void ShowSolvedBanner() {
    ShowBanner("Level solved", "The lift is open", kSolvedMs, kSolvedFadeMs);
}

void NoteSoundStarted(double slot) {
    noted_sounds.push_back(slot);
}

void PublishSounds() {
    SoundsStarted.swap(noted_sounds);
    noted_sounds.clear();
}

void ClearSounds() {
    SoundsStarted.clear();
    noted_sounds.clear();
}
