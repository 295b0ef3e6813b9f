# Shared settings of the build scripts; sourced, not run.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# MOORGLEN_JOBS caps the parallel jobs on a shared machine.
jobs=${MOORGLEN_JOBS:-$(nproc 2>/dev/null || echo 2)}
# Let a fresh clone in another folder reuse the compiler cache.
export CCACHE_BASEDIR="$root"
export CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS=pch_defines,time_macros
