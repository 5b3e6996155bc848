// Where the windows open and how large, on the screens users have: the table window on a
// platform that reports monitors and frames as Windows does (frame counted in the outer
// size) and as an X11 window manager does before it frames a window (frame beside it).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "dodata.h"
#include "placement.h"
#include "platform.h"
#include "program.h"
#include "zepalt.h"

namespace {

using dosat::placement::Area;
using dosat::placement::Monitor;

// A monitor in pixels, with a taskbar of `bar` pixels along the bottom or the top.
struct Screen {
  int left, top, width, height, bar;
  bool barOnTop = false;
};

// A desktop in pixels at `dpi`, whose windows have a frame of Windows 10 and 11's
// proportions (8 pixels, a 31-pixel title bar at 96 dpi) and whose client areas are
// the design's twips at the layout's resolution, to the nearest pixel.
class Desktop final : public dosat::Platform {
 public:
  Desktop(int dpi, std::vector<Screen> screens, bool frameCounted)
      : dpi_(dpi), screens_(std::move(screens)), frameCounted_(frameCounted) {}

  float Twips(double pixels) const { return static_cast<float>(pixels * 1440 / dpi_); }
  int Pixels(float twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440)); }
  int Frame(int pixelsAt96) const { return static_cast<int>(std::lround(pixelsAt96 * dpi_ / 96.0)); }

  Monitor MonitorOf(const Screen& s) const {
    const Area screen{Twips(s.left), Twips(s.top), Twips(s.width), Twips(s.height)};
    Area work = screen;
    work.height = Twips(s.height - s.bar);
    if (s.barOnTop) work.top = Twips(s.top + s.bar);
    return {screen, work, Twips(1)};
  }

  std::unique_ptr<dosat::NativeWindow> MakeWindow(const dosat::design::Window& design,
                                                  dosat::WindowEvents&) override;
  Monitor PrimaryMonitor() const override { return MonitorOf(screens_.front()); }
  Monitor MonitorAt(float x, float y) const override {
    for (const Screen& s : screens_) {
      const Monitor m = MonitorOf(s);
      if (x >= m.screen.left && x < m.screen.right() && y >= m.screen.top && y < m.screen.bottom()) return m;
    }
    return PrimaryMonitor();
  }
  dosat::NumberLocale UserNumberLocale() const override { return {}; }
  void Quit(int) override {}

  const int dpi_;
  const std::vector<Screen> screens_;
  const bool frameCounted_;
};

class Window final : public dosat::NativeWindow {
 public:
  Window(const Desktop& desktop, const dosat::design::Window& design) : desktop_(desktop), design_(design) {}

  int ClientPixels(int twips) const { return static_cast<int>(std::lround(twips * scale_ * desktop_.dpi_ / 1440)); }
  int Side() const { return desktop_.Frame(8); }
  int Title() const { return desktop_.Frame(31); }
  // The frame on the screen, in pixels: where the window manager puts it.
  Area FramePixels() const {
    const int x = desktop_.Pixels(left_) - (desktop_.frameCounted_ ? 0 : Side());
    const int y = desktop_.Pixels(top_) - (desktop_.frameCounted_ ? 0 : Title());
    return {float(x), float(y), float(ClientPixels(design_.clientWidth) + 2 * Side()),
            float(ClientPixels(design_.clientHeight) + Title() + Side())};
  }

  void Show() override {}
  void Hide() override {}
  bool IsVisible() const override { return true; }
  void Move(float left, float top) override {
    left_ = left;
    top_ = top;
    ++moves_;
  }
  float OuterLeft() const override { return left_; }
  float OuterTop() const override { return top_; }
  float OuterWidth() const override {
    return desktop_.Twips(ClientPixels(design_.clientWidth) + (desktop_.frameCounted_ ? 2 * Side() : 0));
  }
  float OuterHeight() const override {
    return desktop_.Twips(ClientPixels(design_.clientHeight) + (desktop_.frameCounted_ ? Title() + Side() : 0));
  }
  float ClientWidth() const override { return desktop_.Twips(ClientPixels(design_.clientWidth)); }
  float ClientHeight() const override { return desktop_.Twips(ClientPixels(design_.clientHeight)); }
  dosat::placement::Margins FrameMargins() const override {
    if (desktop_.frameCounted_) return {};
    return {desktop_.Twips(Side()), desktop_.Twips(Title()), desktop_.Twips(Side()), desktop_.Twips(Side())};
  }
  void SetScale(float scale) override {
    scale_ = scale;
    ++layouts_;
  }
  std::string Text(std::size_t) const override { return {}; }
  void SetText(std::size_t, std::string_view) override {}
  void Focus(std::size_t, bool) override {}
  void AnnounceValue(std::size_t) override {}
  void ShowWarning(std::string_view, std::string_view, std::function<void()>) override {}

  float left_ = 0, top_ = 0;
  float scale_ = 1;
  int moves_ = 0;
  int layouts_ = 0;
  dosat::WindowEvents* events_ = nullptr;

 private:
  const Desktop& desktop_;
  const dosat::design::Window& design_;
};

std::unique_ptr<dosat::NativeWindow> Desktop::MakeWindow(const dosat::design::Window& design,
                                                         dosat::WindowEvents& events) {
  auto window = std::make_unique<Window>(*this, design);
  window->events_ = &events;
  return window;
}

Window& NativeOf(dosat::Form& form) { return static_cast<Window&>(*form.native()); }

bool Inside(const Area& frame, const Screen& s) {
  const int workTop = s.top + (s.barOnTop ? s.bar : 0);
  return frame.left >= s.left && frame.top >= workTop && frame.right() <= s.left + s.width &&
         frame.bottom() <= workTop + s.height - s.bar;
}

struct Row {
  const char* name;
  Screen screen;
  int dpi;
  double scale;  // the scale expected, to a thousandth; 1: placed as designed
};

class TableWindowOnScreens : public ::testing::TestWithParam<std::tuple<Row, bool>> {};

// The screens users have, as pixels at the desktop's scale, with Windows 11's taskbar of
// 48 logical pixels: where the table window fits it is centred on the screen as
// designed; elsewhere it is made as small as it must be to fit the work area, whole.
TEST_P(TableWindowOnScreens, FitsTheWorkAreaWholeOrStandsAsDesigned) {
  const auto& [row, frameCounted] = GetParam();
  Desktop desktop(row.dpi, {row.screen}, frameCounted);
  dosat::Program program(desktop, [](int) {});
  dosat::DOData& table = program.tableWindow();
  table.Show();
  const Window& window = NativeOf(table);
  EXPECT_NEAR(table.Scale(), row.scale, 0.001);
  EXPECT_TRUE(Inside(window.FramePixels(), row.screen)) << "frame " << window.FramePixels().left << ","
                                                         << window.FramePixels().top;
  if (row.scale == 1) {
    // The designed centring to the bit, of what the platform counts as the window.
    const Monitor monitor = desktop.PrimaryMonitor();
    EXPECT_EQ(window.left_, (monitor.screen.width - window.OuterWidth()) / 2);
    EXPECT_EQ(window.top_, (monitor.screen.height - window.OuterHeight()) / 2);
  }
  EXPECT_EQ(window.moves_, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Screens, TableWindowOnScreens,
    ::testing::Combine(
        ::testing::Values(Row{"FullHD_150", {0, 0, 1920, 1080, 72}, 144, 0.904},
                          Row{"UHD_300", {0, 0, 3840, 2160, 144}, 288, 0.905},
                          Row{"HD_100", {0, 0, 1280, 720, 48}, 96, 0.905},
                          Row{"WXGA_100", {0, 0, 1366, 768, 48}, 96, 0.974},
                          Row{"WXGA_125", {0, 0, 1366, 768, 60}, 120, 0.753},
                          Row{"netbook", {0, 0, 1024, 600, 48}, 96, 0.733},
                          Row{"netbook_bar_on_top", {0, 0, 1024, 600, 48, true}, 96, 0.733},
                          Row{"FullHD_100", {0, 0, 1920, 1080, 48}, 96, 1},
                          Row{"FullHD_125", {0, 0, 1920, 1080, 60}, 120, 1},
                          Row{"SXGA_100", {0, 0, 1280, 1024, 48}, 96, 1},
                          Row{"WXGA_plus_100", {0, 0, 1440, 900, 48}, 96, 1}),
        ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_framed" : "_unframed");
    });

// A window that fits the work area but, centred on the whole screen, would reach under
// the taskbar is centred in the work area at its own size.
TEST(TableWindow, CentredInTheWorkAreaWhereItFitsThereOnly) {
  const Screen screen{0, 0, 1366, 768, 28};
  Desktop desktop(96, {screen}, true);
  dosat::Program program(desktop, [](int) {});
  program.tableWindow().Show();
  const Area frame = NativeOf(program.tableWindow()).FramePixels();
  EXPECT_EQ(program.tableWindow().Scale(), 1);
  EXPECT_TRUE(Inside(frame, screen));
  EXPECT_EQ(frame.top, (768 - 28 - frame.height) / 2);
}

// The primary monitor to the right of another and lower: the windows open centred on it,
// not on the desktop's corner.
TEST(CalculationWindow, OpensCentredOnAPrimaryMonitorAwayFromTheOrigin) {
  Desktop desktop(96, {{1920, 200, 1280, 1024, 0}, {0, 0, 1920, 1080, 0}}, false);
  dosat::Program program(desktop, [](int) {});
  program.Start();
  const Window& window = NativeOf(program.calculationWindow());
  EXPECT_EQ(desktop.Pixels(window.left_), 1920 + (1280 - 311) / 2 + 1);
  EXPECT_EQ(desktop.Pixels(window.top_), 200 + (1024 - 317) / 2 + 1);
}

class Refit : public ::testing::Test {
 protected:
  Refit() : desktop_(96, {{0, 0, 1024, 600, 48}, {1024, 0, 1920, 1080, 48}}, true), program_(desktop_, [](int) {}) {
    program_.tableWindow().Show();
  }
  void MoveTo(int x, int y) {
    Window& window = NativeOf(program_.tableWindow());
    window.Move(desktop_.Twips(x), desktop_.Twips(y));
    window.events_->ScreenChanged();
  }
  Desktop desktop_;
  dosat::Program program_;
};

// Dragged to a larger monitor, the window takes the desktop's own scale again and stays
// where it was dropped; dragged back half off the small one, it is fitted again and moved
// only as far as it must.
TEST_F(Refit, ToTheMonitorItIsDroppedOn) {
  ASSERT_LT(program_.tableWindow().Scale(), 1);
  // Told of a change where there is none (a burst of the platform's notices), it is
  // neither laid out again nor moved.
  Window& fitted = NativeOf(program_.tableWindow());
  const float scale = program_.tableWindow().Scale();
  const int layouts = fitted.layouts_, moves = fitted.moves_;
  fitted.events_->ScreenChanged();
  EXPECT_EQ(program_.tableWindow().Scale(), scale);
  EXPECT_EQ(fitted.layouts_, layouts);
  EXPECT_EQ(fitted.moves_, moves);

  MoveTo(1100, 40);
  const Window& window = NativeOf(program_.tableWindow());
  EXPECT_EQ(program_.tableWindow().Scale(), 1);
  EXPECT_EQ(window.FramePixels().left, 1100);
  EXPECT_EQ(window.FramePixels().top, 40);

  MoveTo(700, 100);
  EXPECT_NEAR(program_.tableWindow().Scale(), 0.733, 0.001);
  EXPECT_TRUE(Inside(window.FramePixels(), desktop_.screens_[0]));
  EXPECT_EQ(window.FramePixels().right(), 1024) << "moved no further left than it must";
}

}  // namespace
