#pragma once

#include "tray/area/MenuLookup.h"

#include <QPoint>

#include <cstdint>
#include <memory>

class QWidget;

namespace vostrel {

// The first popup of a menu resource, loaded for the length of one use.
class PopupMenu {
public:
    // The popup of menu id, or none if the menu or its popup is missing.
    static std::unique_ptr<PopupMenu> Load(const MenuLookup& lookup, unsigned id);

    // Marks an entry, given by position or by command id, as the default.
    void SetDefaultItem(unsigned entry, bool byPosition);
    // The command id of the entry at a position; 0xFFFFFFFF for none.
    unsigned ItemId(unsigned position) const;
    // Shows the popup with its top-left corner at a screen point until it
    // closes; the chosen entry's command, or 0.
    unsigned Track(QPoint at, QWidget* owner) const;

private:
    explicit PopupMenu(const res::MenuTemplate& menu) : m_menu(menu) {}

    const res::MenuTemplate& m_menu;
    int m_defaultPosition = -1;
};

} // namespace vostrel
