#!/usr/bin/env bash
# Formats the tree's C++ files by the .clang-format files beside them.
# With --check, changes nothing and fails on the first file that differs
# or includes through ../.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
[[ "${1:-}" == "--check" ]] && check=1

command -v clang-format >/dev/null || { echo "clang-format is missing: run scripts/install-deps.sh" >&2; exit 1; }

mapfile -t files < <(git ls-files --cached --others --exclude-standard -- '*.c' '*.cpp' '*.h' | grep -v '^tests/support/third_party/' || true)
[[ ${#files[@]} -eq 0 ]] && exit 0

if (( check )); then
  status=0
  # Includes are rooted at src/ or the test tree's roots, never relative.
  if grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"\.\./' "${files[@]}" >&2; then
    echo "include by the path from the tree's include roots, not ../" >&2
    status=1
  fi
  unformatted=0
  for f in "${files[@]}"; do
    if ! clang-format --style=file "$f" | cmp -s - "$f"; then
      echo "not formatted: $f" >&2
      unformatted=1
    fi
  done
  (( unformatted == 0 )) || echo "run: bash scripts/format.sh" >&2
  (( status == 0 && unformatted == 0 )) || exit 1
  exit 0
fi
printf '%s\0' "${files[@]}" | xargs -0 -P "$(nproc)" -n 20 clang-format --style=file -i
