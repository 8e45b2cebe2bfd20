#pragma once

#include "app/command/RemoteRequest.h"

namespace vostrel {

// Loads the program's window module (beside the executable, or in
// lib/vostrel installed) and runs the program, which carries out the
// request, if any, once started; its exit status, or 1 with a line on stderr when
// the module cannot be loaded.
int RunWindowModule(int argc, char** argv, const std::optional<RemoteRequest>& request);

} // namespace vostrel
