/* Types a key combination through KWin's fake-input protocol, as a keyboard would:
 * every key pressed in the order given, then released in reverse. Keys are Linux input
 * codes (29 Left Ctrl, 56 Left Alt, 37 K). KWin must run with
 * KWIN_WAYLAND_NO_PERMISSION_CHECKS=1. Built by scripts/wayland-check.
 *   fake-key CODE... */
#include "fake-input-client.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input *input;

static void global(void *data, struct wl_registry *registry, uint32_t name, const char *interface, uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0)
        input = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, version < 4 ? version : 4);
}

static void global_remove(void *data, struct wl_registry *registry, uint32_t name)
{
    (void)data, (void)registry, (void)name;
}

static const struct wl_registry_listener listener = {global, global_remove};

int main(int argc, char **argv)
{
    struct wl_display *display = wl_display_connect(NULL);
    if (!display) {
        fputs("fake-key: no Wayland display\n", stderr);
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!input || org_kde_kwin_fake_input_get_version(input) < 4) {
        fputs("fake-key: the compositor offers no fake keyboard input\n", stderr);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(input, "wayland-check", "types test keys");
    for (int i = 1; i < argc; ++i) {
        org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)atoi(argv[i]), WL_KEYBOARD_KEY_STATE_PRESSED);
        wl_display_roundtrip(display);
        usleep(30000);
    }
    for (int i = argc - 1; i >= 1; --i) {
        org_kde_kwin_fake_input_keyboard_key(input, (uint32_t)atoi(argv[i]), WL_KEYBOARD_KEY_STATE_RELEASED);
        wl_display_roundtrip(display);
        usleep(30000);
    }
    wl_display_disconnect(display);
    return 0;
}
