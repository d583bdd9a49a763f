# Shared by the scripts: which Windows build the tests run, and with which
# Wine loader. Some machines (virtual machines whose kernel has no 32-bit
# support) cannot execute the 32-bit Wine loader at all; there the tests run
# the 64-bit build of the same sources under wine64.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_ROOT=${BUILD_ROOT:-$repo_root/build}

can_run_32bit() { /usr/lib/wine/wine --version >/dev/null 2>&1; }

if can_run_32bit; then
  TEST_TREE=win32
  WINE_LOADER=wine
else
  TEST_TREE=win64
  WINE_LOADER=/usr/lib/wine/wine64
fi
export WINE_LOADER
TEST_BIN=$BUILD_ROOT/$TEST_TREE/bin
