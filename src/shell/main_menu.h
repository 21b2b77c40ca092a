#pragma once
// The menu tree of the main window as data: names, captions, nesting and
// which items start hidden.
#include <vector>

namespace qx {

struct MenuItemSpec {
    const char *name;
    const char *caption;   // UTF-8
    const char *parent;    // submenu name, nullptr for the menu bar
    bool submenu;
    bool hidden;
    bool fluke;            // shown only when the definition has a #FLUKE section
};

const std::vector<MenuItemSpec> &MainMenuItems();

} // namespace qx
