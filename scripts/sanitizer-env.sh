# The sanitizers' options for the tests and fuzz targets in build-asan: every report fails
# the run, leaks included; the suppressions (tests/sanitizers/) cover system libraries only.
# Sourced by scripts/sanitize.sh and scripts/fuzz.sh.
supp="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/tests/sanitizers"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:suppressions=$supp/ubsan.supp"
unset supp
