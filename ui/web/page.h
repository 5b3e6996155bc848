#pragma once

// The page's side of the web platform: the functions of the library_*.js files, which
// create and update the page's elements. Windows are named by the handle
// dosat_window_make gives, controls by their row; texts are UTF-8 with their length,
// sizes and places CSS pixels.
extern "C" {

// library_windows.js
int dosat_window_make(const char* name, int nameLength, const char* caption, int captionLength,
                      int width, int height);
void dosat_window_destroy(int window);
/// The control in `row`, `stacking` its place among its siblings, its text set in
/// `families` (a CSS font-family list) at `fontPixels` to the em.
void dosat_control_make(int window, int row, int kind, const char* name, int nameLength, const char* text,
                        int textLength, int left, int top, int width, int height, int stacking,
                        const char* families, int familiesLength, double fontPixels);
/// The page's own texts (title bars, messages) in `families`, a CSS font-family list.
void dosat_page_set_font(const char* families, int familiesLength);
void dosat_window_show(int window);
void dosat_window_hide(int window);
bool dosat_window_visible(int window);
int dosat_control_text_size(int window, int control);
void dosat_control_text_copy(char* buffer, int size);
void dosat_control_set_text(int window, int control, const char* text, int length);
void dosat_control_focus(int window, int control, bool selectAll);
void dosat_window_warn(int window, const char* caption, int captionLength, const char* text,
                       int textLength);
void dosat_page_listen();

// library_screen.js
int dosat_screen_width();
int dosat_screen_height();
void dosat_window_move(int window, double left, double top);
double dosat_window_outer_size(int window, bool height);
void dosat_screen_listen();

// library_theme.js
int dosat_theme_palette();
unsigned dosat_theme_colour(int window, int which);
void dosat_theme_set_text(int window, int control, const char* colour, int length);
/// Window `window`'s client area in `colour`, or the page's own where it is empty.
void dosat_theme_set_background(int window, const char* colour, int length);
void dosat_theme_listen();

// library_history.js
void dosat_history_replace(const char* name, int length);
void dosat_history_push(const char* name, int length);
void dosat_history_back();
void dosat_history_listen();

// library_accessibility.js
void dosat_control_relate(int window, int control, int relation, int label);
void dosat_control_tell(int window, int control, int relation, const char* text, int length);
void dosat_announce(const char* text, int length);
void dosat_table_begin(int window, int control);
void dosat_table_row(int top, int height);
void dosat_table_cell(int kind, const char* text, int length, int left, int width);

// library_tablepicture.js
double dosat_picture_ratio(int window);
unsigned dosat_picture_forced_colour(int window, int control, bool ink);
void dosat_picture_begin(int window, int control, double cssWidth, double cssHeight, int width,
                         int height, const char* paper, int paperLength, const char* ink,
                         int inkLength, const char* families, int familiesLength);
void dosat_picture_rule(int x, int y, int width, int height);
double dosat_picture_advance(const char* text, int length, int pixels, int spacing);
void dosat_picture_text(const char* text, int length, int pixels, int spacing, int x, int baseline);
}

#include <string_view>

namespace dosat::web {

/// A text's bytes and length as the page's functions take them.
inline int Length(std::string_view text) { return static_cast<int>(text.size()); }

}  // namespace dosat::web

extern "C" {
// library_locale.js
int dosat_locale_separator(bool group);
// library_windows.js: the program has started and is ready to calculate.
void dosat_page_ready();
}

extern "C" {
// library_screen.js
double dosat_window_place(int window, int which);
void dosat_window_set_scale(int window, double scale);
}
