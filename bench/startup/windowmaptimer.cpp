// Starts a program and prints, in milliseconds, how long it took until its
// first top-level window was mapped on the X display, then ends the
// program (SIGTERM) and waits for it. Run under a display without a
// window manager (xvfb-run), where a map request is granted at once.
// usage: ferrox_window_map_timer PROGRAM [ARGUMENT...]
// Exit status: 0 measured, 1 no map within 20 s or no display, 2 usage.
#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ferrox_window_map_timer PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    int screenNumber = 0;
    xcb_connection_t *display = xcb_connect(nullptr, &screenNumber);
    // A display server that has just started may refuse the first few.
    for (int attempt = 0; attempt < 20 && xcb_connection_has_error(display); ++attempt) {
        xcb_disconnect(display);
        usleep(50000);
        display = xcb_connect(nullptr, &screenNumber);
    }
    if (xcb_connection_has_error(display)) {
        std::fprintf(stderr, "ferrox_window_map_timer: no X display\n");
        return 1;
    }
    // Every window made a child of the root (a top-level one) is reported
    // as it is mapped.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(display)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_request_check(display, xcb_change_window_attributes_checked(display, root, XCB_CW_EVENT_MASK, &mask));

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    double mappedMs = -1;
    pollfd events{xcb_get_file_descriptor(display), POLLIN, 0};
    while (mappedMs < 0) {
        const auto waited = std::chrono::steady_clock::now() - start;
        const int left = 20000 - int(std::chrono::duration_cast<std::chrono::milliseconds>(waited).count());
        if (left <= 0 || poll(&events, 1, left) <= 0)
            break;
        while (xcb_generic_event_t *event = xcb_poll_for_event(display)) {
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY && mappedMs < 0) {
                // Menus and tool tips are override-redirect: not a window of its own.
                if (!reinterpret_cast<xcb_map_notify_event_t *>(event)->override_redirect)
                    mappedMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            }
            std::free(event);
        }
        if (xcb_connection_has_error(display))
            break;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(display);
    if (mappedMs < 0) {
        std::fprintf(stderr, "ferrox_window_map_timer: %s mapped no window\n", argv[1]);
        return 1;
    }
    std::printf("%.2f\n", mappedMs);
    return 0;
}
