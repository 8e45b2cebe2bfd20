#pragma once

#include <string>

namespace vostrel {

// The help message: what the program does and the forms it reads.
std::string HelpText();

} // namespace vostrel
