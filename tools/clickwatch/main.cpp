// Plays cards in a program on an X display and times, from outside as a
// player sees it, how long each key press takes to reach the screen: from
// the moment the press is handed to the display (XTEST, as a keyboard would)
// to the first drawing that follows it.
//
//   clickwatch [--presses N] [--settle MS] [--gaps FILE] PROGRAM [ARGUMENTS...]
//
// The program is started, the drawing is left to settle (nothing drawn for
// the settle time, 1500 ms unless given), then the keys 1, 2, 3, 4, 1, ...
// are pressed one at a time, each after the screen has settled again (the
// computer's answer and the cards' slides drawn). A press that draws nothing
// within the settle time (no card there) is counted as missed. Prints one
// line per press that drew, "<ms>", then "missed <n>" on standard error.
//
// With --gaps FILE, every pause between two drawings while the screen moves
// (shorter than the settle time) is written to FILE, one "<ms>" a line: a
// slide drawn at the screen's pace has pauses of one frame, and a frame
// that came late shows as a longer one.
//
// Meant for a display of its own (scripts/measure-click.sh starts a private
// Xvfb): every drawing on it is taken as the program's. The keys are those
// of Xvfb's default keyboard map (keycodes 10 to 13 for 1 to 4).
#include <poll.h>
#include <signal.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

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
  std::fprintf(stderr, "clickwatch: %s\n", why.c_str());
  std::exit(2);
}

struct Display {
  xcb_connection_t* x = nullptr;
  xcb_window_t root = 0;
  uint8_t damageNotify = 0;
  uint8_t xtest = 0;  // the XTEST extension's request code
};

Display Open() {
  Display d;
  d.x = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(d.x)) Fail("cannot open the display");
  d.root = xcb_setup_roots_iterator(xcb_get_setup(d.x)).data->root;
  const xcb_query_extension_reply_t* damage = xcb_get_extension_data(d.x, &xcb_damage_id);
  if (!damage || !damage->present) Fail("the display has no DAMAGE extension");
  free(xcb_damage_query_version_reply(d.x, xcb_damage_query_version(d.x, 1, 1), nullptr));
  xcb_damage_create(d.x, xcb_generate_id(d.x), d.root, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
  d.damageNotify = damage->first_event + XCB_DAMAGE_NOTIFY;
  const char name[] = "XTEST";
  std::unique_ptr<xcb_query_extension_reply_t, decltype(&std::free)> xtest(
      xcb_query_extension_reply(d.x, xcb_query_extension(d.x, sizeof name - 1, name), nullptr),
      &std::free);
  if (!xtest || !xtest->present) Fail("the display has no XTEST extension");
  d.xtest = xtest->major_opcode;
  return d;
}

// XTEST's FakeInput request, written out (the XTEST library's header is not
// needed for one request of 36 bytes).
void FakeKey(const Display& d, uint8_t type, uint8_t keycode) {
  uint8_t request[36] = {};
  request[0] = d.xtest;
  request[1] = 2;  // FakeInput
  request[2] = 9;  // length in four-byte units
  request[4] = type;
  request[5] = keycode;
  std::memcpy(&request[12], &d.root, 4);
  request[35] = 0;  // no device: the core keyboard
  iovec parts[3] = {{}, {}, {request, sizeof request}};
  xcb_protocol_request_t how = {1, nullptr, 0, 0};
  xcb_send_request(d.x, XCB_REQUEST_RAW, parts + 2, &how);
}

// Waits until nothing has been drawn for `idleMs`, or `untilMs` have passed.
// Returns when the first drawing came, if one did.
std::optional<Clock::time_point> Watch(const Display& d, int idleMs, int untilMs, pid_t child,
                                       std::FILE* gaps = nullptr) {
  Clock::time_point start = Clock::now();
  std::optional<Clock::time_point> first;
  Clock::time_point last = start;
  pollfd display{xcb_get_file_descriptor(d.x), POLLIN, 0};
  for (;;) {
    Clock::time_point now = Clock::now();
    if (MillisecondsSince(last, now) >= idleMs || MillisecondsSince(start, now) >= untilMs) break;
    poll(&display, 1, 5);
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) Fail("the program ended on its own");
    while (xcb_generic_event_t* event = xcb_poll_for_event(d.x)) {
      if ((event->response_type & 0x7f) == d.damageNotify) {
        Clock::time_point drawn = Clock::now();
        // A frame's rectangles come together; only the pause before the
        // next frame counts.
        double gap = MillisecondsSince(last, drawn);
        if (gaps && first && gap >= 1.0) std::fprintf(gaps, "%.3f\n", gap);
        last = drawn;
        if (!first) first = last;
      }
      free(event);
    }
    if (xcb_connection_has_error(d.x)) Fail("the display went away");
  }
  return first;
}

}  // namespace

int main(int argc, char** argv) {
  int presses = 20, settleMs = 1500, i = 1;
  std::FILE* gaps = nullptr;
  for (; i + 1 < argc && std::strncmp(argv[i], "--", 2) == 0; i += 2) {
    int value = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--gaps") == 0) {
      gaps = std::fopen(argv[i + 1], "a");
      if (!gaps) Fail(std::string("cannot write ") + argv[i + 1]);
    } else if (std::strcmp(argv[i], "--presses") == 0 && value > 0) {
      presses = value;
    } else if (std::strcmp(argv[i], "--settle") == 0 && value > 0) {
      settleMs = value;
    } else {
      Fail(std::string("bad option ") + argv[i]);
    }
  }
  if (i >= argc) {
    Fail("usage: clickwatch [--presses N] [--settle MS] [--gaps FILE] PROGRAM [ARGUMENTS...]");
  }
  Display d = Open();
  pid_t child = fork();
  if (child < 0) Fail("cannot start a program");
  if (child == 0) {
    execvp(argv[i], argv + i);
    _exit(127);
  }
  if (!Watch(d, settleMs, 30000, child)) Fail("the program drew nothing");
  int missed = 0;
  for (int n = 0; n < presses; ++n) {
    uint8_t keycode = static_cast<uint8_t>(10 + n % 4);
    FakeKey(d, XCB_KEY_PRESS, keycode);
    FakeKey(d, XCB_KEY_RELEASE, keycode);
    Clock::time_point pressed = Clock::now();
    xcb_flush(d.x);
    auto drawn = Watch(d, settleMs, 10000, child, gaps);
    if (drawn) {
      std::printf("%.3f\n", MillisecondsSince(pressed, *drawn));
      std::fflush(stdout);  // each figure kept, however the run ends
    } else {
      ++missed;
    }
  }
  std::fprintf(stderr, "missed %d\n", missed);
  if (gaps) std::fclose(gaps);
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  xcb_disconnect(d.x);
  return 0;
}
