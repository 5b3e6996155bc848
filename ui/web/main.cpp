#include <emscripten/emscripten.h>

#include "page.h"
#include "program.h"
#include "webplatform.h"

// What the page reports, by the names the library_*.js files call.
extern "C" {
EMSCRIPTEN_KEEPALIVE void dosat_web_clicked(int window, int control) { dosat::web::Clicked(window, control); }
EMSCRIPTEN_KEEPALIVE void dosat_web_warning_closed(int window) { dosat::web::WarningClosed(window); }
EMSCRIPTEN_KEEPALIVE void dosat_web_history_moved(int window) { dosat::web::HistoryMoved(window); }
EMSCRIPTEN_KEEPALIVE void dosat_web_page_closed() { dosat::web::PageClosed(); }
EMSCRIPTEN_KEEPALIVE void dosat_web_theme_changed() { dosat::web::ThemeChanged(); }
EMSCRIPTEN_KEEPALIVE void dosat_web_ratio_changed() { dosat::web::RatioChanged(); }
EMSCRIPTEN_KEEPALIVE void dosat_web_screen_changed() { dosat::web::ScreenChanged(); }
}

// The program has no loop of its own: once the calculation window is shown, main returns
// and the page's events drive the program, whose objects stay for the page's life.
int main() {
  static dosat::WebPlatform platform;
  static dosat::Program program(platform);
  program.Start();
  dosat_page_ready();
  return 0;
}
