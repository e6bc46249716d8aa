# Sourced by the scripts: the one place that says where the builds and the Wine prefix live,
# which Wine build runs on this machine, and how Wine is started for this project.
RUVELTO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
RUVELTO_BUILD=${RUVELTO_BUILD:-$RUVELTO_ROOT/build}

# Whether this machine runs 32-bit programs. Some kernels boot with their 32-bit emulation off;
# there every i386 program fails with "Exec format error", Wine's 32-bit loader and server
# included. The answer comes from starting a tiny static i386 program that only exits (ELF
# header, one program header, and xor eax,eax / inc eax / xor ebx,ebx / int 0x80) and is
# remembered per boot, since the kernel decides it at boot. An i386 program that runs only
# through a binfmt_misc emulator (qemu-user) does not count: Wine does not run that way.
ruvelto_probe_32() {
  local probe status=1 entry
  probe=$(mktemp "$RUVELTO_BUILD/.probe-i386.XXXXXX") || return 1
  printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\10\64\0\0\0\0\0\0\0\0\0\0\0\64\0\40\0\1\0\0\0\0\0\0\0' >"$probe"
  printf '\1\0\0\0\0\0\0\0\0\200\4\10\0\200\4\10\133\0\0\0\133\0\0\0\5\0\0\0\0\20\0\0' >>"$probe"
  printf '\61\300\100\61\333\315\200' >>"$probe"
  chmod +x "$probe"
  if "$probe" </dev/null >/dev/null 2>&1; then
    status=0
    for entry in /proc/sys/fs/binfmt_misc/*; do
      [ -f "$entry" ] && grep -qx enabled "$entry" 2>/dev/null || continue
      if grep -qE '^magic 7f454c4601.{26}0[36]00' "$entry"; then status=1; fi
    done
  fi
  rm -f "$probe"
  return $status
}
if [ -z "${RUVELTO_CAN_RUN_32:-}" ]; then
  mkdir -p "$RUVELTO_BUILD"
  ruvelto_boot=$(cat /proc/sys/kernel/random/boot_id 2>/dev/null || echo unknown)
  ruvelto_cache=$RUVELTO_BUILD/can-run-32
  if [ -f "$ruvelto_cache" ] && [ "$(cut -d' ' -f1 "$ruvelto_cache")" = "$ruvelto_boot" ]; then
    RUVELTO_CAN_RUN_32=$(cut -d' ' -f2 "$ruvelto_cache")
  else
    RUVELTO_CAN_RUN_32=0
    if ruvelto_probe_32; then RUVELTO_CAN_RUN_32=1; fi
    echo "$ruvelto_boot $RUVELTO_CAN_RUN_32" >"$ruvelto_cache.$$" && mv -f "$ruvelto_cache.$$" "$ruvelto_cache"
  fi
  unset ruvelto_boot ruvelto_cache
fi
export RUVELTO_CAN_RUN_32

# The Wine build that runs and is tested here, its prefix and its loader: the 32-bit one where the
# machine runs 32-bit programs, else the 64-bit one; the other is compiled only. Setting
# RUVELTO_WINE_CONFIG (wine or wine64) beforehand chooses, for example to run the 64-bit build
# on a machine that runs both; CTest's runners get it from the build they test. The loader is
# named by its full path: /usr/bin/wine picks the 32-bit loader whenever one is installed, even
# where it cannot run.
if [ -z "${RUVELTO_WINE_CONFIG:-}" ]; then
  RUVELTO_WINE_CONFIG=wine64
  if [ "$RUVELTO_CAN_RUN_32" = 1 ]; then RUVELTO_WINE_CONFIG=wine; fi
fi
export RUVELTO_WINE_CONFIG
if [ "$RUVELTO_WINE_CONFIG" = wine ]; then
  if [ "$RUVELTO_CAN_RUN_32" != 1 ]; then
    echo "env.sh: this machine cannot run 32-bit programs, so build/wine cannot run here" >&2
  fi
  export WINEPREFIX=$RUVELTO_BUILD/wineprefix
  export WINEARCH=win32
  export RUVELTO_WINE=/usr/lib/wine/wine
else
  export WINEPREFIX=$RUVELTO_BUILD/wineprefix64
  export WINEARCH=win64
  export RUVELTO_WINE=/usr/lib/wine/wine64
fi
export RUVELTO_WINE_BUILD=$RUVELTO_BUILD/$RUVELTO_WINE_CONFIG
# Wine starts further Wine processes (CreateProcess of a winelib program) with this loader.
export WINELOADER=$RUVELTO_WINE
# `wine` in the scripts, CTest's test runners and a shell that sourced this file is that loader.
case ":$PATH:" in
  *":$RUVELTO_ROOT/scripts/bin:"*) ;;
  *) export PATH=$RUVELTO_ROOT/scripts/bin:$PATH ;;
esac

export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LC_ALL=zh_CN.UTF-8
export LANG=zh_CN.UTF-8

# ccache (when the build folder was configured with it, see scripts/build) keys its cache, which
# lives outside the build folders, by the sources relative to this checkout, so that a fresh
# clone or another worktree of the same sources compiles only what differs. Debug information
# then names the folder of whichever checkout compiled a file first.
export CCACHE_BASEDIR=$RUVELTO_ROOT CCACHE_NOHASHDIR=1
