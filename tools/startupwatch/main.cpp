// Starts a program on an X display and watches it from outside, as a person
// would see it: when its first window is mapped, when the drawing on the
// screen settles, and how much memory the program has used by then.
//
//   startupwatch [--idle MS] [--timeout MS] PROGRAM [ARGUMENTS...]
//
// Prints one line: "<ms to mapped> <ms to drawn> <peak KiB> <drawings>".
// "Drawn" is the last change to the screen before the screen has stayed
// unchanged for the idle time (1000 ms unless given); the program is then
// ended with SIGTERM and its peak resident memory read as the system
// accounted it. Times count from just before the program is started.
//
// Meant for a display of its own (scripts/measure-startup.sh starts a
// private Xvfb): every window and every drawing on it is taken as the
// program's.
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start, Clock::time_point then) {
  return std::chrono::duration<double, std::milli>(then - start).count();
}

[[noreturn]] void Fail(const std::string& why) {
  std::fprintf(stderr, "startupwatch: %s\n", why.c_str());
  std::exit(2);
}

struct Options {
  int idleMs = 1000;
  int timeoutMs = 20000;
  char** program = nullptr;
};

Options ReadOptions(int argc, char** argv) {
  Options options;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == '-'; i += 2) {
    std::string flag = argv[i];
    int value = std::atoi(argv[i + 1]);
    if (value <= 0) Fail("a positive number of milliseconds must follow " + flag);
    if (flag == "--idle") {
      options.idleMs = value;
    } else if (flag == "--timeout") {
      options.timeoutMs = value;
    } else {
      Fail("unknown option " + flag);
    }
  }
  if (i >= argc) Fail("usage: startupwatch [--idle MS] [--timeout MS] PROGRAM [ARGUMENTS...]");
  options.program = argv + i;
  return options;
}

// Every drawing on the screen is reported: a damage object on the root
// window sees what is drawn in the windows above it too.
uint8_t WatchScreen(xcb_connection_t* x, xcb_window_t root) {
  const xcb_query_extension_reply_t* damage = xcb_get_extension_data(x, &xcb_damage_id);
  if (!damage || !damage->present) Fail("the display has no DAMAGE extension");
  std::unique_ptr<xcb_damage_query_version_reply_t, decltype(&std::free)> version(
      xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr), &std::free);
  if (!version) Fail("the DAMAGE extension did not answer");
  xcb_damage_create(x, xcb_generate_id(x), root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
  uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &events);
  // A round trip: everything is in place before the program starts.
  free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr));
  return damage->first_event + XCB_DAMAGE_NOTIFY;
}

pid_t Start(char** program) {
  pid_t child = fork();
  if (child < 0) Fail("cannot start a program");
  if (child == 0) {
    execvp(program[0], program);
    std::fprintf(stderr, "startupwatch: cannot run %s: %s\n", program[0], std::strerror(errno));
    _exit(127);
  }
  return child;
}

}  // namespace

int main(int argc, char** argv) {
  Options options = ReadOptions(argc, argv);
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(x)) Fail("cannot open the display");
  xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
  uint8_t damageNotify = WatchScreen(x, root);

  Clock::time_point start = Clock::now();
  pid_t child = Start(options.program);

  std::optional<Clock::time_point> mapped;
  std::optional<Clock::time_point> drawn;
  int drawings = 0;
  pollfd display{xcb_get_file_descriptor(x), POLLIN, 0};
  for (;;) {
    Clock::time_point now = Clock::now();
    if (drawn && MillisecondsSince(*drawn, now) >= options.idleMs) break;
    if (MillisecondsSince(start, now) >= options.timeoutMs) {
      kill(child, SIGKILL);
      Fail(mapped ? "the drawing did not settle in time" : "no window was mapped in time");
    }
    int waitMs = drawn ? options.idleMs - static_cast<int>(MillisecondsSince(*drawn, now)) : 50;
    poll(&display, 1, waitMs > 0 ? waitMs : 1);
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) Fail("the program ended on its own");
    while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
      Clock::time_point seen = Clock::now();
      uint8_t type = event->response_type & 0x7f;
      if (type == XCB_MAP_NOTIFY && !mapped) mapped = seen;
      // Drawing before the window is mapped cannot be seen.
      if (type == damageNotify && mapped) {
        drawn = seen;
        ++drawings;
      }
      free(event);
    }
    if (xcb_connection_has_error(x)) Fail("the display went away");
  }

  kill(child, SIGTERM);
  int status = 0;
  rusage usage{};
  if (wait4(child, &status, 0, &usage) != child) Fail("lost the program");
  std::printf("%.2f %.2f %ld %d\n", MillisecondsSince(start, *mapped),
              MillisecondsSince(start, *drawn), usage.ru_maxrss, drawings);
  xcb_disconnect(x);
  return 0;
}
