// How long dosat takes to put its window on the screen, and how much memory it
// needs, against an empty Qt window of the same size: each program is started
// and then closed as a user would, by the window's close request, in turn.
//
//   bench_startup [--display=:N] [rounds [dosat empty_window]]
//   bench_startup --wine=BUILD[,BUILD...] [--display=:N] [rounds]
//
// Without --display it runs its own Xvfb. A desktop's display is not used by
// default: its window manager reparents the window and adds its own latency.
// With --wine, the programs are those of each Windows build BUILD (build/win, build/win32):
// dosat.exe against two floors, an empty window and the calculation window's thirteen
// controls alone. Each build's programs run under its private wine (tools/wine-run.sh),
// with one wineserver kept for all the rounds.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <list>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Far beyond any normal start, so that only a hung program reaches it.
constexpr auto kTimeout = std::chrono::seconds(30);
constexpr int kWarmUpRounds = 2;

struct Program {
  Program(std::string label, std::string path) : label(std::move(label)), path(path), command{std::move(path)} {}

  std::string label;
  std::string path;
  std::vector<std::string> command;  // path, or the wine wrapper and then path
  std::vector<double> mapMs;
  std::vector<double> peakMiB;
  std::vector<double> cpuMs;  // less disturbed than mapMs by other work on the machine
  int width = 0, height = 0;
  int failures = 0;
};

// Ends the child when the harness goes, however it goes.
void DieWithParent(pid_t parent, int signal) {
  prctl(PR_SET_PDEATHSIG, signal);
  if (getppid() != parent) _exit(127);
}

double Ms(const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; }

void Silence() {
  const int null = open("/dev/null", O_RDWR);
  dup2(null, STDOUT_FILENO);
  dup2(null, STDERR_FILENO);
}

class Xvfb {
 public:
  Xvfb() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const std::string fd = std::to_string(fds[1]);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
      DieWithParent(parent, SIGTERM);
      fcntl(fds[1], F_SETFD, 0);
      Silence();
      // -displayfd picks a free display and says when it accepts connections.
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) throw std::runtime_error("fork failed");
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    char c;
    while (poll(&ready, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) {
      Stop();
      throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
    }
    display_ = ":" + number;
  }
  ~Xvfb() { Stop(); }
  Xvfb(const Xvfb&) = delete;
  Xvfb& operator=(const Xvfb&) = delete;

  const std::string& display() const { return display_; }

 private:
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

  pid_t pid_ = -1;
  std::string display_;
};

// Runs a command to its end, with its output shown; false unless it exits with 0.
bool RunTool(std::vector<std::string> command) {
  std::vector<char*> argv;
  for (std::string& a : command) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// One wineserver for every round, so that each program's time is its own start and not
// wine's; ended, with the session, afterwards. A session left running on the prefix is
// ended first: it would keep another display.
class WineSession {
 public:
  WineSession(std::string tools, std::string wineDir) : tools_(std::move(tools)), dir_(std::move(wineDir)) {
    if (!RunTool({"bash", tools_ + "/wine-env.sh", dir_})) throw std::runtime_error("no wine prefix in " + dir_);
    End();
    if (!Server("-p")) throw std::runtime_error("wineserver -p failed");
  }
  ~WineSession() { End(); }
  WineSession(const WineSession&) = delete;
  WineSession& operator=(const WineSession&) = delete;

 private:
  void End() {
    Server("-k");
    Server("-w");
  }
  bool Server(const char* option) {
    return RunTool({"bash", "-c", "source \"$1\" \"$2\" && exec wineserver \"$3\"", "bench_startup",
                    tools_ + "/wine-env.sh", dir_, option});
  }
  std::string tools_, dir_;
};

// A window can be gone by the time it is looked at; that is not an error here.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

class Harness {
 public:
  // Wine maps its windows override-redirect (no window manager is to place them).
  Harness(const std::string& display, bool overrideRedirect) : overrideRedirect_(overrideRedirect) {
    x_ = XOpenDisplay(display.c_str());
    if (!x_) throw std::runtime_error("cannot open display " + display);
    XSetErrorHandler(IgnoreXError);
    fcntl(ConnectionNumber(x_), F_SETFD, FD_CLOEXEC);
    wmProtocols_ = XInternAtom(x_, "WM_PROTOCOLS", False);
    wmDeleteWindow_ = XInternAtom(x_, "WM_DELETE_WINDOW", False);
    netWmPid_ = XInternAtom(x_, "_NET_WM_PID", False);
    // Selected before any program starts, so that no map can be missed.
    XSelectInput(x_, DefaultRootWindow(x_), SubstructureNotifyMask);
    XSync(x_, True);

    for (char** e = environ; *e; ++e) {
      if (!std::strncmp(*e, "DISPLAY=", 8) || !std::strncmp(*e, "QT_QPA_PLATFORM=", 16)) continue;
      environment_.emplace_back(*e);
    }
    environment_.push_back("DISPLAY=" + display);
    environment_.emplace_back("QT_QPA_PLATFORM=xcb");
  }
  ~Harness() { XCloseDisplay(x_); }
  Harness(const Harness&) = delete;
  Harness& operator=(const Harness&) = delete;

  // One start and close; nothing is recorded unless `measure`.
  void Round(Program& program, bool measure) {
    std::vector<char*> argv;
    for (std::string& a : program.command) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (std::string& e : environment_) envp.push_back(e.data());
    envp.push_back(nullptr);
    XSync(x_, True);  // events of the previous round
    const pid_t parent = getpid();

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
      DieWithParent(parent, SIGKILL);
      Silence();
      execve(argv[0], argv.data(), envp.data());
      _exit(127);
    }
    if (pid < 0) throw std::runtime_error("fork failed");

    const std::optional<Window> window = WaitForWindow(pid, start + kTimeout);
    const double mapMs = std::chrono::duration<double, std::milli>(mappedAt_ - start).count();
    if (window) {
      Close(*window);
      program.width = lastWidth_;
      program.height = lastHeight_;
    }

    int status = 0;
    rusage usage{};
    Reap(pid, start + 2 * kTimeout, status, usage);
    const bool ok = window && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!ok) {
      ++program.failures;
      std::fprintf(stderr, "bench_startup: %s: %s\n", program.label.c_str(),
                   !window                ? "no window was mapped"
                   : WIFSIGNALED(status)  ? "killed by a signal"
                                          : "exit status was not 0");
      return;
    }
    if (!measure) return;
    program.mapMs.push_back(mapMs);
    program.peakMiB.push_back(usage.ru_maxrss / 1024.0);  // ru_maxrss is in KiB
    program.cpuMs.push_back(Ms(usage.ru_utime) + Ms(usage.ru_stime));
  }

 private:
  // The first top-level window of `pid` that is mapped; Qt's helper windows
  // (1×1, 3×3) are never mapped, but are skipped by size all the same.
  std::optional<Window> WaitForWindow(pid_t pid, Clock::time_point deadline) {
    pollfd readable{ConnectionNumber(x_), POLLIN, 0};
    while (Clock::now() < deadline) {
      while (XPending(x_)) {
        XEvent event;
        XNextEvent(x_, &event);
        // Taken before the checks below, whose round trips are the harness's time.
        mappedAt_ = Clock::now();
        if (event.type != MapNotify || (event.xmap.override_redirect && !overrideRedirect_)) continue;
        if (IsWindowOf(event.xmap.window, pid)) return event.xmap.window;
      }
      if (HasEnded(pid)) return std::nullopt;
      poll(&readable, 1, 50);
    }
    return std::nullopt;
  }

  bool IsWindowOf(Window window, pid_t pid) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(x_, window, &attributes)) return false;
    if (attributes.width <= 3 || attributes.height <= 3) return false;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool ours = true;  // without _NET_WM_PID; nothing else makes windows on this display
    if (XGetWindowProperty(x_, window, netWmPid_, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                           &after, &data) == Success &&
        data) {
      if (format == 32 && count == 1) ours = *reinterpret_cast<unsigned long*>(data) == static_cast<unsigned long>(pid);
      XFree(data);
    }
    if (ours) {
      lastWidth_ = attributes.width;
      lastHeight_ = attributes.height;
    }
    return ours;
  }

  // Whether the program has exited, without reaping it: its rusage is read later.
  static bool HasEnded(pid_t pid) {
    siginfo_t info{};
    return waitid(P_PID, pid, &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == pid;
  }

  // What the window manager sends when the user clicks the close button.
  void Close(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = wmProtocols_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(wmDeleteWindow_);
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(x_, window, False, NoEventMask, &event);
    XFlush(x_);
  }

  static void Reap(pid_t pid, Clock::time_point deadline, int& status, rusage& usage) {
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
      if (Clock::now() >= deadline) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        return;
      }
      usleep(500);
    }
  }

  Display* x_ = nullptr;
  bool overrideRedirect_ = false;
  Atom wmProtocols_ = None, wmDeleteWindow_ = None, netWmPid_ = None;
  std::vector<std::string> environment_;
  int lastWidth_ = 0, lastHeight_ = 0;
  Clock::time_point mappedAt_;
};

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Min(const std::vector<double>& values) {
  return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

// The ratio of the medians, and whether it meets `target` where there is one.
void PrintRatio(const char* what, const std::vector<double>& dosat, const std::vector<double>& floor,
                std::optional<double> target) {
  if (dosat.empty() || floor.empty()) {
    std::printf("    %-22s   n/a\n", what);
    return;
  }
  const double ratio = Median(dosat) / Median(floor);
  std::printf("    %-22s %5.2fx", what, ratio);
  if (target) std::printf("   (target <= %.2fx: %s)", *target, ratio <= *target ? "met" : "missed");
  std::printf("\n");
}

// dosat and the programs it is measured against, from one build.
struct Build {
  std::string title;
  std::string wineDir;  // empty for the Linux build
  std::vector<Program> programs;  // dosat first, then its floors
};

// A Windows build folder: its dosat.exe and both floors, under its own wine.
Build WindowsBuild(const std::string& dir) {
  std::ifstream archFile(dir + "/wine/arch");
  std::string arch;
  archFile >> arch;
  if (arch != "win32" && arch != "win64") throw std::runtime_error("no wine/arch in " + dir + ": configure it first");
  Build build{(arch == "win32" ? "32-bit, " : "64-bit, ") + dir, dir + "/wine", {}};
  build.programs.emplace_back("dosat", dir + "/ui/dosat.exe");
  build.programs.emplace_back("empty window", dir + "/bench/win32/empty_window.exe");
  build.programs.emplace_back("13 controls", dir + "/bench/win32/controls_window.exe");
  return build;
}

void PrintBuild(const Build& build, bool wine) {
  std::printf("%s\n", build.title.c_str());
  std::printf("  %-14s %9s  %12s  %10s  %15s  %10s", "program", "window", "map median", "map min",
              "peak RSS median", "CPU median");
  std::printf(wine ? "  %9s\n" : "\n", "bytes");
  for (const Program& p : build.programs) {
    const std::string size = std::to_string(p.width) + "x" + std::to_string(p.height);
    std::printf("  %-14s %9s  %9.1f ms  %7.1f ms  %11.1f MiB  %7.1f ms", p.label.c_str(), size.c_str(),
                Median(p.mapMs), Min(p.mapMs), Median(p.peakMiB), Median(p.cpuMs));
    if (wine) std::printf("  %9ju", std::uintmax_t(std::filesystem::file_size(p.path)));
    std::printf("\n");
  }
  const Program& dosat = build.programs.front();
  if (wine) {
    const double mb = std::filesystem::file_size(dosat.path) / 1e6;
    std::printf("  dosat.exe %.2f MB  (target <= 1.50 MB: %s)\n", mb, mb <= 1.5 ? "met" : "missed");
  }
  for (std::size_t i = 1; i < build.programs.size(); ++i) {
    const Program& floor = build.programs[i];
    std::printf("  dosat / %s\n", floor.label.c_str());
    // The marks are set against the empty window. dosat.exe is held to a tighter one than
    // the Qt program: a Win32 window brings no toolkit of its own to load.
    const bool marked = i == 1;
    PrintRatio("time to map (median)", dosat.mapMs, floor.mapMs,
               marked ? std::optional(wine ? 1.20 : 1.30) : std::nullopt);
    PrintRatio("peak RSS (median)", dosat.peakMiB, floor.peakMiB, marked ? std::optional(1.25) : std::nullopt);
  }
}

int Run(int argc, char** argv) {
  std::string display;
  std::vector<std::string> wineBuilds, args;
  for (int i = 1; i < argc; ++i) {
    if (!std::strncmp(argv[i], "--display=", 10)) {
      display = argv[i] + 10;
    } else if (!std::strncmp(argv[i], "--wine=", 7)) {
      std::istringstream list(argv[i] + 7);
      for (std::string dir; std::getline(list, dir, ',');) {
        if (!dir.empty()) wineBuilds.push_back(dir);
      }
    } else {
      args.emplace_back(argv[i]);
    }
  }
  const bool wine = !wineBuilds.empty();
  const int rounds = args.size() > 0 ? std::atoi(args[0].c_str()) : 20;
  if (rounds < 1 || args.size() == 2 || args.size() > 3 || (wine && args.size() > 1)) {
    std::fprintf(stderr,
                 "usage: bench_startup [--display=:N] [rounds [dosat empty_window]]\n"
                 "       bench_startup --wine=BUILD[,BUILD...] [--display=:N] [rounds]\n");
    return 2;
  }

  std::vector<Build> builds;
  if (wine) {
    for (const std::string& dir : wineBuilds) builds.push_back(WindowsBuild(dir));
  } else {
    builds.push_back({"Linux", "", {}});
    builds.back().programs.emplace_back("dosat", args.size() == 3 ? args[1] : DOSAT_PATH);
    builds.back().programs.emplace_back("empty window", args.size() == 3 ? args[2] : EMPTY_WINDOW_PATH);
  }

  std::optional<Xvfb> xvfb;
  if (display.empty()) display = xvfb.emplace().display();
  std::list<WineSession> sessions;  // not movable: each stays where it was made
  for (Build& build : builds) {
    if (build.wineDir.empty()) continue;
    for (Program& p : build.programs) {
      if (!std::filesystem::is_regular_file(p.path)) throw std::runtime_error("no " + p.path);
      p.command = {DOSAT_TOOLS_DIR "/wine-run.sh", "--wine-dir=" + build.wineDir, "--display=" + display, p.path};
    }
    sessions.emplace_back(DOSAT_TOOLS_DIR, build.wineDir);
  }
  Harness harness(display, wine);

  // In turn, so that whatever else the machine does falls on every program alike. The
  // unmeasured rounds fill the page cache and fontconfig's cache first.
  for (int i = 0; i < kWarmUpRounds + rounds; ++i) {
    for (Build& build : builds) {
      for (Program& p : build.programs) harness.Round(p, i >= kWarmUpRounds);
    }
  }

  std::printf("start-up on %s%s, %d rounds each after %d warm-up rounds\n", display.c_str(),
              xvfb ? " (Xvfb)" : "", rounds, kWarmUpRounds);
  bool failed = false;
  for (const Build& build : builds) {
    std::printf("\n");
    PrintBuild(build, wine);
  }
  for (const Build& build : builds) {
    for (const Program& p : build.programs) {
      if (!p.failures) continue;
      std::printf("\n  failed runs of %s (%s): %d", p.label.c_str(), build.title.c_str(), p.failures);
      failed = true;
    }
  }
  if (failed) std::printf("\n");
  return failed ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_startup: %s\n", e.what());
    return 2;
  }
}
