#include "ClipboardOwner.h"

#include <xcb/xcb.h>

#include <poll.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace ClipboardOwner {

namespace {
struct Disconnect
{
    void operator()(xcb_connection_t *connection) const { xcb_disconnect(connection); }
};
struct Free
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using Owned = std::unique_ptr<Reply, Free>;

xcb_atom_t atom(xcb_connection_t *connection, const char *name)
{
    const Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}
} // namespace

Answer ask(std::chrono::milliseconds timeout)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + timeout;
    int screenNumber = 0;
    const std::unique_ptr<xcb_connection_t, Disconnect> connection(
        xcb_connect(nullptr, &screenNumber));
    xcb_connection_t *c = connection.get();
    if (xcb_connection_has_error(c) != 0)
        return Answer::CannotAsk;
    const xcb_atom_t clipboard = atom(c, "CLIPBOARD");
    const xcb_atom_t targets = atom(c, "TARGETS");
    const xcb_atom_t property = atom(c, "TARNWELL_CLIPBOARD_TARGETS");
    if (clipboard == XCB_ATOM_NONE || targets == XCB_ATOM_NONE || property == XCB_ATOM_NONE)
        return Answer::CannotAsk;
    const Owned<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr));
    if (!owner)
        return Answer::CannotAsk;
    if (owner->owner == XCB_WINDOW_NONE)
        return Answer::NoOwner;

    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int skip = 0; skip < screenNumber && screens.rem > 0; ++skip)
        xcb_screen_next(&screens);
    if (screens.rem == 0)
        return Answer::CannotAsk;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_convert_selection(c, window, clipboard, targets, property, XCB_CURRENT_TIME);
    xcb_flush(c);
    for (;;) {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            const bool notified = (event->response_type & ~0x80) == XCB_SELECTION_NOTIFY;
            std::free(event);
            if (notified)
                return Answer::Answered;
        }
        if (xcb_connection_has_error(c) != 0)
            return Answer::CannotAsk;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return Answer::NoAnswer;
        pollfd readable{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&readable, 1, int(left.count()));
    }
}

} // namespace ClipboardOwner
