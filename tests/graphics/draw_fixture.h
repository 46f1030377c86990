#pragma once
// Drawing tests: the hidden game window, a fresh graphics device and a black screen.
#include "bmp_writer.h"
#include "graphics/device.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <string>

class DrawTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(open_test_window());
        gfx_device_init(800, 600);
        set_viewport(0, 0, 0, 0);
        set_alpha_mode(0);
        glClear(GL_COLOR_BUFFER_BIT);
        dir = make_temp_dir();
    }
    void TearDown() override { gfx_device_shutdown(); }

    // Writes a BMP into the test folder and returns its path.
    std::string file(const std::string& name, const std::string& bytes) {
        std::string path = dir + "/" + name;
        EXPECT_TRUE(write_bytes(path, bytes));
        return path;
    }
    // Loads a solid sprite of the given size and colour into `slot`.
    void solid_sprite(int slot, int w, int h, Rgb colour) {
        load_sprite(file("s" + std::to_string(slot) + ".bmp", solid_bmp(w, h, colour)).c_str(), slot);
    }

    std::string dir;
};

inline Rgba rgb(uint8_t r, uint8_t g, uint8_t b) { return {r, g, b, 255}; }
inline const Rgba kBlack{0, 0, 0, 255};
inline const Rgba kWhite{255, 255, 255, 255};

// Within one step per channel (blending rounds either way).
inline bool near(Rgba a, Rgba b, int tolerance = 1) {
    auto d = [](int x, int y) { return x > y ? x - y : y - x; };
    return d(a.r, b.r) <= tolerance && d(a.g, b.g) <= tolerance && d(a.b, b.b) <= tolerance;
}
inline std::ostream& operator<<(std::ostream& o, const Rgba& c) {
    return o << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << "," << int(c.a) << ")";
}
