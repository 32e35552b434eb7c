// qi_firstpaint: starts a program and reports, as seen from the X server, how
// long it took from the start of the process to the first drawing into its
// window with a given caption, and the peak resident memory of the process.
//
//   qi_firstpaint [--caption TEXT] [--wait] [--timeout S] -- PROGRAM ARGS...
//
// It watches every top-level window the moment it is created (SubstructureNotify
// on the root window, which needs no window manager) and puts a DAMAGE monitor
// on it; the first damage report on the window with the caption is the first
// paint. Then the program is terminated, unless --wait lets it end by itself.
// Prints one line: first_paint_ms=… maxrss_kb=… status=…
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

double nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    auto *r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(r);
    return a;
}

std::string property(xcb_connection_t *c, xcb_window_t w, xcb_atom_t prop)
{
    auto *r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                     nullptr);
    std::string s;
    if (r) {
        s.assign(static_cast<const char *>(xcb_get_property_value(r)), size_t(xcb_get_property_value_length(r)));
        free(r);
    }
    return s;
}

int usage()
{
    fprintf(stderr, "usage: qi_firstpaint [--caption TEXT] [--wait] [--timeout S] -- PROGRAM ARGS...\n");
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    std::string caption;
    bool waitForExit = false;
    double timeoutMs = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--caption" && i + 1 < argc)
            caption = argv[++i];
        else if (a == "--wait")
            waitForExit = true;
        else if (a == "--timeout" && i + 1 < argc)
            timeoutMs = atof(argv[++i]) * 1000;
        else if (a == "--") {
            ++i;
            break;
        } else
            return usage();
    }
    if (i >= argc)
        return usage();

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        fprintf(stderr, "qi_firstpaint: cannot open the display\n");
        return 2;
    }
    const xcb_query_extension_reply_t *ext = xcb_get_extension_data(c, &xcb_damage_id);
    if (!ext || !ext->present) {
        fprintf(stderr, "qi_firstpaint: the X server has no DAMAGE extension\n");
        return 2;
    }
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    const xcb_atom_t netWmName = atom(c, "_NET_WM_NAME");
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));   // the mask is in place

    const double start = nowMs();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[i], nullptr, nullptr, argv + i, environ) != 0) {
        perror("qi_firstpaint: spawn");
        return 2;
    }

    // Names are read when a window is mapped: the baseline quits right after
    // its first paint, and its window may be gone by the time we could ask.
    std::map<xcb_window_t, std::string> names;
    const auto nameOf = [&](xcb_window_t w) {
        std::string name = property(c, w, netWmName);
        return name.empty() ? property(c, w, XCB_ATOM_WM_NAME) : name;
    };
    double painted = -1;
    int status = 0;
    const int fd = xcb_get_file_descriptor(c);
    while (painted < 0 && nowMs() - start < timeoutMs) {
        xcb_generic_event_t *e = xcb_poll_for_event(c);
        if (!e) {
            if (xcb_connection_has_error(c))
                break;
            if (waitpid(pid, &status, WNOHANG) == pid) {   // ended before painting
                pid = -pid;
                break;
            }
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(fd, &fds);
            timeval tv{0, 2000};
            select(fd + 1, &fds, nullptr, nullptr, &tv);
            continue;
        }
        const uint8_t type = e->response_type & 0x7f;
        if (type == XCB_CREATE_NOTIFY) {
            auto *ev = reinterpret_cast<xcb_create_notify_event_t *>(e);
            // Input-only windows refuse a monitor; the error is simply ignored.
            xcb_damage_create(c, xcb_generate_id(c), ev->window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
            xcb_flush(c);
        } else if (type == XCB_MAP_NOTIFY) {
            auto *ev = reinterpret_cast<xcb_map_notify_event_t *>(e);
            names[ev->window] = nameOf(ev->window);
        } else if (type == ext->first_event + XCB_DAMAGE_NOTIFY) {
            const double t = nowMs();
            auto *ev = reinterpret_cast<xcb_damage_notify_event_t *>(e);
            const auto known = names.find(ev->drawable);
            const std::string name = known != names.end() ? known->second : nameOf(ev->drawable);
            if (caption.empty() || name == caption)
                painted = t - start;
        }
        free(e);
    }

    rusage usage{};
    if (pid > 0) {
        if (!waitForExit || painted < 0)
            kill(pid, SIGTERM);
        wait4(pid, &status, 0, &usage);
    } else {
        getrusage(RUSAGE_CHILDREN, &usage);
    }
    xcb_disconnect(c);
    printf("first_paint_ms=%.3f maxrss_kb=%ld status=%d\n", painted, usage.ru_maxrss,
           WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    return painted < 0 ? 1 : 0;
}
