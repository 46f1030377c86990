// The platform's view of keys and the mouse: the scan-code table and the letterboxed mapping.
#include "platform/events.h"
#include "platform/keymap.h"
#include "platform/window.h"
#include "support/test_support.h"

#include <SDL.h>
#include <gtest/gtest.h>

TEST(KeyTable, ScanCodesOfTheKeysTheRuntimeNames) {
    struct Known {
        SDL_Scancode sdl;
        int code;
    };
    const Known known[] = {
        {SDL_SCANCODE_ESCAPE, 1},       {SDL_SCANCODE_1, 2},
        {SDL_SCANCODE_0, 11},           {SDL_SCANCODE_BACKSPACE, 14},
        {SDL_SCANCODE_TAB, 15},         {SDL_SCANCODE_Q, 16},
        {SDL_SCANCODE_Y, 21},           {SDL_SCANCODE_RETURN, 28},
        {SDL_SCANCODE_LCTRL, 29},       {SDL_SCANCODE_A, 30},
        {SDL_SCANCODE_LSHIFT, 42},      {SDL_SCANCODE_Z, 44},
        {SDL_SCANCODE_M, 50},           {SDL_SCANCODE_RSHIFT, 54},
        {SDL_SCANCODE_KP_MULTIPLY, 55}, {SDL_SCANCODE_LALT, 56},
        {SDL_SCANCODE_SPACE, 57},       {SDL_SCANCODE_CAPSLOCK, 58},
        {SDL_SCANCODE_F1, 59},          {SDL_SCANCODE_F4, 62},
        {SDL_SCANCODE_F10, 68},         {SDL_SCANCODE_NUMLOCKCLEAR, 69},
        {SDL_SCANCODE_KP_0, 82},        {SDL_SCANCODE_NONUSBACKSLASH, 86},
        {SDL_SCANCODE_F11, 87},         {SDL_SCANCODE_F12, 88},
        {SDL_SCANCODE_KP_ENTER, 156},   {SDL_SCANCODE_RCTRL, 157},
        {SDL_SCANCODE_KP_DIVIDE, 181},  {SDL_SCANCODE_RALT, 184},
        {SDL_SCANCODE_HOME, 199},       {SDL_SCANCODE_UP, 200},
        {SDL_SCANCODE_PAGEUP, 201},     {SDL_SCANCODE_LEFT, 203},
        {SDL_SCANCODE_RIGHT, 205},      {SDL_SCANCODE_END, 207},
        {SDL_SCANCODE_DOWN, 208},       {SDL_SCANCODE_PAGEDOWN, 209},
        {SDL_SCANCODE_INSERT, 210},     {SDL_SCANCODE_DELETE, 211},
        {SDL_SCANCODE_LGUI, 219},       {SDL_SCANCODE_APPLICATION, 221},
    };
    for (const Known& k : known) {
        EXPECT_EQ(platform::scan_code_from_sdl(k.sdl), k.code) << SDL_GetScancodeName(k.sdl);
        EXPECT_EQ(platform::sdl_from_scan_code(k.code), k.sdl) << k.code;
    }
}

TEST(KeyTable, EveryKeyOfAKeyboardHasItsOwnCode) {
    // All the keys of a full keyboard map to distinct scan codes that map back.
    int mapped = 0;
    bool used[256] = {};
    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_RGUI; ++s) {
        int code = platform::scan_code_from_sdl(s);
        if (code == 0) continue;
        ++mapped;
        if (platform::sdl_from_scan_code(code) != s) continue; // an alias of another key
        EXPECT_FALSE(used[code]) << "code " << code << " twice";
        used[code] = true;
    }
    EXPECT_GE(mapped, 104); // a full keyboard, numeric pad included
    for (int s = SDL_SCANCODE_A; s <= SDL_SCANCODE_KP_PERIOD; ++s) {
        if (s != SDL_SCANCODE_NONUSHASH) {
            EXPECT_NE(platform::scan_code_from_sdl(s), 0) << SDL_GetScancodeName(SDL_Scancode(s));
        }
    }
    EXPECT_EQ(platform::scan_code_from_sdl(SDL_SCANCODE_NONUSHASH), 43);
    EXPECT_EQ(platform::scan_code_from_sdl(-1), 0);
    EXPECT_EQ(platform::scan_code_from_sdl(100000), 0);
    EXPECT_EQ(platform::sdl_from_scan_code(0), 0);
    EXPECT_EQ(platform::sdl_from_scan_code(256), 0);
}

TEST(KeyTable, CharactersOfTheFixedLayout) {
    EXPECT_EQ(platform::key_character(30, false), 'a');
    EXPECT_EQ(platform::key_character(21, false), 'y');
    EXPECT_EQ(platform::key_character(2, false), '1');
    EXPECT_EQ(platform::key_character(57, false), ' ');
    EXPECT_EQ(platform::key_character(28, false), 10);
    EXPECT_EQ(platform::key_character(156, false), 10);
    EXPECT_EQ(platform::key_character(14, false), 8);
    EXPECT_EQ(platform::key_character(71, false), '7');
    EXPECT_EQ(platform::key_character(1, false), 0);  // Esc
    EXPECT_EQ(platform::key_character(15, false), 0); // Tab
    EXPECT_EQ(platform::key_character(200, false), 0);
}

TEST(MouseMapping, LetterboxedWindowMapsIntoGameSpace) {
    ASSERT_TRUE(open_test_window());
    platform::set_window_size(1000, 600); // bars left and right
    SDL_PumpEvents();
    double gx, gy;
    platform::window_to_game(500, 300, gx, gy);
    EXPECT_DOUBLE_EQ(gx, 400);
    EXPECT_DOUBLE_EQ(gy, 300);
    platform::window_to_game(100, 0, gx, gy);
    EXPECT_DOUBLE_EQ(gx, 0);
    EXPECT_DOUBLE_EQ(gy, 0);
    platform::window_to_game(899, 599, gx, gy);
    EXPECT_DOUBLE_EQ(gx, 799);
    platform::set_window_size(1600, 1500); // scaled by 2, bars top and bottom
    SDL_PumpEvents();
    EXPECT_DOUBLE_EQ(platform::window_scale(), 2);
    platform::window_to_game(800, 750, gx, gy);
    EXPECT_DOUBLE_EQ(gx, 400);
    EXPECT_DOUBLE_EQ(gy, 300);
    double wx, wy;
    platform::game_to_window(0, 0, wx, wy);
    EXPECT_DOUBLE_EQ(wx, 0);
    EXPECT_DOUBLE_EQ(wy, 150);

    // An event at a window position arrives in game space.
    platform::discard_events();
    platform::push_mouse_motion(1000, 350);
    platform::Event e;
    ASSERT_TRUE(platform::next_event(e));
    EXPECT_EQ(e.kind, platform::EventKind::MouseMove);
    EXPECT_EQ(e.x, 500);
    EXPECT_EQ(e.y, 100);
    platform::set_window_size(800, 600);
    SDL_PumpEvents();
    platform::discard_events();
}

TEST(PlatformEvents, KeysButtonsAndWindowEventsArriveTranslated) {
    ASSERT_TRUE(open_test_window());
    platform::discard_events();
    platform::push_key(200, true);
    platform::push_mouse_button(2, true);
    platform::push_window_event(platform::EventKind::FocusLost);
    platform::push_window_event(platform::EventKind::Close);
    platform::Event e;
    ASSERT_TRUE(platform::next_event(e));
    EXPECT_EQ(e.kind, platform::EventKind::KeyDown);
    EXPECT_EQ(e.code, 200);
    ASSERT_TRUE(platform::next_event(e));
    EXPECT_EQ(e.kind, platform::EventKind::ButtonDown);
    EXPECT_EQ(e.code, 2);
    ASSERT_TRUE(platform::next_event(e));
    EXPECT_EQ(e.kind, platform::EventKind::FocusLost);
    ASSERT_TRUE(platform::next_event(e));
    EXPECT_EQ(e.kind, platform::EventKind::Close);
    EXPECT_FALSE(platform::next_event(e));
}
