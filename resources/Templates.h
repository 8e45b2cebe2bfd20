#pragma once

#include <cstdint>
#include <span>
#include <string_view>

// The program's user-interface resources as data: dialog templates, the tray
// menu, the string table and the version block, each found by its number.
namespace vostrel::res {

// Style bits the templates use, by what they mean.
namespace style {
constexpr std::uint32_t popup = 0x80000000;
constexpr std::uint32_t child = 0x40000000;
constexpr std::uint32_t visible = 0x10000000;
constexpr std::uint32_t caption = 0x00C00000;
constexpr std::uint32_t border = 0x00800000;
constexpr std::uint32_t systemMenu = 0x00080000;
constexpr std::uint32_t group = 0x00020000;
constexpr std::uint32_t tabStop = 0x00010000;
constexpr std::uint32_t dialogFont = 0x00000040;
constexpr std::uint32_t modalFrame = 0x00000080;

// A button's kind is its low four bits.
constexpr std::uint32_t buttonKindMask = 0xF;
constexpr std::uint32_t defaultPushButton = 0x1;
constexpr std::uint32_t groupBox = 0x7;
constexpr std::uint32_t autoRadioButton = 0x9;

// Static controls: an icon, or text as it stands (no mnemonic); clicks
// reported; image (or single line of text) centred.
constexpr std::uint32_t staticKindMask = 0x1F;
constexpr std::uint32_t iconPicture = 0x3;
constexpr std::uint32_t noPrefix = 0x80;
constexpr std::uint32_t notify = 0x100;
constexpr std::uint32_t centreImage = 0x200;

// Edit boxes that scroll sideways when the text outgrows them.
constexpr std::uint32_t autoHorizontalScroll = 0x80;
} // namespace style

enum class ControlClass { button, edit, staticControl };

// A rectangle in dialog units from the top-left of the client area.
struct DialogRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct ControlTemplate {
    int id;
    ControlClass controlClass;
    std::string_view text;
    int iconId; // icon shown by an icon picture, else 0
    DialogRect rect;
    std::uint32_t style;
};

struct DialogTemplate {
    int id;
    std::uint32_t style;
    DialogRect frame; // origin and client size
    std::string_view title;
    int pointSize;
    std::string_view fontFace;
    std::span<const ControlTemplate> controls;
};

struct MenuItem {
    std::string_view text; // empty for a separator
    int command;           // 0 for a separator
};

struct MenuTemplate {
    int id;
    std::string_view popupTitle;
    std::span<const MenuItem> items;
};

struct VersionString {
    std::string_view key;
    std::string_view value;
};

struct VersionBlock {
    int id;
    std::uint16_t fileVersion[4];
    std::uint16_t productVersion[4];
    std::string_view stringTable; // language and code page, as hex
    std::span<const VersionString> strings;
    std::uint16_t language;
    std::uint16_t codePage;
};

const DialogTemplate* FindDialogTemplate(int id);
const MenuTemplate* FindMenu(int id);
// The string's text; empty when there is no such string.
std::string_view LoadString(int id);
const VersionBlock& GetVersionBlock();
// The value of one key of the version block's string table; empty when none.
std::string_view VersionValue(std::string_view key);

} // namespace vostrel::res
