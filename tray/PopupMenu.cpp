#include "tray/PopupMenu.h"

#include "resources/Latin1.h"

#include <QMenu>

namespace vostrel {

std::unique_ptr<PopupMenu> PopupMenu::Load(const MenuLookup& lookup, unsigned id)
{
    const res::MenuTemplate* menu = lookup ? lookup(static_cast<int>(id & 0xFFFF)) : nullptr;
    if (!menu || menu->items.empty())
        return nullptr;
    return std::unique_ptr<PopupMenu>(new PopupMenu(*menu));
}

void PopupMenu::SetDefaultItem(unsigned entry, bool byPosition)
{
    m_defaultPosition = -1;
    for (std::size_t i = 0; i < m_menu.items.size(); ++i) {
        const bool matches = byPosition ? i == entry
                                        : m_menu.items[i].command != 0 &&
                                              static_cast<unsigned>(m_menu.items[i].command) == entry;
        if (matches) {
            m_defaultPosition = static_cast<int>(i);
            return;
        }
    }
}

unsigned PopupMenu::ItemId(unsigned position) const
{
    if (position >= m_menu.items.size())
        return 0xFFFFFFFF;
    return static_cast<unsigned>(m_menu.items[position].command);
}

unsigned PopupMenu::Track(QPoint at, QWidget* owner) const
{
    QMenu menu(owner);
    for (std::size_t i = 0; i < m_menu.items.size(); ++i) {
        const res::MenuItem& item = m_menu.items[i];
        if (item.command == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(FromLatin1(item.text));
        action->setData(item.command);
        if (static_cast<int>(i) == m_defaultPosition)
            menu.setDefaultAction(action); // drawn in bold
    }
    const QAction* chosen = menu.exec(at);
    return chosen ? chosen->data().toUInt() : 0;
}

} // namespace vostrel
