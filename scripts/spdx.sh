#!/bin/sh
# Puts the licence's SPDX line at the top of every source file of the repository that
# lacks it: "// SPDX-License-Identifier: GPL-3.0-or-later" in C++ and JavaScript, the
# "#" form in CMake and shell files (after a "#!" line, which must stay first).
# Running it again changes nothing. Usage: scripts/spdx.sh [repository folder]
set -eu
cd "${1:-$(dirname "$0")/..}"
id="SPDX-License-Identifier: GPL-3.0-or-later"

add() {  # add FILE COMMENT-PREFIX
  file=$1
  line="$2 $id"
  head -n 3 "$file" | grep -q "SPDX-License-Identifier:" && return 0
  tmp="$file.spdx.$$"
  if head -n 1 "$file" | grep -q '^#!'; then
    { head -n 1 "$file"; echo "$line"; tail -n +2 "$file"; } > "$tmp"
  else
    { echo "$line"; cat "$file"; } > "$tmp"
  fi
  chmod --reference="$file" "$tmp"
  mv "$tmp" "$file"
  echo "$file"
}

# Only files git knows: never build folders or a player's files.
git -c core.quotepath=off ls-files -- '*.cpp' '*.h' '*.js' '*.mjs' '*CMakeLists.txt' '*.cmake' '*.sh' '*.py' |
  while IFS= read -r f; do
    case "$f" in
      *.cpp|*.h|*.js|*.mjs) add "$f" "//" ;;
      *) add "$f" "#" ;;
    esac
  done
