#!/bin/sh
# strip for the package, as Debian's packaging tools run it: the compiler's
# version notes go too, which the installed program has no use for.
exec strip --remove-section=.comment --remove-section=.note "$@"
