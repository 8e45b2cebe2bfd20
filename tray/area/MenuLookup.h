#pragma once

#include "resources/Templates.h"

#include <functional>

namespace vostrel {

// How a menu resource is found by its number; none when there is no such menu.
using MenuLookup = std::function<const res::MenuTemplate*(int id)>;

} // namespace vostrel
