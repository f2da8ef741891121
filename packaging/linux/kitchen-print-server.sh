#!/bin/sh
# The packaged program keeps its configuration file and its logs in the user's own folder, since
# the folder of the executable is not the user's to write. A --program-folder given here wins.
folder="${XDG_DATA_HOME:-$HOME/.local/share}/kitchen-print-server"
mkdir -p "$folder"
exec /usr/lib/kitchen-print-server/kitchen-print-server --program-folder "$folder" "$@"
