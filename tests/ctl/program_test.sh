#!/usr/bin/env bash
# vq8231ctl end to end on the simulated board: answers and exit statuses of
# one-shot commands and scripts, standard input, the library and firmware it
# finds or is given, and the board session's failures.
#   program_test.sh BIN_DIR   (BIN_DIR holds vq8231ctl, the simulated library and VQ8231.hex)
set -uo pipefail
bin=$1
ctl=$bin/vq8231ctl
library=$bin/KVL_CYUSB_USB4.so
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# matches FILE PATTERN: the whole file matches; '.' takes line ends too.
matches() {
  if [ -z "$2" ]; then
    [ ! -s "$1" ]
  else
    grep -Pzq "(?s)\\A$2\\z" "$1"
  fi
}

# run EXPECTED_STATUS STDOUT_PATTERN STDERR_PATTERN COMMAND...: the patterns
# are Perl regular expressions the whole output must match ('' = empty).
run() {
  local status=$1 out=$2 err=$3
  shift 3
  "$@" >"$scratch/out" 2>"$scratch/err" <"${STDIN:-/dev/null}"
  local got=$?
  local what="$*"
  if [ "$got" -ne "$status" ]; then
    echo "FAIL: $what: exit status $got, expected $status"; failures=$((failures + 1))
  fi
  if ! matches "$scratch/out" "$out"; then
    echo "FAIL: $what: standard output"; sed 's/^/  | /' "$scratch/out"; failures=$((failures + 1))
  fi
  if ! matches "$scratch/err" "$err"; then
    echo "FAIL: $what: standard error"; sed 's/^/  | /' "$scratch/err"; failures=$((failures + 1))
  fi
}

idn='VQ8231 Evaluation Software,VQ8231,1,[0-9.]+\n'

# One-shot: answers in order, errors at the end on standard error.
run 0 "${idn}1\n0,\"No error\"\n" '' "$ctl" '*IDN?' '*OPC?' 'SYST:ERR?'
run 1 "${idn}" '-113,"Undefined header;NO:SUCH"\n-108,"Parameter not allowed;1"\n' \
  "$ctl" 'NO:SUCH' '*IDN?' 'SYST:ERR:COUN? 1'
run 1 '-113,"Undefined header;NO:SUCH"\n' '' "$ctl" 'NO:SUCH' 'SYST:ERR?'

# Scripts: comments, blank lines, CR LF; the first error stops them.
printf '# identity first\n*IDN?   # who\n\r\n*OPC?\r\nNO:SUCH\n*OPC?\n' >"$scratch/run.scpi"
run 1 "${idn}1\n" "$scratch/run.scpi:5: -113,\"Undefined header;NO:SUCH\"\n" "$ctl" -f "$scratch/run.scpi"
run 1 "${idn}1\n1\n" "$scratch/run.scpi:5: -113,\"Undefined header;NO:SUCH\"\n" \
  "$ctl" --keep-going -f "$scratch/run.scpi"
STDIN=$scratch/run.scpi run 1 "${idn}1\n" '<stdin>:5: -113,"Undefined header;NO:SUCH"\n' "$ctl" -f -
printf '*OPC?\n\n# the last line needs no line end\n*OPC?' >"$scratch/fine.scpi"
run 0 '1\n1\n' '' "$ctl" -f "$scratch/fine.scpi"
run 2 '' 'vq8231ctl: cannot open the script [^\n]*missing.scpi\n' "$ctl" -f "$scratch/missing.scpi"

# The library beside the program, or the one --library names; the firmware
# beside the program.
mkdir "$scratch/alone" "$scratch/nofirmware"
cp "$ctl" "$bin/VQ8231.hex" "$scratch/alone/"
run 2 '' 'vq8231ctl: cannot use the board library: [^\n]*KVL_CYUSB_USB4[^\n]*\n' "$scratch/alone/vq8231ctl" '*OPC?'
run 0 '1\n' '' "$scratch/alone/vq8231ctl" --library "$library" '*OPC?'
run 2 '' 'vq8231ctl: cannot use the board library: [^\n]*nowhere\.so[^\n]*\n' "$ctl" --library "$scratch/nowhere.so" '*OPC?'
run 2 '' 'vq8231ctl: cannot use the board library: [^\n]*Search_For_Boards[^\n]*\n' \
  "$ctl" --library "$bin/libUSBFunctions.so" '*OPC?'

# A failed download is the session's failure; --attach does without one.
cp "$ctl" "$library" "$scratch/nofirmware/"
run 2 '' 'vq8231ctl: VQ8231.hex is missing beside the program or cannot be read\n' "$scratch/nofirmware/vq8231ctl" '*OPC?'
run 0 "${idn}" '' "$scratch/nofirmware/vq8231ctl" --attach '*IDN?'

# --log: every call as Board Activity saves it, the session's included; then
# the function register's read (its two frames), and nothing else.
run 0 '1\n' '' "$ctl" --log "$scratch/calls.csv" '*OPC?'
if ! matches "$scratch/calls.csv" 'time_us,code,request,[^\n]*\r\n[^\n]*,search,[^\n]*\r\n[^\n]*,connect,[^\n]*\r\n[^\n]*,firmware download,[^\n]*firmware running"?\r\n([^\n]*,0xDD,write or read frame,0x81,0x0000,[^\n]*\r\n){2}'; then
  echo "FAIL: --log wrote:"; sed 's/^/  | /' "$scratch/calls.csv"; failures=$((failures + 1))
fi
run 2 '' 'vq8231ctl: cannot write the call log [^\n]*\n' "$ctl" --log "$scratch/no/such/dir/calls.csv" '*OPC?'

# A voltage for DAC B: after the start's function register read, exactly the
# window's voltage entry (DAC B's range read, then the write with the pulse).
run 0 '' '' "$ctl" --log "$scratch/volts.csv" 'SOUR2:VOLT 1'
if ! matches "$scratch/volts.csv" '([^\n]*\r\n){4}([^\n]*,0xDD,write or read frame,0x81,0x0000,[^\n]*\r\n){2}([^\n]*,0xDD,write or read frame,0x99,0x0000,[^\n]*\r\n){2}[^\n]*,0xD9,write and pulse LDAC,0x11,0x9F40,[^\n]*\r\n'; then
  echo "FAIL: SOUR2:VOLT 1 sent:"; sed 's/^/  | /' "$scratch/volts.csv"; failures=$((failures + 1))
fi

# Options that do not go together, or nothing to do.
run 2 '' 'vq8231ctl: nothing to do[^\n]*\n' "$ctl"
run 2 '' 'vq8231ctl: give command lines, -f SCRIPT or --serve, only one of them\n' "$ctl" -f - '*OPC?'
run 2 '' 'vq8231ctl: --keep-going goes with -f SCRIPT\n' "$ctl" --keep-going '*OPC?'
run 2 '' 'vq8231ctl: --serve 70000: [^\n]*\n' "$ctl" --serve 70000
run 2 '' 'vq8231ctl: [^\n]*--nonsense[^\n]*\n' "$ctl" --nonsense
run 0 'Runs SCPI commands.*--attach.*resets the board.*' '' "$ctl" --help

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "vq8231ctl: every check passed"
