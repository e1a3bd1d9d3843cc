#!/bin/bash
# Runs `earthwork convert` as a user would: exit codes, messages, bytes.
# Usage: convert_test.sh EARTHWORK DATA_DIR EXAMPLES_DIR
set -u
program=$1
data=$2
examples=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # name, then a command that succeeds when the check holds
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name" >&2
  fi
}

# convert ARGS...: runs the program, keeping exit code and stderr.
convert() {
  "$program" convert "$@" >"$work/stdout" 2>"$work/stderr"
  status=$?
}

said() { grep -qF -- "$1" "$work/stderr"; }

# Reading and writing: a saved file is written as the program saves it.
convert "$data/worked_example.ear" --out "$work/a.ear"
check "worked example converts" test "$status" -eq 0
check "worked example bytes" cmp -s "$work/a.ear" "$data/worked_example_saved.ear"
check "nothing said on success" test ! -s "$work/stderr"

convert --out "$work/b.ear" "$data/v971.ear"
check "older version converts" test "$status" -eq 0
check "older version bytes" cmp -s "$work/b.ear" "$data/v971_saved.ear"

# A converted file converts to itself; OUT may exist and is replaced, but
# never when it is the input itself.
check "demo exists" test -s "$examples/demo.ear"
cp "$examples/demo.ear" "$work/demo.ear"
convert "$work/demo.ear" --out "$work/copy.ear"
check "demo converts" test "$status" -eq 0
check "demo is a fixed point" cmp -s "$work/copy.ear" "$examples/demo.ear"
convert "$work/demo.ear" --out "$work/demo.ear"
check "onto itself: refused" test "$status" -eq 1
check "onto itself: says why" said "--out names the input file $work/demo.ear"
check "onto itself: input kept" cmp -s "$work/demo.ear" "$examples/demo.ear"

# Refusals: exit 1, a message, and no output file.
refused() {  # name, expected message, arguments...
  local name=$1 message=$2
  shift 2
  rm -f "$work/out.ear"
  convert "$@"
  check "$name: exit 1" test "$status" -eq 1
  check "$name: says why" said "$message"
  check "$name: writes nothing" test ! -e "$work/out.ear"
}
refused "no arguments" "no input file"
refused "no output" "no output file" "$data/worked_example.ear"
refused "--out without name" "--out needs a file name" "$data/worked_example.ear" --out
refused "unknown option" "unknown option --fast" "$data/worked_example.ear" --fast --out "$work/out.ear"
refused "two inputs" "more than one input file" "$data/worked_example.ear" "$data/v971.ear" --out "$work/out.ear"
refused "missing input" "File not found: $work/none.ear" "$work/none.ear" --out "$work/out.ear"
refused "folder input" "Is a folder, not a file: $work" "$work" --out "$work/out.ear"
printf 'not an earthwork file\r\n' >"$work/text.ear"
refused "incompatible input" "FILE IS NOT COMPATIBLE WITH PRESENT VERSION OF THE PROGRAM." "$work/text.ear" --out "$work/out.ear"
printf '[VERSION 2002]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 A]\r\n#S\r\n12+34.500 BK 10.00\r\n[LAST RECORD]\r\n' >"$work/short.ear"
refused "input with errors" "Row line has fewer than 6 fields" "$work/short.ear" --out "$work/out.ear"
printf '[VERSION 2002]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 A]\r\n#S\r\n10+00 - 1 0 2 0\r\n11+00 - 1.#INF 0 2 0\r\n12+00 - 1 0 2 0\r\n[LAST RECORD]\r\n' >"$work/hash.ear"
refused "row line with #" 'line 9 "11+00 - 1.#INF 0 2 0": it holds "#" but does not begin with it.' "$work/hash.ear" --out "$work/out.ear"
{
  printf '[VERSION 2002]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 A]\r\n#S\r\n'
  for ((r = 0; r < 1801; r++)); do printf '%d+00 - 0 0 0 0\r\n' "$r"; done
} >"$work/big.ear"
refused "too many rows" "holds 1801 rows; a group holds at most 1800 rows" "$work/big.ear" --out "$work/out.ear"
refused "output folder missing" "Cannot save $work/no/out.ear" "$data/worked_example.ear" --out "$work/no/out.ear"

# A failed save leaves an existing output as it was.
mkdir "$work/folder.ear"
convert "$data/worked_example.ear" --out "$work/folder.ear"
check "output is a folder: exit 1" test "$status" -eq 1
check "output is a folder: says why" said "Cannot save $work/folder.ear: Is a directory"
check "no temporary file left" test -z "$(ls -A "$work" | grep tmp)"

echo "$passed passed, $failed failed"
test "$failed" -eq 0
