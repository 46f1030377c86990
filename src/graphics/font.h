#pragma once
// Fixed-width bitmap fonts: 16 fonts, font n in sprite slot 65520 + n.

void load_font(const char* file, double font);
void set_font(double font);
void font_size(double& glyph_width, double& glyph_height);
void print_text(const char* text, double x, double y);
void print_number(double value, double x, double y);
