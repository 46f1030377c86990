#pragma once
// Toolkit tests in the test process: the hidden game window, a fresh graphics device with the
// game's 8 x 16 font, a scripted input device driven by events, the virtual clock, and an empty
// toolkit (no dialog, empty stack).
#include "graphics/device.h"
#include "graphics/font.h"
#include "gui/gui.h"
#include "input/input.h"
#include "input/input_device.h"
#include "runtime/app/frame_internal.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <string>

class GuiTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        gfx_device_init(800, 600);
        set_viewport(0, 0, 0, 0);
        set_alpha_mode(0);
        glClear(GL_COLOR_BUFFER_BIT);
        load_font(SS_GAME_DIR "/smalfont.bmp", 0);
        frame.settings.width = 800;
        frame.settings.height = 600;
        frame.mode = RunMode::Scripted;
        frame.virtual_now = 1000;
        input_set_refresh(nullptr);
        input_start(InputSource::Scripted, true, 800, 600, 0, 0, false);
        clear_toolkit();
    }
    void TearDown() override {
        clear_toolkit();
        input_reset();
        frame.mode = RunMode::Live;
        gfx_device_shutdown();
    }

    static void clear_toolkit() {
        while (gui_dialog_depth() > 0)
            gui_dialog_close();
        gui_dialog_close(); // the store itself
    }

    // Input events as the frame would dispatch them.
    static void move(int x, int y) {
        input_handle_event(platform::Event{platform::EventKind::MouseMove, 0, x, y});
    }
    static void button(bool down) {
        input_handle_event(
            platform::Event{down ? platform::EventKind::ButtonDown : platform::EventKind::ButtonUp,
                            1, 0, 0});
    }
    static void key(int code, bool down) {
        input_handle_event(
            platform::Event{down ? platform::EventKind::KeyDown : platform::EventKind::KeyUp,
                            code, 0, 0});
    }
    // One frame: a new input frame, gui_show of the active dialog, time moves on by 20 ms.
    static double show(double top_only = 1) {
        input_new_frame();
        const double r = gui_show(top_only);
        frame.virtual_now += 20;
        return r;
    }
    // A full click at (x, y): press in one frame, release in the next.
    static void click(int x, int y) {
        move(x, y);
        button(true);
        show();
        button(false);
        show();
    }
    static std::string get(const char* key) { return gui_get(key).str(); }
    static double rect_x(const char* id) { return rect(id).x; }
    static GuiWidgetBox rect(const char* id) {
        GuiWidgetBox b;
        b.id = id;
        EXPECT_TRUE(gui_widget_rect(id, b.x, b.y, b.width, b.height)) << id;
        return b;
    }
};
